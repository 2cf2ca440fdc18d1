#include "testkit/child_process.h"

#include <tlhelp32.h>

#include <fstream>
#include <iterator>

namespace {

// An inheritable handle to `path` for the child's standard output or error.
HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit {sizeof inherit, nullptr, TRUE};
    return CreateFileA(
        path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string NewTempFile()
{
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "rbt", 0, path);
    return path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ChildProcess::ChildProcess(const std::string& commandLine) : m_stdoutPath(NewTempFile()), m_stderrPath(NewTempFile())
{
    HANDLE out = InheritableFile(m_stdoutPath);
    HANDLE err = InheritableFile(m_stderrPath);
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string mutableLine = commandLine;  // CreateProcessA may write to it
    if (!CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &m_process)) {
        m_process = PROCESS_INFORMATION {};
    }
    CloseHandle(out);
    CloseHandle(err);
}

ChildProcess::~ChildProcess()
{
    if (Started()) {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 5000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    DeleteFileA(m_stdoutPath.c_str());
    DeleteFileA(m_stderrPath.c_str());
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    if (!Started() || WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(m_process.hProcess, exitCode) != 0;
}

std::string ChildProcess::Stdout() const
{
    return ReadFileBytes(m_stdoutPath);
}
std::string ChildProcess::Stderr() const
{
    return ReadFileBytes(m_stderrPath);
}

bool ChildProcess::WaitForOutput(const std::string& text, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    do {
        if (Stdout().find(text) != std::string::npos)
            return true;
        if (WaitForSingleObject(m_process.hProcess, 20) == WAIT_OBJECT_0)
            return Stdout().find(text) != std::string::npos;
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

std::vector<DWORD> ProcessIds(const char* exeName)
{
    std::vector<DWORD> pids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName) == 0)
            pids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return pids;
}

HANDLE WaitForProcess(const char* exeName, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        std::vector<DWORD> pids = ProcessIds(exeName);
        if (!pids.empty())
            return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE, FALSE,
                               pids[0]);
    }
    return nullptr;
}
