// Installs and updates run as a user meets them, for the end-to-end tests: a
// medium of three disks made by mkmedium from stand-ins of the application's
// files and the built SETUP.EXE, SETUP.EXE started from it as a user starts
// it while the robot answers every box and the setup dialog, and what the
// run left read back. Each run needs a Wine prefix of its own: the medium
// lies at fixed places of drive C.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "robot/robot_gtest.h"

// The caption of the setup's own boxes, and the setup dialog's.
extern const char kInstallTitle[];
extern const char kSetupDialogTitle[];

// The medium, in C:\medium\DISK1 (the folder the setup is started from) to
// DISK3, made from the vendor's tree in C:\vendor:
//   [Common]  $(WinSysPath)DARVO5UI.DLL deleted; COMMON.DLL
//   [Files]   DARVO5.EXE; DARVOSHL.EXE (starts disk 2); HELP\DARVO5.HLP; SETUP.EXE
//   [Setting] SHARE.ENV ([出納帳] Version=5500), DARVOSHL.ENV ([会社選択]
//             自動起動=0), DARVO5.ENV ([GrDarvo] RowHighlight=1)
//   [Sample]  サンプル.QLB
//   [Update]  DARVO5.EXE, DARVOSHL.EXE
//   [Files2]  README.TXT (starts disk 3); $(DocPath)読んでね.TXT (from DOC.TXT)
// Compressed: COMMON.DLL, the two programs, the sample and README.TXT.
// SETUP.EXE is the built one, stored plain.
class InstallRun {
public:
    // entryExe: install_entry.exe, for Install only.
    explicit InstallRun(const std::string& entryExe = "");

    // The folder of a disk of the medium, without its trailing backslash.
    static std::string Disk(int disk);
    // What inserting the disk does: its files are in DISK1 afterwards.
    static void Insert(int disk);
    // The disk prompt for source, the first file of the disk; whileOpen runs
    // before OK is pressed, and inserts the disk unless given.
    static robot::BoxAnswer DiskPrompt(int disk, const std::string& source,
                                       std::function<void(HWND)> whileOpen = nullptr);
    // A question (Yes/No) or a notice (OK) of the setup, and the answer.
    static robot::BoxAnswer Question(const std::string& text, int press);
    static robot::BoxAnswer Notice(const std::string& text);
    // The setup dialog: fill types into its controls, then OK is pressed.
    static robot::BoxAnswer SetupDialog(std::function<void(HWND)> fill = nullptr);
    // The stop request of the progress window's close box, during a section.
    static void PressStop();

    // SETUP.EXE of DISK1 started with tail, as a user starts it
    // (RunRelaunched).
    DWORD Setup(const std::string& tail, const std::vector<robot::BoxAnswer>& boxes);
    // install_entry.exe (tools/installentry) run with "name=value"
    // arguments, the medium's DISK1 as source: DoInstall's result, or 0xDEAD.
    DWORD Install(const std::vector<std::string>& arguments, const std::vector<robot::BoxAnswer>& boxes);

    // One line for each file (path: name of its source in the vendor's
    // tree, or "" for none) that does not hold its source's bytes with its
    // last-write time; "" when all do.
    std::string Differences(const std::map<std::string, std::string>& files) const;

private:
    std::string m_strEntry;
    std::map<std::string, std::string> m_sources;  // file name: its path in the vendor's tree
};

// Starts command as a user does: the first instance of the setup starts its
// copy SETUP1.EXE in the Windows folder and ends with 0; the robot answers
// the copy's boxes, which must all come. The copy's exit code, or 0xDEAD when
// a run did not end as it should.
DWORD RunRelaunched(const std::string& command, const std::vector<robot::BoxAnswer>& boxes);

// A folder of the shell (CSIDL_PROGRAM_FILES, ...) with its trailing
// backslash, as a program of this bitness sees it.
std::string ShellFolder(int csidl);
// Where the setup puts the Start-menu (or, with desktop, the desktop)
// shortcut: the shell folder of all users when there is one, else the
// user's own.
std::string ShortcutPath(bool desktop);

// The registry as an earlier setup and Windows left it: the application's
// "AppDir" (none when empty), and the registered owner and organisation of
// Windows.
void RegisterAppDir(const std::string& folder);
void RegisterOwner(const std::string& owner, const std::string& organization);
// Files put in place (path: bytes), their folders made as needed.
void PutFiles(const std::map<std::string, std::string>& files);
// The files named in folder (folder given with its trailing backslash), and
// two such maps joined, for PutFiles and Differences.
std::map<std::string, std::string> In(const std::string& folder, const std::map<std::string, std::string>& files);
std::map<std::string, std::string> operator+(std::map<std::string, std::string> a, const std::map<std::string, std::string>& b);

// The records of an installation, a line for each one present: the four
// application values, the ".QLB" type and its open command, the uninstall
// command, and each shortcut at ShortcutPath (target / description / icon,
// index). "" for none at all.
std::string DescribeRecords();
