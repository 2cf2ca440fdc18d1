// FileListBox2: a FileData in a ListBox2, its icons loaded on a timer.
#include "dazo/listbox2.h"

void FileListBox2::SetData(FileData* data, int mode)
{
    StopIconTimer();
    m_pData = SafePtr<FileData>(data);
    m_nMode = mode;
    m_nNextIcon = 0;
    SetRows(data ? data->GetCount() : 0, data ? data->m_nCurrent : -1);
    if (data && data->GetCount())
        m_idTimer = SetTimerAuto(m_hwnd, 0, 1, nullptr);
}

void FileListBox2::StopIconTimer()
{
    if (m_idTimer)
        KillTimerAuto(m_hwnd, m_idTimer);
    m_idTimer = 0;
}

// One icon per tick: a long listing is shown at once and fills in.
void FileListBox2::LoadNextIcon()
{
    while (m_nNextIcon < m_pData->GetCount()) {
        int i = m_nNextIcon++;
        if (m_pData->LoadIcon(i)) {
            InvalidateRow(i);
            return;
        }
    }
    StopIconTimer();
}

void FileListBox2::DrawRow(HDC dc, int row, const RECT& rc)
{
    const FileEntry& e = m_pData->GetEntry(row);
    int middle = (rc.top + rc.bottom) / 2;
    if (e.fFlags & FE_SEPARATOR) {
        RECT line = {rc.left, middle, rc.right, middle + 1};
        FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    int indent = (m_cxChar + 1) / 2;
    int x = rc.left + indent * (e.nLevel + 1);
    if (e.hIcon)
        DrawIconEx(dc, x, middle - 8, e.hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((m_nMode & FLB_GRAY) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    TextOutA(dc, x + indent + 16, middle - m_cyText / 2, e.strName, e.strName.GetLength());
}

LRESULT FileListBox2::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && m_idTimer && wParam == m_idTimer) {
        LoadNextIcon();
        return 0;
    }
    if (msg == WM_DESTROY)
        StopIconTimer();
    return ListBox2::WndProc(msg, wParam, lParam);
}
