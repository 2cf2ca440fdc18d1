// ListBox2: the library's self-drawn list box (window class "ListBox2"). Rows
// of one height are drawn by the derived class off-screen and copied in, the
// selected row inverted; a 2-pixel border shows the keyboard focus. It tells
// its notify window what the user did as WM_COMMAND with its control id and
// one of the LB2N_ codes.
//
// FileListBox2 shows a FileData: each entry indented by its level, with its
// small icon, which is loaded one entry per tick of a 1 ms timer after the
// listing is shown, so that a long listing appears at once.
#pragma once

#include <windows.h>

#include "dazo/SafeObject.h"
#include "dazo/Wnd.h"
#include "dazo/filedata.h"

// List options.
enum {
    LB2_NOSELECT = 2,  // a click selects nothing; the movement keys scroll the view
};

// Notification codes.
enum : WORD {
    LB2N_SELCHANGE = 1226,  // the selected row changed
    LB2N_OPEN = 1227,       // a double click, a click on the selected row, or Space
    LB2N_CLICK = 1239,      // a press on a row that was not selected (now selected)
    LB2N_CLICKUP = 1241,    // the left button released over a row after a press in the list
};

class ListBox2 : public Wnd {
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    const char* GetClassInfo(WNDCLASSA* wc) override;
    int OnWheel(int delta) override;

    // Creates the list in rc (client coordinates of parent) with the control
    // id, its rows in font; options LB2_NOSELECT; notify gets the LB2N_ codes.
    HWND Create(DWORD exStyle, DWORD style, const RECT& rc, HWND parent, int id, HFONT font, int options,
                HWND notify);

    // Slot 13: draws row `row` into rc of dc, whose background is already
    // the window colour and whose font is the list's.
    virtual void DrawRow(HDC dc, int row, const RECT& rc) = 0;

    // A new set of rows, `selected` selected (-1: none) and in view.
    void SetRows(int count, int selected);
    int GetSel() const { return m_nSel; }
    // Where row lies in the client area (it may be out of view).
    RECT GetRowRect(int row) const;
    void InvalidateRow(int row);

protected:
    int m_cxChar = 0;  // average character width of the font
    int m_cyText = 0;  // text height of the font

private:
    void Paint(HDC dc);
    RECT Inner() const;
    int VisibleRows() const;
    int RowAt(int y) const;
    void ScrollTo(int top, int x);
    void UpdateScrollBars();
    int ScrollTarget(int bar, WPARAM request, int pos, int line, int page);
    void MoveSel(int row);
    bool OnKey(WPARAM key);
    void OnPress(LPARAM lParam, bool secondOfDoubleClick);
    void OnRelease(LPARAM lParam);
    void Notify(WORD code);

    HFONT m_hFont = nullptr;
    HWND m_hwndNotify = nullptr;
    int m_fOptions = 0;
    int m_cyRow = 16;
    int m_cxRow = 16;  // the width a row is drawn in: scrolled sideways
    int m_nRows = 0;
    int m_nSel = -1;
    int m_nTop = 0;     // first row in view
    int m_xScroll = 0;  // pixels scrolled sideways
    bool m_fPressed = false;
    // Counts SetRows: a double click whose first click replaced the rows
    // must not act on the row that now lies under the pointer.
    int m_nListing = 0;
    int m_nPressListing = -1;
};

// FileListBox2 display modes.
enum {
    FLB_GRAY = 1,  // names in the grey-text colour (the file list)
};

class FileListBox2 : public ListBox2 {
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawRow(HDC dc, int row, const RECT& rc) override;

    // Shows data (null: an empty listing) in mode, with its current entry
    // selected, and starts loading its icons.
    void SetData(FileData* data, int mode);
    FileData* GetData() const { return m_pData.Get(); }

private:
    void LoadNextIcon();
    void StopIconTimer();

    SafePtr<FileData> m_pData;
    int m_nMode = 0;
    int m_nNextIcon = 0;  // the next entry whose icon is still to be loaded
    UINT_PTR m_idTimer = 0;
};
