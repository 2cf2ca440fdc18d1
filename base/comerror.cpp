// COM failures: fixed texts for the common HRESULTs, the system text for the
// Win32 codes wrapped in an HRESULT, and the value itself otherwise.
#include <cstdio>

#include "base/errreport.h"

static const char* FixedComText(HRESULT hr)
{
    switch ((DWORD)hr) {
    case 0x8000FFFF: return "Catastrophic failure(E_UNEXPECTED)";
    case 0x80004001: return "実装されていません(E_NOTIMPL)";
    case 0x8007000E: return "メモリが足りません";
    case 0x80070057: return "引数が無効です";
    case 0x80004002: return "サポート外のインターフェースです";
    case 0x80004003: return "ポインタが無効です";
    case 0x80004004: return "エラーが発生 HRESULT=E_ABORT";
    case 0x80004005: return "不明なＣＯＭエラー E_FAIL";
    case 0x80070005: return "アクセス権がありません";
    default: return nullptr;
    }
}

int ReportComError(HRESULT hr, const char* context)
{
    if (const char* fixed = FixedComText(hr))
        return ReportError(ERR_SYSTEM, fixed, context, 0);

    DWORD facility = ((DWORD)hr >> 16) & 0x1FFF;
    DWORD code = (DWORD)hr & 0xFFFF;
    const char* format;
    switch (facility) {
    case 0:
        format = "COMｴﾗｰ FACILITY_NULL HRESULT:%08X";
        break;
    case FACILITY_RPC:
        format = "COMｴﾗｰ HRESULT:%08X FACILITY_RPC";
        break;
    case FACILITY_DISPATCH:
        format = "COMｴﾗｰ HRESULT:%08X FACILITY_DISPATCH";
        break;
    case FACILITY_STORAGE:
        if (code < 256)
            return ReportSysError(ERR_SYSTEM, code, context, 0);
        format = "COMｴﾗｰ HRESULT:%08X FACILITY_STORAGE";
        break;
    case FACILITY_ITF:
        format = "COMｴﾗｰ HRESULT:%08X FACILITY_ITF";
        break;
    case FACILITY_WIN32:
        return ReportSysError(ERR_SYSTEM, code, context, 0);
    case FACILITY_WINDOWS:
        format = "COMｴﾗｰ HRESULT:%08X FACILITY_WINDOWS";
        break;
    default:
        format = "COMｴﾗｰ HRESULT:%08X";
        break;
    }
    char text[80];
    std::snprintf(text, sizeof(text), format, (unsigned)hr);
    return ReportError(ERR_SYSTEM, text, context, 0);
}
