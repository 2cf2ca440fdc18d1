// The medium description: what the vendor writes to say which files go on
// the medium, where the setup installs them and whether they are
// compressed. It is a settings file (README.md, "mkmedium"):
//
//   [Medium]                              optional
//   Encoding=UTF-8                        CP932 (the default) or UTF-8
//   Source=..\build\release               base of relative source paths
//   DiskSize=1.44M                        bytes per disk, or 1.44M
//   [Files]                               a section of SETUP.LST
//   $(AppPath)DARVO5.EXE=bin\DARVO5.EXE, compress
//   $(WinSysPath)OLD.DLL=, delete
//
// One line per file: the key is the target (folder with path macros, then
// the file name), the value its source and one of compress, plain (the
// default) or delete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The sections the setup copies, in the order it names them.
constexpr int LIST_SECTION_COUNT = 6;
extern const char* const LIST_SECTIONS[LIST_SECTION_COUNT];

enum EntryMode { ENTRY_PLAIN, ENTRY_COMPRESS, ENTRY_DELETE };

// One file line of the description, checked.
struct DescEntry {
    int line = 0;
    int section = 0;             // index into LIST_SECTIONS
    std::string folder;          // CP932 target folder, as SETUP.LST will hold it
    std::string name;            // CP932 target file name
    std::string sourceText;      // the source as written (CP932); empty for a deletion
    std::filesystem::path source;
    EntryMode mode = ENTRY_PLAIN;
};

struct Description {
    std::string shownName;       // the description file, for messages
    uint64_t diskSize = 0;       // DiskSize; 0: not given
    std::vector<DescEntry> entries;
};

// Reads and checks the description. Every problem is added to *problems as
// "<file>:<line>: <text>"; true when there is none.
bool ReadDescription(const std::filesystem::path& file, Description* description, std::vector<std::string>* problems);

// A disk size: a number of bytes, or 1.44M (1,457,664 bytes, what a
// formatted 1.44 MB disk holds). False for anything else.
bool ParseDiskSize(const std::string& text, uint64_t* size);
