// The medium builder: its compressor against LZ32 (LZOpenFileA, LZSeek,
// LZRead) as the copy engine expands files, the list of a two-disk medium
// read back through the setup's own parser, a description that would make a
// broken medium refused, a damaged medium found out by the check. The bytes
// and times of a medium's files, as the setup installs them, are the install
// flows' (tests/install).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dazo/fenv2.h"
#include "mkmedium/szdd.h"
#include "setup/filelist.h"
#include "testmedium/test_medium.h"

namespace {

namespace fs = std::filesystem;

std::string Repeat(const std::string& unit, size_t size)
{
    std::string bytes;
    while (bytes.size() < size)
        bytes += unit;
    return bytes.substr(0, size);
}

TEST(MediumSzdd, EveryFileExpandsThroughLz32ToTheOriginal)
{
    const std::string block = NoiseBytes(4078, 7);
    const struct { const char* name; std::string data; bool compresses; /* to less than half */ } rows[] = {
        {"empty", "", false},
        {"15 bytes", "fifteen bytes..", false},
        {"4096 bytes", Repeat("SETUP.LST, 1,1,DARVO5.EX_\r\n", 4096), true},
        {"incompressible", NoiseBytes(100000, 11), false},
        {"spaces first (repeats from the window's own spaces)", std::string(4200, ' ') + "end", true},
        {"repeats from the farthest distance", block + block + block, true},
        {"text", Repeat("ヴェルンド！出納帳 the quick brown fox 0123456789\r\n", 300000), true},
    };
    WorkFolder work("medium_szdd");
    const std::string path = work.Path() + "FILE.TX_";
    for (const auto& row : rows) {
        Bytes compressed = SzddCompress(Bytes(row.data.begin(), row.data.end()), 'T');
        ASSERT_TRUE(WriteTestFile(path, std::string(compressed.begin(), compressed.end())));
        long declared = -1;
        std::string expanded = ExpandWithLz32(path, &declared);
        EXPECT_TRUE(expanded == row.data && declared == (long)row.data.size())
            << row.name << ": expanded to " << expanded.size() << " bytes, declared " << declared;
        EXPECT_TRUE(!row.compresses || compressed.size() < row.data.size() / 2) << row.name;
    }
}

const char kDescription[] =
    "; the medium of the tests\r\n"
    "[Medium]\r\n"
    "Source=src\r\n"
    "[Common]\r\n"
    "$(WinSysPath)OLD.DLL=, delete\r\n"
    "[Files]\r\n"
    "$(AppPath)DARVO5.EXE = bin\\DARVO5.EXE, compress\r\n"
    "$(AppPath)DARVOSHL.EXE=bin/DARVOSHL.EXE,compress\r\n"
    "$(AppPath)README.TXT=doc\\README.TXT\r\n"
    "$(AppPath)HELP\\README.TXT=doc\\HELP.TXT, plain\r\n"
    "$(AppPath)A,B.TXT=doc\\README.TXT, compress\r\n"
    "[Sample]\r\n"
    "$(AppPath)サンプル.QLB=sample\\サンプル.QLB, compress\r\n"
    "[Update]\r\n"
    "$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n";

// The vendor's build tree (src\) and the folder of SETUP.EXE (setup\) serve
// first descriptions that would make a broken medium, then a sound one.
TEST(MediumBuilder, RefusesWhatWouldMakeABrokenMediumThenATwoDiskListReadsBackAndTheCheckFindsItsDamage)
{
    WorkFolder work("medium_test");
    for (const char* folder : {"src\\bin", "src\\doc", "src\\sample", "setup"})
        fs::create_directories(work.Path() + folder);
    WriteTestFile(work.Path() + "setup\\SETUP.EXE", "MZ" + NoiseBytes(998, 1));
    WriteTestFile(work.Path() + "src\\bin\\DARVO5.EXE", NoiseBytes(3000, 2));
    WriteTestFile(work.Path() + "src\\bin\\DARVOSHL.EXE", std::string(20000, 'S'));
    WriteTestFile(work.Path() + "src\\doc\\README.TXT", std::string(2500, 'R'));
    WriteTestFile(work.Path() + "src\\doc\\HELP.TXT", "help\r\n");
    WriteTestFile(work.Path() + "src\\sample\\サンプル.QLB", NoiseBytes(2000, 3));
    const std::string disk1 = work.Path() + "out\\DISK1\\", disk2 = work.Path() + "out\\DISK2\\";
    // Each line follows a sound line 4 of [Files] and is refused on line 5
    // of medium.txt with `message`; nothing of a medium is made.
    const std::string soundStart = "[Medium]\r\nSource=src\r\n[Files]\r\n$(AppPath)X.EXE=doc\\HELP.TXT\r\n";
    const struct { const char* text; const char* message; } rows[] = {
        {"$(AppPath)Y.EXE=bin\\MISSING.EXE", "MISSING.EXE not found"},
        {"[$(AppPath)Y.EXE=bin\\DARVO5.EXE",
         "a section header is [name] alone on its line (a target cannot start with \"[\")"},
        {"$(AppPath)X\"Y.EXE=bin\\DARVO5.EXE",
         "the file name of target $(AppPath)X\"Y.EXE holds the character \", which Windows names cannot hold"},
        {"$(AppPath)X\x01.EXE=bin\\DARVO5.EXE",
         "the file name of target $(AppPath)X\x01.EXE holds the control byte 0x01"},
        {"$(AppPath)SUB\x1F\\X.EXE=bin\\DARVO5.EXE",
         "the folder of target $(AppPath)SUB\x1F\\X.EXE holds the control byte 0x1F"},
        {"$(apppath)\\x.exe=bin\\DARVOSHL.EXE", "target $(apppath)\\x.exe is already in [Files] at line 4"},
        {"$(AppPath)README.TXT=doc\\README.TXT", "README.TXT is 2,500 bytes, more than a disk of 2,048 bytes holds"},
        // Its compressed size (3,xxx bytes) counts, not the 3,000 of the original.
        {"$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress", "DARVO5.EX_ is 3,"},
        {"[Flies]", "unknown section [Flies]"},
        {"Y.EXE=bin\\DARVO5.EXE", "target Y.EXE names no folder"},
        {"$(AppPath)Y.EXE=", "no source file"},
    };
    for (const auto& row : rows) {
        MediumRun run = MakeTestMedium(work.Path(), soundStart + row.text + "\r\n", work.Path() + "setup",
                                       {"--disk-size", "2048"});
        size_t at = run.problems.find("medium.txt:5: ");
        std::string line = at == std::string::npos ? "" : run.problems.substr(at, run.problems.find('\n', at) - at);
        EXPECT_TRUE(run.status == 1 && line.find(row.message) != std::string::npos)
            << row.message << "\n" << run.problems;
        EXPECT_FALSE(fs::exists(disk1)) << "something is left of a refused medium: " << row.message;
    }

    MediumRun made = MakeTestMedium(work.Path(), kDescription, work.Path() + "setup", {"--disk-size", "8192"});
    ASSERT_EQ(0, made.status) << made.problems;
    SafePtr<FEnv2> list(new FEnv2((disk1 + "SETUP.LST").c_str(), 0));
    std::vector<std::string> read;
    for (const char* section : {"Common", "Update", "Files", "Setting", "Sample", "Files2"}) {
        DataObjStr names = list->EnumKeys(section);
        for (const char* key = names; *key; key += strlen(key) + 1) {
            FileListEntry e;
            ASSERT_EQ(1, ReadListEntry(list.Get(), section, key, "C:\\APP", "D:\\DOC", &e)) << key;
            read.push_back(std::string(section) + " " + std::string(e.m_strFolder) + std::string(e.m_strName) + " < " +
                           std::to_string(e.m_nDisk) + ":" + std::string(e.m_strSource) +
                           (e.m_fCompressed ? " compressed" : ""));
        }
    }
    const std::string system = std::string(ExpandPathMacros("$(WinSysPath)", "", ""));
    // Each target with the disk and name of its file on the medium: one file for the same source in two
    // sections, a name taken twice moved to a numbered folder, a comma kept in the quoted field.
    EXPECT_EQ((std::vector<std::string> {"Common " + system + "OLD.DLL < 0:",
                                         "Update C:\\APP\\DARVO5.EXE < 1:DARVO5.EX_ compressed",
                                         "Files C:\\APP\\DARVO5.EXE < 1:DARVO5.EX_ compressed",
                                         "Files C:\\APP\\DARVOSHL.EXE < 1:DARVOSHL.EX_ compressed",
                                         "Files C:\\APP\\README.TXT < 2:README.TXT",
                                         "Files C:\\APP\\HELP\\README.TXT < 2:2\\README.TXT",
                                         "Files C:\\APP\\A,B.TXT < 2:A,B.TX_ compressed",
                                         "Sample C:\\APP\\サンプル.QLB < 2:サンプル.QL_ compressed"}),
              read);

    MediumRun sound = RunMediumTool({"--check", work.Path() + "out"});
    EXPECT_TRUE(sound.status == 0 && sound.said.find("8 entries in 4 sections, 2 disks: sound") != std::string::npos)
        << sound.said << sound.problems;
    // A file cut short, a file gone, a key written twice.
    fs::resize_file(disk1 + "DARVO5.EX_", fs::file_size(disk1 + "DARVO5.EX_") - 10);
    fs::remove(disk2 + "README.TXT");
    std::ofstream(disk1 + "SETUP.LST", std::ios::app) << "file1=0,0,,X.DLL,$(AppPath),,,,0\r\n";
    MediumRun damaged = RunMediumTool({"--check", work.Path() + "out"});
    EXPECT_EQ(1, damaged.status);
    for (const char* fault : {"[Update] File1: DARVO5.EX_ expands to ", "[Files] File3: README.TXT is on no disk",
                              ":14: [Sample] file1: the key of line 13 again; the setup would process that line twice"})
        EXPECT_NE(std::string::npos, damaged.problems.find(fault)) << fault << "\n" << damaged.problems;
}

}  // namespace
