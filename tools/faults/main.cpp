// faults.exe: makes a fault real for a while, in a process of its own, so
// that the tests can run the program against it.
//
//   faults.exe hold-file PATH MS         open PATH without sharing
//   faults.exe hold-mutex NAME MS        create and own the named mutex
//   faults.exe window CLASS MS           show a top-level window of CLASS
//   faults.exe userlock ID USER VERSION MS [SIZE [IDTEXT]]
//                                        publish a user-lock block for ID as
//                                        made by USER, with that layout
//                                        version (and size and identification
//                                        text, when given)
//
// Each holds for MS milliseconds (or until killed), then lets go and exits 0.
// "ready" on standard output says the fault stands. Texts given on the
// command line arrive as Unicode and are converted to code page 932.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string ToCp932(const wchar_t* text)
{
    int size = WideCharToMultiByte(932, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(932, 0, text, -1, &out[0], size, nullptr, nullptr);
    return out;
}

void Ready()
{
    std::printf("ready\n");
    std::fflush(stdout);
}

// Waits for the time given, while answering window messages.
void Hold(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

int HoldFile(const std::string& path, DWORD ms)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    Ready();
    Hold(ms);
    CloseHandle(file);
    return 0;
}

int HoldMutex(const std::string& name, DWORD ms)
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    if (!mutex)
        return 3;
    Ready();
    Hold(ms);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 0;
}

int ShowWindowOfClass(const std::string& className, DWORD ms)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassA(&wc))
        return 3;
    HWND hwnd = CreateWindowExA(0, className.c_str(), "faults", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 3;
    Ready();
    Hold(ms);
    DestroyWindow(hwnd);
    return 0;
}

// The 136-byte block that the user lock shares between sessions.
struct UserLockBlock {
    char szId[64];
    uint32_t dwVersion;
    uint32_t dwSize;
    char szUser[64];
};

int PublishUserLock(const std::string& id, const std::string& user, uint32_t version, DWORD ms, uint32_t size,
                    const std::string& idText)
{
    std::string name = "Global\\Corva UserLock FileMapping " + id;
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(UserLockBlock),
                                        name.c_str());
    if (!mapping)
        return 3;
    auto block = static_cast<UserLockBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(UserLockBlock)));
    if (!block)
        return 3;
    std::memset(block, 0, sizeof(*block));
    std::strncpy(block->szId, idText.c_str(), sizeof(block->szId) - 1);
    block->dwVersion = version;
    block->dwSize = size;
    std::strncpy(block->szUser, user.c_str(), sizeof(block->szUser) - 1);
    Ready();
    Hold(ms);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(ToCp932(wargv[i]));
    auto ms = [](const std::string& text) { return (DWORD)std::strtoul(text.c_str(), nullptr, 10); };

    if (args.size() == 3 && args[0] == "hold-file")
        return HoldFile(args[1], ms(args[2]));
    if (args.size() == 3 && args[0] == "hold-mutex")
        return HoldMutex(args[1], ms(args[2]));
    if (args.size() == 3 && args[0] == "window")
        return ShowWindowOfClass(args[1], ms(args[2]));
    if (args.size() >= 5 && args.size() <= 7 && args[0] == "userlock")
        return PublishUserLock(args[1], args[2], (uint32_t)ms(args[3]), ms(args[4]),
                               args.size() > 5 ? (uint32_t)ms(args[5]) : sizeof(UserLockBlock),
                               args.size() > 6 ? args[6] : "Corva UserLock ShareDataID");
    std::fprintf(stderr, "usage: faults.exe hold-file PATH MS | hold-mutex NAME MS | window CLASS MS |"
                         " userlock ID USER VERSION MS [SIZE [IDTEXT]]\n");
    return 2;
}
