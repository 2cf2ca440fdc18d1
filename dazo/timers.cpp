// Timers with automatic identifiers: 32 identifiers from 65500 up, one bit
// of a mask each, so that library windows never collide with the timer
// identifiers a window picks for itself.
#include "dazo/Wnd.h"

#include "base/errreport.h"

static const UINT_PTR TIMER_FIRST_AUTO = 65500;
static const int TIMER_AUTO_COUNT = 32;
static DWORD s_dwAutoMask;

static bool IsAutoId(UINT_PTR id)
{
    return id >= TIMER_FIRST_AUTO && id < TIMER_FIRST_AUTO + TIMER_AUTO_COUNT;
}

UINT_PTR SetTimerAuto(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc)
{
    if (id != 0) {
        if (SetTimer(hwnd, id, ms, proc))
            return id;
    } else {
        int bit = 0;
        while (bit < TIMER_AUTO_COUNT && (s_dwAutoMask & (1u << bit)))
            ++bit;
        if (bit < TIMER_AUTO_COUNT && SetTimer(hwnd, TIMER_FIRST_AUTO + bit, ms, proc)) {
            s_dwAutoMask |= 1u << bit;
            return TIMER_FIRST_AUTO + bit;
        }
    }
    ReportErrorCode(ERR_SYSTEM, "タイマーが足りません");
    return 0;
}

int KillTimerAuto(HWND hwnd, UINT_PTR id)
{
    if (id == 0)
        return 1;
    if (IsAutoId(id))
        s_dwAutoMask &= ~(1u << (id - TIMER_FIRST_AUTO));
    if (!KillTimer(hwnd, id)) {
        ReportErrorCode(ERR_SYSTEM, "KillTimer : 無効なＩＤ");
        return 0;
    }
    return 1;
}
