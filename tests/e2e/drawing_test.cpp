// What the user sees on a real X display: the program's boxes draw their
// Japanese texts with a font that has the glyphs (not empty boxes).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/msgbox.h"
#include "error_report_env.h"
#include "robot/robot_gtest.h"

namespace {

// Pixels of a window's client area darker than mid-grey.
int DarkPixels(HWND window)
{
    RECT rc;
    GetClientRect(window, &rc);
    HDC dc = GetDC(window);
    int dark = 0;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) {
            COLORREF p = GetPixel(dc, x, y);
            dark += (GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3 < 0x80;
        }
    ReleaseDC(window, dc);
    return dark;
}

TEST(DrawingE2e, MessageBoxDrawsItsJapaneseText)
{
    int dark[2] = {0, 0};
    bool glyphs = false;
    // A text, then a blank one: only the first may darken pixels.
    const char* texts[2] = {"出納帳セットアップ表示の確認", " "};
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(robot::RunAnsweringBox([&] { ShowMessage(nullptr, texts[i], nullptr, 0); }, {kTestTitle, texts[i], {IDOK}, IDOK},
                                    nullptr, [&](HWND box) {
                                        HWND text = GetDlgItem(box, 0xFFFF);
                                        Sleep(300);  // let the box paint
                                        dark[i] = DarkPixels(text);
                                        // Whether the font has a glyph for every character.
                                        HDC dc = GetDC(text);
                                        HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(text, WM_GETFONT, 0, 0));
                                        WORD indices[9];
                                        GetGlyphIndicesW(dc, L"出納帳セットアップ", 9, indices, GGI_MARK_NONEXISTING_GLYPHS);
                                        glyphs = glyphs || std::find(indices, indices + 9, 0xFFFF) == indices + 9;
                                        SelectObject(dc, old);
                                        ReleaseDC(text, dc);
                                    }));
    EXPECT_TRUE(glyphs) << "the box's font lacks Japanese glyphs";
    EXPECT_GT(dark[0], 100) << "no text drawn";
    EXPECT_EQ(0, dark[1]) << "dark pixels without any text";
}

}  // namespace
