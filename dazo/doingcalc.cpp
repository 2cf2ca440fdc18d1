// The progress window's arithmetic: its size and layout in character units,
// the gauge, and the position of nested sections.
#include <algorithm>
#include <cstdint>

#include "dazo/Doingwnd.h"

SIZE DoingWindowSize(int cxText, int cyText, int style, bool fTitle, int cw, int ch)
{
    int cx = cxText + 4 * cw + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int cy = cyText + GetSystemMetrics(SM_CYCAPTION) + ch * 7 / 2 + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    if (style & DWS_NOGAUGE)
        cy -= ch * 5 / 2;
    if (style & DWS_STOP)
        cy += ch * 5 / 2;
    if (!fTitle)
        cy -= GetSystemMetrics(SM_CYCAPTION);
    return {cx, cy};
}

void DoingLayout(const RECT& client, int style, int cw, int ch, RECT* stop, RECT* gauge, RECT* text)
{
    int width = std::max<int>(client.right - client.left, 10 * cw);
    int height = std::max<int>(client.bottom - client.top, 3 * ch);
    int right = client.left + width;
    int bottom = client.top + height;

    *stop = RECT();
    if (style & DWS_STOP) {
        stop->left = width / 2 - 4 * cw - 2;
        stop->right = stop->left + 8 * cw + 2;
        stop->bottom = bottom - ch / 2 + 2;
        stop->top = stop->bottom - (2 * ch + 2);
        bottom = stop->top;
    }
    *gauge = RECT();
    if (!(style & DWS_NOGAUGE)) {
        gauge->left = client.left + 2 * cw;
        gauge->right = right - 2 * cw;
        gauge->bottom = bottom - ch / 2;
        gauge->top = gauge->bottom - 2 * ch;
        bottom = gauge->top;
    }
    *text = {client.left + 2 * cw, client.top + ch / 2, right, bottom};
}

void DoingGauge(int min, int max, int pos, int gaugeWidth, int* percent, int* fill)
{
    // Wide ranges are counted in thousands, so that the products stay
    // within 32 bits.
    if (int64_t(max) - min > 100000) {
        max /= 1000;
        min /= 1000;
        pos /= 1000;
    }
    *percent = (pos - min) * 100 / (max - min);
    *fill = (pos - min) * (gaugeWidth - 4) / (max - min);
}

int DoingSectionPosition(int min, int max, const DoingSection* sections, int count)
{
    double unit = double(max) - min;
    double value = min;
    for (int i = 0; i < count; ++i) {
        unit /= sections[i].end - sections[i].start;
        value += (sections[i].pos - sections[i].start) * unit;
    }
    return static_cast<int>(value);
}
