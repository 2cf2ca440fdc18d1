// Making a medium: DISK1 ... DISKn under the output folder, each holding at
// most the disk size (files counted in whole 512-byte sectors, as a disk
// stores them), SETUP.EXE and SETUP.LST on the first.
#pragma once

#include <cstdint>
#include <filesystem>

#include "mkmedium/console.h"

struct BuildRequest {
    std::filesystem::path description;
    std::filesystem::path setupFolder;  // the folder of SETUP.EXE
    std::filesystem::path output;       // new or empty
    uint64_t diskSize = 0;              // 0: the description's DiskSize, else no limit
};

// 0 when the medium was made; 1 when it was refused (every reason shown)
// or failed, and then nothing is left in the output folder.
int BuildMedium(const BuildRequest& request, Console& console);
