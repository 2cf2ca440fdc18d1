// End-to-end runs of SETUP.EXE: a medium folder made in the test's own Wine
// prefix, the program started from it as a user would, and the processes it
// starts found again.
#pragma once

#include <windows.h>

#include <string>

#include "testkit/child_process.h"

constexpr DWORD kE2eWaitMs = 20000;

// The caption of the setup's own boxes.
constexpr char kSetupTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";

// Makes folder (with its parents) and copies the built SETUP.EXE into it;
// returns the copy's path.
std::string MakeMedium(const std::string& folder);

// The Windows folder with a trailing backslash.
std::string WindowsFolder();

// Starts an exe with a command tail, as Explorer or the uninstall entry would.
std::string CommandLineOf(const std::string& exe, const std::string& tail);

// A process found by the name of its exe, watched until it ends.
class RunningProcess {
public:
    // Waits for a process whose exe file name is exeName (e.g. "SETUP1.EXE").
    RunningProcess(const char* exeName, DWORD timeoutMs);
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    bool Found() const { return m_hProcess != nullptr; }
    DWORD Pid() const { return m_pid; }
    bool Wait(DWORD timeoutMs, DWORD* exitCode);

private:
    DWORD m_pid = 0;
    HANDLE m_hProcess = nullptr;
};
