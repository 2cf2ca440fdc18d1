// What the setup can do with a name: a target file name and folder must be
// a name Windows can create and a field SETUP.LST can hold; a compressed
// file is named on the medium as the LZ tools name it.
#pragma once

#include <string>

// Why the target file name cannot be installed, or "" when it can.
std::string TargetNameProblem(const std::string& name);

// Why the target folder (with its path macros, as written) cannot be
// installed to, or "" when it can. A folder starts with one of the setup's
// path macros ($(AppPath), $(DocPath), $(WinPath), $(WinSysPath), in any
// case), a drive ("C:\") or a network share ("\\server").
std::string TargetFolderProblem(const std::string& folder);

// Splits a target path into its folder and its file name: the name is what
// follows the last backslash, or the leading path macro when there is none.
// The folder loses a trailing backslash and one right after a path macro
// (the macros already end in one). False when there is no folder part.
bool SplitTargetPath(const std::string& path, std::string* folder, std::string* name);

// The name of a compressed file on the medium, as Windows' LZ tools name it
// (and as LZOpenFile looks for it): the last character of an extension of
// three or more bytes becomes "_", a shorter extension gains "_", a name
// without one gains "._". *lastChar is the byte the header keeps to restore
// the name: the replaced byte, or 0 when nothing was replaced (a replaced
// double-byte character is kept whole only in the list, so it gains "_").
std::string CompressedName(const std::string& name, char* lastChar);

// Names compare as the setup and Windows compare them.
bool SameName(const std::string& a, const std::string& b);
