// DoingWnd: the small progress window of long operations that run on the
// user-interface thread. It shows a text, optionally a percentage gauge and
// a stop button "中止", can keep its owner disabled, and is the program's
// work window while it exists, so that boxes raised meanwhile belong to it.
//
//   DoingWnd* doing = new DoingWnd;
//   doing->Create("タイトル", -1, -1, 40 * g_nAveCharWidth, g_nCharHeight, owner,
//                 DWS_STOP | DWS_NOGAUGE | DWS_SHOW | DWS_DISABLEOWNER);
//   doing->SetText("お待ち下さい...");
//   while (...) {
//       ... one step ...
//       if (!doing->CheckCancel()) { ask; on "go on": doing->m_fCancel = 0; }
//   }
//   doing->Close();  // the object is gone afterwards
//
// Progress is one position in a range, or nested sections: each open section
// divides one step of the section around it (the outermost the whole range).
#pragma once

#include <windows.h>

#include "dazo/Data.h"
#include "dazo/Wnd.h"

// Style flags.
enum {
    DWS_STOP = 1,          // stop button "中止" (and a system menu)
    DWS_NOGAUGE = 2,       // no gauge
    DWS_SHOW = 4,          // show and paint at once
    DWS_DISABLEOWNER = 8,  // disable the owner while the window exists
    DWS_CENTER = 16,       // the one text line is centred
    DWS_TOPMOST = 32,      // topmost window
    DWS_MULTILINE = 64,    // the text is broken into rows
};

const int IW_MAXSEC = 10;

struct DoingSection {
    int start;
    int end;
    int pos;
};

class DoingWnd : public Wnd {
public:
    DoingWnd() = default;
    ~DoingWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    const char* GetClassInfo(WNDCLASSA* wc) override;
    void Attach() override;
    void Detach() override;

    // Creates the window: a text area of cxText by cyText pixels; x or y -1
    // centres on the owner (or the work area); no title (null or blank)
    // gives no caption bar. Range 0..100 at 0.
    HWND Create(const char* title, int x, int y, int cxText, int cyText, HWND owner, int style);

    void SetText(const char* text);
    // max - min below 1 makes max = min + 1; the position goes to min.
    void SetRange(int min, int max);
    void SetPosition(int pos);  // clamped into the range
    void StepIt();
    // Sections: at most IW_MAXSEC open; moving or closing one needs one open.
    void BeginSec(int start, int end);
    void SetSecPos(int pos);
    void StepSec();
    void EndSec();
    // Paints, lets at most 10 waiting messages through, and answers 0 once
    // the user asked to stop (until the caller clears m_fCancel), else 1.
    int CheckCancel();
    // Enables the owner again, then destroys the window and the object.
    void Close();

    RECT m_rcGauge = {};  // empty without gauge
    RECT m_rcText = {};
    RECT m_rcStop = {};  // empty without stop button
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nPos = 0;
    DataObjStr m_strText;
    int m_fPressed = 0;  // the stop button is shown pressed
    int m_fStyle = 0;
    int m_fCancel = 0;  // the user asked to stop; cleared only by the caller
    int m_cxFill = 0;   // filled width of the gauge
    int m_nPercent = 0;
    HWND m_hwndDisabled = nullptr;  // the owner this window disabled
    SafePtr<WorkWnd> m_pWorkWnd;
    DoingSection m_aSec[IW_MAXSEC] = {};
    int m_cSec = 0;

private:
    void Layout();
    // Recomputes percentage and fill; true when either changed.
    bool ComputeGauge();
    void MoveBySections();
    void EnableOwner();
    void InvalidateStop();
    // Paints the parts that meet the invalid rectangle.
    void Paint(HDC dc, const RECT& invalid);
    void PaintStop(HDC dc);
    void PaintText(HDC dc);
    void PaintGauge(HDC dc);
    void OnLButtonDown(POINT pt);
    void OnMouseMove(POINT pt, WPARAM keys);
    void OnLButtonUp();
    void OnCancelMode();
};

// The window size for a text area of cxText by cyText, from the average
// character width cw and height ch.
SIZE DoingWindowSize(int cxText, int cyText, int style, bool fTitle, int cw, int ch);
// Stop button, gauge and text rectangles in a client area.
void DoingLayout(const RECT& client, int style, int cw, int ch, RECT* stop, RECT* gauge, RECT* text);
// Percentage and filled width of a gauge gaugeWidth pixels wide.
void DoingGauge(int min, int max, int pos, int gaugeWidth, int* percent, int* fill);
// The overall position of nested sections in the range min..max.
int DoingSectionPosition(int min, int max, const DoingSection* sections, int count);
// Bytes of text that fill one row of cxRow pixels in dc's font: up to a line
// break, never half a double-byte character, at least one character.
int DoingRowLength(HDC dc, const char* text, int cxRow);
