// What the user sees on a real X display: the program's boxes draw their
// Japanese texts with a font that has the glyphs (not empty boxes).
#include <windows.h>

#include <gtest/gtest.h>

#include "base/msgbox.h"
#include "box_expect.h"
#include "error_report_env.h"

namespace {

// Pixels of a window's client area darker than mid-grey.
int DarkPixels(HWND window)
{
    RECT rc;
    GetClientRect(window, &rc);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rc.right;
    info.bmiHeader.biHeight = -rc.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rc.right, rc.bottom, screen, 0, 0, SRCCOPY);
    int dark = 0;
    const DWORD* pixel = static_cast<const DWORD*>(bits);
    for (int i = 0; i < rc.right * rc.bottom; ++i) {
        DWORD p = pixel[i];
        if (((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3 < 0x80)
            ++dark;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return dark;
}

// Whether the font has a glyph for every character of the text.
bool HasGlyphs(HFONT font, const wchar_t* text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    WORD glyphs[16];
    int n = lstrlenW(text);
    bool all = GetGlyphIndicesW(dc, text, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == (DWORD)n;
    for (int i = 0; all && i < n; ++i)
        all = glyphs[i] != 0xFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    return all;
}

TEST(DrawingE2e, MessageBoxDrawsItsJapaneseText)
{
    int darkWithText = 0, darkBlank = 0;
    bool glyphs = false;
    auto measure = [&](int* dark) {
        return [&, dark](HWND box) {
            HWND text = GetDlgItem(box, 0xFFFF);
            Sleep(300);  // let the box paint
            *dark = DarkPixels(text);
            glyphs = HasGlyphs(reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0)), L"出納帳セットアップ");
        };
    };
    EXPECT_TRUE(RunAnsweringBox([] { ShowMessage(nullptr, "出納帳セットアップ表示の確認", nullptr, 0); },
                                {kTestTitle, "出納帳セットアップ表示の確認", {IDOK}, IDOK}, nullptr,
                                measure(&darkWithText)));
    EXPECT_TRUE(RunAnsweringBox([] { ShowMessage(nullptr, " ", nullptr, 0); }, {kTestTitle, " ", {IDOK}, IDOK},
                                nullptr, measure(&darkBlank)));
    EXPECT_TRUE(glyphs) << "the box's font lacks Japanese glyphs";
    EXPECT_GT(darkWithText, 100) << "no text drawn";
    EXPECT_EQ(0, darkBlank) << "dark pixels without any text";
}

}  // namespace
