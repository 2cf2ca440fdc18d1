// The setup flow: entry, command line and run modes.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

extern const char g_szSetupTitle[];  // default caption of the setup's boxes

// The process's exit code: 0 unless an uninstall starts (1) and does not
// complete.
extern int g_nExitCode;

// What the command tail asks for.
struct CommandLine {
    bool fUpdate = false;     // "/UPDATE"
    bool fUninstall = false;  // "/UNINSTALL"
    DataObjStr strSource;     // the first word that is not an option
};
CommandLine ParseCommandTail(const char* tail);

// Start-up checks; nonzero when the program may go on (else the reason has
// been shown).
int CheckStartup(HINSTANCE hInstance);
// Copies this program to the Windows folder as SETUP1.EXE and starts it with
// the options given and this program's folder; 1 when the copy was started.
int RelaunchCopy(const char* tail);
// Takes the single-instance mutexes and runs the install or the uninstall.
void SelectMode(bool fUpdate, bool fUninstall, const DataObjStr& source);

// Install or update from a source folder, and uninstall of a program folder.
void RunInstall(bool fUpdate, DataObjStr source);
void RunAddRemove(DataObjStr programFolder);
