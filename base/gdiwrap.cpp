#include "base/gdiwrap.h"

#include "base/errreport.h"

// Calls f until it returns a non-zero value, showing the critical-error
// dialog with text after each failure.
template <class F, class... Args>
static auto CallOrRetry(const char* text, F f, Args... args) -> decltype(f(args...))
{
    for (;;) {
        SetLastError(0);
        auto result = f(args...);
        if (result)
            return result;
        FatalRetry(GetLastError(), text);
    }
}

static const char s_szDC[] = "デバイスコンテキストを作成できません";
static const char s_szFont[] = "フォントを作成できません";
static const char s_szClass[] = "ウィンドウクラスを登録できません";
static const char s_szDialog[] = "ダイアログボックスを作成できません";

HRGN DzCreateRectRgnIndirect(const RECT* rect)
{
    return CallOrRetry("リージョンを作成できません", CreateRectRgnIndirect, rect);
}

int DzCombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode)
{
    return CallOrRetry("リージョンを合成できません", CombineRgn, dst, src1, src2, mode);
}

HBITMAP DzCreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits)
{
    return CallOrRetry("ビットマップを作成できません", CreateBitmap, width, height, planes, bitCount, bits);
}

HBRUSH DzCreateSolidBrush(COLORREF color)
{
    return CallOrRetry("ブラシを作成できません", CreateSolidBrush, color);
}

HPEN DzCreatePen(int style, int width, COLORREF color)
{
    return CallOrRetry("ペンを作成できません", CreatePen, style, width, color);
}

HDC DzCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode)
{
    return CallOrRetry(s_szDC, CreateDCA, driver, device, port, mode);
}

HDC DzCreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode)
{
    return CallOrRetry("インフォメーションコンテキストを作成できません", CreateICA, driver, device, port, mode);
}

HDC DzCreateCompatibleDC(HDC dc)
{
    return CallOrRetry("互換性のあるデバイスコンテキストを作成できません", CreateCompatibleDC, dc);
}

HBITMAP DzCreateCompatibleBitmap(HDC dc, int width, int height)
{
    return CallOrRetry("互換性のあるビットマップを作成できません", CreateCompatibleBitmap, dc, width, height);
}

HDC DzGetDC(HWND hwnd)
{
    return CallOrRetry("デバイスコンテキストを取得できません", GetDC, hwnd);
}

HDC DzBeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    return CallOrRetry("ペイント準備処理に失敗しました", BeginPaint, hwnd, paint);
}

HFONT DzCreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                    DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                    DWORD quality, DWORD pitchAndFamily, LPCSTR face)
{
    return CallOrRetry(s_szFont, CreateFontA, height, width, escapement, orientation, weight, italic, underline,
                       strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face);
}

HFONT DzCreateFontIndirectA(const LOGFONTA* font)
{
    return CallOrRetry(s_szFont, CreateFontIndirectA, font);
}

ATOM DzRegisterClassA(const WNDCLASSA* wc)
{
    return CallOrRetry(s_szClass, RegisterClassA, wc);
}

ATOM DzRegisterClassExA(const WNDCLASSEXA* wc)
{
    return CallOrRetry(s_szClass, RegisterClassExA, wc);
}

HWND DzCreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param)
{
    return CallOrRetry(s_szDialog, CreateDialogParamA, instance, name, parent, proc, param);
}

HWND DzCreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dlg, HWND parent, DLGPROC proc,
                                  LPARAM param)
{
    return CallOrRetry(s_szDialog, CreateDialogIndirectParamA, instance, dlg, parent, proc, param);
}

HWND DzCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    return CallOrRetry("ウィンドウを作成できません", CreateWindowExA, exStyle, className, windowName, style, x, y,
                       width, height, parent, menu, instance, param);
}

HBRUSH DzCreateHatchBrush(int hatch, COLORREF color)
{
    return CallOrRetry("ハッチブラシを作成できません", CreateHatchBrush, hatch, color);
}

HBRUSH DzCreatePatternBrush(HBITMAP bitmap)
{
    return CallOrRetry("パターンブラシを作成できません", CreatePatternBrush, bitmap);
}

UINT_PTR DzSetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    return CallOrRetry("タイマーを作成できません", SetTimer, hwnd, id, elapse, proc);
}

HBITMAP DzLoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    return CallOrRetry("ビットマップリソースをロードできません", LoadBitmapA, instance, name);
}

HICON DzLoadIconA(HINSTANCE instance, LPCSTR name)
{
    return CallOrRetry("アイコンソースをロードできません", LoadIconA, instance, name);
}

HACCEL DzLoadAcceleratorsA(HINSTANCE instance, LPCSTR name)
{
    return CallOrRetry("アクセラレータリソースをロードできません", LoadAcceleratorsA, instance, name);
}

UINT DzRegisterWindowMessageA(LPCSTR name)
{
    return CallOrRetry("文字列メッセージの登録ができません", RegisterWindowMessageA, name);
}

HMENU DzLoadMenuA(HINSTANCE instance, LPCSTR name)
{
    return CallOrRetry("メニューリソースを読み込むことができません", LoadMenuA, instance, name);
}

ATOM DzGlobalAddAtomA(LPCSTR name)
{
    return CallOrRetry("文字列アトムの登録ができません", GlobalAddAtomA, name);
}
