// The install procedure run as a user meets it, for the end-to-end tests:
// a medium of three disks made by mkmedium from stand-ins of the
// application's files, install_entry.exe started with the user's choices
// while the robot answers its boxes, and what the run left read back.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "robot/robot_gtest.h"
#include "testmedium/test_medium.h"

// The caption of the setup's own boxes.
extern const char kInstallTitle[];

// The medium, in DISK1 (the folder the setup is started from) to DISK3:
//   [Common]  $(WinSysPath)DARVO5UI.DLL deleted; COMMON.DLL
//   [Files]   DARVO5.EXE; DARVOSHL.EXE (starts disk 2); HELP\DARVO5.HLP; SETUP.EXE
//   [Setting] SHARE.ENV ([出納帳] Version=5500), DARVOSHL.ENV ([会社選択]
//             自動起動=0), DARVO5.ENV ([GrDarvo] RowHighlight=1)
//   [Sample]  サンプル.QLB
//   [Update]  DARVO5.EXE, DARVOSHL.EXE
//   [Files2]  README.TXT (starts disk 3); $(DocPath)読んでね.TXT (from DOC.TXT)
// Compressed: COMMON.DLL, the two programs, the sample and README.TXT.
class InstallRun {
public:
    // entryExe: install_entry.exe.
    explicit InstallRun(const std::string& entryExe);

    // What inserting the disk does: its files are in DISK1 afterwards.
    void Insert(int disk);
    // The disk prompt for source, the first file of the disk; whileOpen runs
    // before OK is pressed.
    robot::BoxAnswer DiskPrompt(int disk, const std::string& source, std::function<void(HWND)> whileOpen) const;
    // A question (Yes/No) or a notice (OK) of the setup, and the answer.
    static robot::BoxAnswer Question(const std::string& text, int press);
    static robot::BoxAnswer Notice(const std::string& text);
    // The stop request of the progress window's close box, during a section.
    void PressStop() const;

    // Runs install_entry.exe with "name=value" arguments while the robot
    // answers the boxes, which must all come; the exit code (DoInstall's
    // result), or 0xDEAD when the run did not end.
    DWORD Install(const std::vector<std::string>& arguments, const std::vector<robot::BoxAnswer>& boxes);

    // One line for each file (path: name of its source on the medium, or ""
    // for none) that does not hold what it should; "" when all do.
    std::string Differences(const std::map<std::string, std::string>& files) const;

private:
    std::string Disk(int disk) const;

    std::string m_strEntry;
    WorkFolder m_work;
    std::map<std::string, std::string> m_sources;  // file name: bytes
    DWORD m_pid = 0;
};

// Where the setup puts the Start-menu (or, with desktop, the desktop)
// shortcut: the shell folder of all users when there is one, else the
// user's own.
std::string ShortcutPath(bool desktop);

// The records of an installation, a line for each one present: the four
// application values, the ".QLB" type and its open command, the uninstall
// command, and each shortcut at ShortcutPath (target / description / icon,
// index). "" for none at all.
std::string DescribeRecords();
