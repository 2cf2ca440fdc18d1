// The uninstall run as a user meets it, for the end-to-end tests: an
// installation made by install_entry.exe (tools/installentry) from a
// one-disk medium that mkmedium makes with the built SETUP.EXE, the uninstall
// entry's command line started while the robot answers the choice dialog and
// every box, and what stays read back. Each run needs a Wine prefix of its
// own: the installation lies at fixed places of drive C.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "robot/robot_gtest.h"
#include "testkit/child_process.h"
#include "testmedium/test_medium.h"

// The medium ([Files] DARVO5.EXE compressed, DARVOSHL.EXE, HELP\DARVO5.HLP,
// SETUP.EXE; [Setting] SHARE.ENV, DARVOSHL.ENV; [Sample] サンプル.QLB),
// installed into app (with the desktop shortcut) and doc, both given with
// their trailing backslash.
class UninstallRun {
public:
    UninstallRun(const std::string& app, const std::string& doc);

    // The sample's bytes, as the installation put them in the data folder.
    const std::string& Sample() const { return m_strSample; }

    // The choice dialog, and the button pressed.
    static robot::BoxAnswer Choice(int button);
    // The removal's confirmation of folder, and the answer.
    static robot::BoxAnswer Confirm(const std::string& folder, int press);
    // A box of the removal ("削除しました", ...), or one with the setup's
    // own caption (press: IDOK, or IDYES/IDNO for a question).
    static robot::BoxAnswer Removal(const std::string& text);
    static robot::BoxAnswer Setup(const std::string& text, int press = IDOK);
    // The choice of the removal, its confirmation for folder, then boxes.
    static std::vector<robot::BoxAnswer> Remove(const std::string& folder, std::vector<robot::BoxAnswer> boxes);

    // Starts command as a user does and answers the boxes of the setup that
    // does the work: with relaunch, the first instance's copy SETUP1.EXE in
    // the Windows folder, else the process started. The worker's exit code,
    // or 0xDEAD when a run did not end as it should.
    static DWORD Run(const std::string& command, bool relaunch, const std::vector<robot::BoxAnswer>& boxes);
    // The uninstall entry's command line, as the installation wrote it.
    static std::string UninstallCommand();

private:
    WorkFolder m_work;
    std::string m_strSample;
};

// The records of an installation that an uninstall may remove, a line for
// each present: the four application values, the application's key, the
// ".QLB" type, the document type's key, the uninstall command, the Start-menu
// and desktop shortcuts.
std::string DescribeInstallation();
// The application's temporary folders, each with a file, in the temporary
// folder; and whether one of them is there.
void PutTemporaryFolders();
bool TemporaryFoldersThere();
// A value of the application's key (as another installation left it).
void SetAppValue(const char* name, const std::string& text);
// tools/faults holding path open, until the process is released.
std::unique_ptr<ChildProcess> HoldOpen(const std::string& path);
// What folder holds, a line for each file and (with a trailing backslash)
// folder below it, in name order; "(none)" when the folder is not there.
std::string ListTree(const std::string& folder);
