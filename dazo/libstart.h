// The library's start-up steps. The entry point calls them in this order,
// after the message functions (InitErrorReport) and around the user lock;
// each registers its clean-up for process exit, so that the clean-ups run
// in the reverse order.
#pragma once

#include <windows.h>

#include "dazo/Event2.h"
#include "dazo/SafeObject.h"

// The library's option word.
extern DWORD g_dwLibOption;
enum : DWORD {
    LIBOPT_NOTJAPANESEKEYS = 0x0002,  // the keyboard is not a Japanese one (input fields)
    LIBOPT_STOCKFONTS = 0x0010,       // the stock fonts exist
    LIBOPT_SETUPINPUT = 0x02A4,       // the input-field options the setup chooses
    LIBOPT_SHOWINGERRORS = 0x0400,    // the error queue is being shown
};

// Keyboard type and option word.
void LibInitOptions();
// The shared colour object (and with it the service window).
void LibInitColors();
// The stock fonts.
void LibInitStockFonts();
// The hint window of the toolbar and input-field classes.
void LibInitHintWindow();
// The error hooks of the message functions, once the service window exists.
void LibInstallErrorHooks();

// The shared colour object: fires its event list when the system colours
// change, so that what draws in them can draw again.
class FColorObj : public Event2 {
public:
    FColorObj();
    ~FColorObj() override;

private:
    static int OnSysColorChange(void* context, Event2* sender, LPARAM argument);
};
// Kept by a use count: the first acquire creates it (and the service window).
FColorObj* AcquireColorObj();
void ReleaseColorObj();

// A font of the library, held through SafePtr. The stock fonts belong to
// the system, so the object never deletes its font.
class Font : public SafeObject {
public:
    explicit Font(HFONT hfont) : m_hfont(hfont) {}
    HFONT HFont() const { return m_hfont; }

private:
    HFONT m_hfont;
};

enum {
    FONT_SYSFIXED = -6,  // the system's fixed-pitch font
    FONT_SYSTEM = -7,    // the system font
};
// A stock font by number; any other number is fatal ("フォント番号範囲外").
Font* GetStockFontObj(int number);
