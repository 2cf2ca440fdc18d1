#include "dazo/libstart.h"

#include <cstdlib>

#include "base/errreport.h"
#include "dazo/servwnd.h"

DWORD g_dwLibOption;

void LibInitOptions()
{
    // Subtypes 0x04xx and 0x0Dxx (but 0x0D05) are the Japanese keyboards.
    int subtype = GetKeyboardType(1);
    int high = (subtype >> 8) & 0xFF;
    g_dwLibOption &= ~LIBOPT_NOTJAPANESEKEYS;
    if (!(high == 0x04 || (high == 0x0D && subtype != 0x0D05)))
        g_dwLibOption |= LIBOPT_NOTJAPANESEKEYS;
    g_dwLibOption |= LIBOPT_SETUPINPUT;
}

// ---- The shared colour object ------------------------------------------------

static FColorObj* s_pColorObj;
static int s_cColorUse;

FColorObj::FColorObj()
{
    AcquireServiceWnd()->m_evSysColor.Connect(this, OnSysColorChange);
}

FColorObj::~FColorObj()
{
    if (g_pServiceWnd)
        g_pServiceWnd->m_evSysColor.Disconnect(this, OnSysColorChange);
    ReleaseServiceWnd();
}

int FColorObj::OnSysColorChange(void* context, Event2*, LPARAM)
{
    auto* self = static_cast<FColorObj*>(context);
    return self->Fire(self, 0);
}

FColorObj* AcquireColorObj()
{
    if (s_cColorUse++ == 0)
        s_pColorObj = new FColorObj;
    return s_pColorObj;
}

void ReleaseColorObj()
{
    if (s_cColorUse > 0 && --s_cColorUse == 0) {
        delete s_pColorObj;
        s_pColorObj = nullptr;
    }
}

void LibInitColors()
{
    AcquireColorObj();
    std::atexit(ReleaseColorObj);
}

// ---- The stock fonts ------------------------------------------------------------

static SafePtr<Font> g_fstock[2];  // FONT_SYSFIXED, FONT_SYSTEM

Font* GetStockFontObj(int number)
{
    if (number != FONT_SYSFIXED && number != FONT_SYSTEM)
        ReportErrorCode(ERR_FATAL, "フォント番号範囲外");
    return g_fstock[number == FONT_SYSFIXED ? 0 : 1].Get();
}

static void FinStockFonts()
{
    g_dwLibOption &= ~LIBOPT_STOCKFONTS;
    g_fstock[0] = SafePtr<Font>();
    g_fstock[1] = SafePtr<Font>();
}

void LibInitStockFonts()
{
    g_fstock[0] = SafePtr<Font>(new Font(static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT))));
    g_fstock[1] = SafePtr<Font>(new Font(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
    g_dwLibOption |= LIBOPT_STOCKFONTS;
    std::atexit(FinStockFonts);
}

// ---- The hint window ---------------------------------------------------------------

namespace {
class PopupHint : public Wnd {
public:
    const char* GetClassInfo(WNDCLASSA* wc) override
    {
        Wnd::GetClassInfo(wc);
        if (wc)
            wc->hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
        return "PopupHint";
    }
};
}  // namespace

static HWND s_hwndHint;

static void FinHintWindow()
{
    if (s_hwndHint && IsWindow(s_hwndHint))
        DestroyWindow(s_hwndHint);
    s_hwndHint = nullptr;
}

void LibInitHintWindow()
{
    // Creation failures end in the critical-error dialog (retry or end).
    s_hwndHint = (new PopupHint)->Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                                         nullptr, nullptr, g_hInstance, nullptr);
    std::atexit(FinHintWindow);
}

// ---- The error hooks -----------------------------------------------------------------

static void FinErrorHooks()
{
    RemoveErrorHooks();
    ReleaseServiceWnd();
}

void LibInstallErrorHooks()
{
    AcquireServiceWnd();
    InstallErrorHooks();
    std::atexit(FinErrorHooks);
}
