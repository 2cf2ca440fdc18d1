// The lines of a settings file (the syntax of SETUP.LST and of the medium
// description): "[" name "]" starts a section, key "=" value is a key of the
// section above, a line starting with ";" is a comment. Names are compared
// with FoldNameCase, as the setup compares them.
#pragma once

#include <string>
#include <vector>

struct SettingsLine {
    enum Kind { BLANK, COMMENT, SECTION, KEY, OTHER };
    int number = 0;     // from 1
    Kind kind = BLANK;
    std::string name;   // SECTION: the name between the brackets; KEY: the bytes before the first "="
    std::string value;  // KEY: the bytes after the first "="; SECTION: what follows "]"
    bool fOpenHeader = false;  // SECTION: the line starts with "[" but has no "]"
};

// Splits the text into lines. The setup ends a line only at CR LF; with
// lfEndsLine a lone LF ends one too (a CR before it is dropped), for files
// written by hand on Linux.
std::vector<SettingsLine> SplitSettingsText(const std::string& text, bool lfEndsLine);

// Spaces and tabs removed from both ends.
std::string TrimBlanks(const std::string& text);
