// A second program for the settings-file tests, so that locks and saves meet
// a real other process:
//
//   settings_child.exe hold-shared LOCKPATH MS
//       holds LOCKPATH as a reader's shared lock (what an FEnv2 with ENV_LOCK
//       holds while it reads) for MS ms, then lets go; "ready" once held
//   settings_child.exe read PATH TIMEOUT
//       opens PATH with ENV_LOCK, waiting TIMEOUT ms for the lock, and prints
//       "loaded=<0|1> k=[<value of [S] k>] error=[<message>|<context>]"
//   settings_child.exe poll PATH MS TEXT_A TEXT_B
//       reads PATH again and again for MS ms (as a program of this class
//       does, with read sharing) and prints "reads=N missing=N other=N" and
//       the first failure: every read must find the complete text of the
//       file TEXT_A or of TEXT_B
//
// Exit code 0 when the mode ran, 2 for a bad command line, 3 when the lock
// could not be taken.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/errreport.h"
#include "dazo/fenv2.h"
#include "dazo/filelock.h"

namespace {

std::string ReadWhole(const char* path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

std::string HeldErrorText()
{
    ErrorFrame info;
    GetErrorInfo(&info);
    ClearError();
    return info.code ? std::string(info.message) + "|" + info.context : std::string();
}

int HoldShared(const char* lockPath, DWORD ms)
{
    SafePtr<FileLock> lock(new FileLock);
    if (!lock->Lock(lockPath, FL_SHARED | FL_DELETE, 10000, 100))
        return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    Sleep(ms);
    lock->Unlock();
    return 0;
}

int Read(const char* path, DWORD timeout)
{
    FEnv2 env(path, ENV_LOCK, timeout, 100);
    DataObjStr value;
    env.GetString(value, "S", "k", "");
    std::printf("loaded=%d k=[%s] error=[%s]\n", (env.GetFlags() & ENV_LOADED) ? 1 : 0, (const char*)value,
                HeldErrorText().c_str());
    return 0;
}

int Poll(const char* path, DWORD ms, const char* textA, const char* textB)
{
    std::string a = ReadWhole(textA);
    std::string b = ReadWhole(textB);
    int reads = 0, missing = 0, other = 0;
    std::string first;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        FEnv2 env(path, 0);
        std::string text(env.GetText(), env.GetTextSize());
        std::string error = HeldErrorText();
        ++reads;
        if (!(env.GetFlags() & ENV_LOADED)) {
            ++missing;
            if (first.empty())
                first = "not loaded: " + error;
        } else if (text != a && text != b) {
            ++other;
            if (first.empty())
                first = "a text of " + std::to_string(text.size()) + " bytes";
        }
        // A moment between reads, in which the saver can replace the file.
        Sleep(1);
    }
    std::printf("reads=%d missing=%d other=%d first=[%s]\n", reads, missing, other, first.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Every error is collected and printed, never shown.
    ErrorFrame frame;
    PushErrorFrame(&frame);
    if (argc == 4 && !std::strcmp(argv[1], "hold-shared"))
        return HoldShared(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (argc == 4 && !std::strcmp(argv[1], "read"))
        return Read(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (argc == 6 && !std::strcmp(argv[1], "poll"))
        return Poll(argv[2], std::strtoul(argv[3], nullptr, 10), argv[4], argv[5]);
    std::fprintf(stderr, "usage: settings_child.exe hold-shared LOCKPATH MS | read PATH TIMEOUT |"
                         " poll PATH MS TEXT_A TEXT_B\n");
    return 2;
}
