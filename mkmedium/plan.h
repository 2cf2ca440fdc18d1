// What goes on the medium: one file per source and way of storing it
// (entries that install the same source the same way share one), each with
// a name that is unique on the whole medium. The setup takes a source from
// whichever disk is in the drive, so a name on two disks would install the
// wrong file without asking for the right disk.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "mkmedium/description.h"

struct MediumFile {
    std::filesystem::path source;
    bool fCompress = false;
    std::string name;     // CP932 path on its disk: "DARVO5.EX_", or "2\README.TX_" when the name was taken
    char lastChar = 0;    // the header's restoring byte of a compressed file
    int line = 0;         // the first description line that installs it; 0 for SETUP.EXE
    int disk = 0;         // set when the file is laid on a disk
};

struct MediumPlan {
    // SETUP.EXE first, then in the order the setup reads them.
    std::vector<MediumFile> files;
    // Per description entry: its file, or -1 for an entry that deletes.
    std::vector<int> fileOfEntry;
};

// The plan for the description's entries and SETUP.EXE, which an entry
// that installs the same exe plain shares.
MediumPlan PlanMedium(const Description& description, const std::filesystem::path& setupExe);

// The text of SETUP.LST: CP932, CR LF, the sections in the order the setup
// names them, keys "File1", "File2", ... in each. With diskDigits > 0 every
// disk number is written with that many digits: the longest the list can
// be, known before the files are laid on disks.
std::string ListText(const Description& description, const MediumPlan& plan, int diskDigits);
