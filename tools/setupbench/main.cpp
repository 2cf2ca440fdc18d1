// setup_bench.exe: SETUP.EXE's own figures on a big medium, printed for
// scripts/bench-setup; not a test. It starts SETUP.EXE from DISK1 as a user
// does, finds the copy SETUP1.EXE that does the work, accepts the setup
// dialog's defaults and the question before the copy, and at the closing
// message reads the time since the start and the copy's peak working set.
//
//   setup_bench.exe DISK1     DISK1: the medium's folder, without its
//                             trailing backslash
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "robot/robot.h"
#include "testkit/child_process.h"

namespace {

const DWORD kStartMs = 60000;
const DWORD kInstallMs = 1800000;
const char kSetupDialogTitle[] = "ヴェルンド！出納帳 Version 5 のセットアップ";
const char kGo[] = "セットアップを行います。よろしいですか？";
const char kCompleted[] = "セットアップを完了しました。";

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

// The copy's boxes, from the setup dialog to the closing message; false
// with what was met instead.
bool Install(DWORD pid, double start, HANDLE copy)
{
    std::string failure;
    HWND dialog = robot::WaitWindow(pid, "#32770", kSetupDialogTitle, kStartMs, &failure);
    if (!dialog || !robot::PressButton(dialog, IDOK)) {
        std::printf("no setup dialog: %s\n", failure.c_str());
        return false;
    }
    for (;;) {
        robot::MessageBoxInfo box;
        HWND hwnd = robot::WaitMessageBox(pid, kInstallMs, &box, &failure);
        if (!hwnd) {
            std::printf("no closing message: %s\n", failure.c_str());
            return false;
        }
        if (box.text == kGo) {
            robot::PressButton(hwnd, IDYES);
            robot::WaitGone(hwnd, kStartMs);
            continue;
        }
        double elapsed = Now() - start;
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof(memory);
        bool measured = GetProcessMemoryInfo(copy, &memory, sizeof(memory));
        robot::PressButton(hwnd, IDOK);
        if (box.text.compare(0, sizeof(kCompleted) - 1, kCompleted) != 0 || !measured) {
            std::printf("the setup did not complete: %s\n", box.text.c_str());
            return false;
        }
        std::printf("  start to closing message %.2f s, peak working set of SETUP1.EXE %.1f MB\n", elapsed,
                    memory.PeakWorkingSetSize / 1048576.0);
        return true;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("usage: setup_bench DISK1\n");
        return 2;
    }
    double start = Now();
    ChildProcess first(Quote(std::string(argv[1]) + "\\SETUP.EXE"));
    DWORD code = 1;
    if (!first.Wait(kStartMs, &code) || code != 0) {
        std::printf("SETUP.EXE did not relaunch itself (%lu)\n", (unsigned long)code);
        return 1;
    }
    HANDLE copy = WaitForProcess("SETUP1.EXE", kStartMs);
    if (!copy) {
        std::printf("no SETUP1.EXE runs\n");
        return 1;
    }
    bool installed = Install(GetProcessId(copy), start, copy);
    if (WaitForSingleObject(copy, kStartMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(copy, &code) || code != 0)
        installed = false;
    CloseHandle(copy);
    return installed ? 0 : 1;
}
