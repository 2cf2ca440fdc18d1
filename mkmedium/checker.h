// The check of an existing medium (made by this tool or by hand): what the
// setup would meet reading its SETUP.LST.
#pragma once

#include <filesystem>

#include "mkmedium/console.h"

// The medium is the folder itself when it holds SETUP.LST, else its
// folders DISK1, DISK2, ... Every fault is shown; 0 when there is none,
// else 1.
int CheckMedium(const std::filesystem::path& medium, Console& console);
