// Child processes of the tests: the program under test, fixtures and the
// fault makers of tools/faults.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// "\"text\"" for a command line (the texts used here hold no quotes).
std::string Quote(const std::string& text);

// A child process whose stdout and stderr go to temporary files. The
// destructor ends it if it still runs, so that a failed test leaves no
// window behind, and removes the files.
class ChildProcess {
public:
    // `commandLine` in code page 932; CreateProcessA passes it on as Unicode.
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    DWORD Pid() const { return m_process.dwProcessId; }

    // Waits for the end; false on time-out.
    bool Wait(DWORD timeoutMs, DWORD* exitCode);

    std::string Stdout() const;
    std::string Stderr() const;

    // Waits until the child has written text to its standard output (as
    // faults.exe writes "ready"); false on time-out or when it ended first.
    bool WaitForOutput(const std::string& text, DWORD timeoutMs) const;

private:
    std::string m_stdoutPath;
    std::string m_stderrPath;
    PROCESS_INFORMATION m_process {};
};

// A new empty temporary file's path, and a file's bytes ("" if unreadable).
std::string NewTempFile();
std::string ReadFileBytes(const std::string& path);

// The processes whose exe is named exeName ("SETUP1.EXE"), in any case.
std::vector<DWORD> ProcessIds(const char* exeName);
// Waits for a process of that name to run and opens it (to wait for it, read
// its exit code and memory figures, end it); null on time-out. The caller
// closes the handle.
HANDLE WaitForProcess(const char* exeName, DWORD timeoutMs);
