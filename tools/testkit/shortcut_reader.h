// What a shortcut file holds, read back through the shell's link object
// (COM must be initialised on the calling thread).
#pragma once

#include <string>

// "target / description / icon file, icon index" of the shortcut at path
// (code page 932); " /  / , -1" when it cannot be loaded.
std::string DescribeShortcut(const std::string& path);
