// A dialog template of a module's resources, read back as the dialog manager
// reads it: the dialog's style, place, caption and font, and each control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateControl {
    int id;
    std::string cls;  // lower case; an ordinal as "#n"
    DWORD style;
    std::string text;  // code page 932; an ordinal (an icon) as "#n"
    short x, y, cx, cy;
};

struct DialogTemplate {
    DWORD style;
    short x, y, cx, cy;
    std::string caption, font;  // code page 932
    WORD points;
    std::vector<TemplateControl> controls;
};

// The classic (DIALOG, not DIALOGEX) template name of module; false when
// there is none.
bool ReadDialogTemplate(HMODULE module, const char* name, DialogTemplate* out);
