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
#include <cstdio>
#include <cstdlib>

#include "base/errreport.h"
#include "dazo/fenv2.h"
#include "dazo/filelock.h"
#include "testkit/child_process.h"

namespace {

std::string HeldErrorText()
{
    ErrorFrame info;
    GetErrorInfo(&info);
    ClearError();
    return info.code ? std::string(info.message) + "|" + info.context : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    // Every error is collected and printed, never shown.
    ErrorFrame frame;
    PushErrorFrame(&frame);
    std::string mode = argc > 2 ? argv[1] : "";
    DWORD ms = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
    if (mode == "hold-shared" && argc == 4) {
        SafePtr<FileLock> lock(new FileLock);
        if (!lock->Lock(argv[2], FL_SHARED | FL_DELETE, 10000, 100))
            return 3;
        std::printf("ready\n");
        std::fflush(stdout);
        Sleep(ms);
        return 0;
    }
    if (mode == "read" && argc == 4) {
        FEnv2 env(argv[2], ENV_LOCK, ms, 100);
        DataObjStr value;
        env.GetString(value, "S", "k", "");
        std::printf("loaded=%d k=[%s] error=[%s]\n", (env.GetFlags() & ENV_LOADED) ? 1 : 0, (const char*)value,
                    HeldErrorText().c_str());
        return 0;
    }
    if (mode == "poll" && argc == 6) {
        const std::string a = ReadFileBytes(argv[4]), b = ReadFileBytes(argv[5]);
        int reads = 0, missing = 0, other = 0;
        std::string first;
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms; ++reads) {
            FEnv2 env(argv[2], 0);
            std::string text(env.GetText(), env.GetTextSize()), error = HeldErrorText();
            bool loaded = env.GetFlags() & ENV_LOADED, whole = text == a || text == b;
            missing += !loaded;
            other += loaded && !whole;
            if (first.empty() && !(loaded && whole))
                first = loaded ? "a text of " + std::to_string(text.size()) + " bytes" : "not loaded: " + error;
            // A moment between reads, in which the saver can replace the file.
            Sleep(1);
        }
        std::printf("reads=%d missing=%d other=%d first=[%s]\n", reads, missing, other, first.c_str());
        return 0;
    }
    std::fprintf(stderr, "usage: settings_child.exe hold-shared LOCKPATH MS | read PATH TIMEOUT |"
                         " poll PATH MS TEXT_A TEXT_B\n");
    return 2;
}
