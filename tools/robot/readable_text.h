// Turns the robot's code page 932 bytes into text a person can read in a
// failure message or a script's output: UTF-8, which Wine passes through to
// the Linux terminal unchanged.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

// Plain conversions; bytes that form no code page 932 character become the
// code page's default character.
std::string Cp932ToUtf8(const std::string& cp932);
std::string WideToCp932(const std::wstring& wide);

// The text in double quotes as UTF-8, with what cannot be seen escaped:
// \n \r \t \\ \" , other control bytes and bytes that do not form a code
// page 932 character as \xNN. The trail byte 0x5C of a double-byte character
// (ソ 表 能) stays part of its character.
std::string Quoted(const std::string& cp932);

// "83 5C 95 5C" (upper-case hex bytes separated by spaces).
std::string HexBytes(const std::string& bytes);

// "0x2003E".
std::string HandleText(HWND window);

// "IDOK", "IDCANCEL", ... for the dialog command ids; the number otherwise.
std::string ButtonName(int id);
// The inverse, also taking decimal or 0x-prefixed numbers. False if neither.
bool ParseButtonId(const std::string& text, int* id);

// "IDYES IDNO IDCANCEL".
std::string ButtonList(const std::vector<int>& ids);

// "MB_ICONQUESTION", "none" (0) or "unknown" (-1).
std::string IconName(int icon);

}  // namespace robot
