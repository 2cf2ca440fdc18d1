// Small facts about files that tests set or check with plain Win32 calls,
// never with the program's own helpers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The names in a folder given with its trailing backslash ("." and ".."
// left out), in the order found.
std::vector<std::string> FolderEntries(const std::string& folder);
// Sets the file's last-write time only; false on failure.
bool SetLastWriteTime(const std::string& path, const FILETIME& time);
