#include "setup_run.h"

#include <tlhelp32.h>

#include "dazo/Func.h"

std::string MakeMedium(const std::string& folder)
{
    CreateDirTree(folder.c_str());
    std::string exe = std::string(AddBackslash(folder.c_str())) + "SETUP.EXE";
    CopyFileA(SETUP_EXE, exe.c_str(), FALSE);
    return exe;
}

std::string WindowsFolder()
{
    return std::string(AddBackslash(GetWindowsDir()));
}

std::string CommandLineOf(const std::string& exe, const std::string& tail)
{
    return "\"" + exe + "\"" + (tail.empty() ? "" : " " + tail);
}

static DWORD FindProcessId(const char* exeName)
{
    DWORD pid = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more && !pid; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName) == 0)
            pid = entry.th32ProcessID;
    CloseHandle(snapshot);
    return pid;
}

RunningProcess::RunningProcess(const char* exeName, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        m_pid = FindProcessId(exeName);
        if (m_pid) {
            m_hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, m_pid);
            return;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
}

RunningProcess::~RunningProcess()
{
    if (m_hProcess) {
        if (WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_hProcess, 1);
        CloseHandle(m_hProcess);
    }
}

bool RunningProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    return m_hProcess && WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(m_hProcess, exitCode);
}
