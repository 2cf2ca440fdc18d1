// Figures of the copy engine, printed rather than asserted, each measured
// side by side with what the platform itself does on the same files:
//  1. one section of plain files copied by CopyFileList (list lookups,
//     progress window, stop check, medium check, temporary file, time,
//     flush, replace) against a loop of CopyFileA + FlushFileBuffers; and,
//     to show where the time goes, the section without the progress window,
//     CopyOneFile alone, and that loop copying to a temporary name moved
//     over the target (the one-step replace the engine makes);
//  2. the same files compressed, one section expanded by CopyFileList,
//     against a bare LZOpenFileA/LZRead/LZClose loop (which only reads), and
//     against that loop writing and flushing each file (the least any
//     expansion into a file does), and that loop making the engine's
//     one-step replace;
//  3. install_entry.exe, which runs the very code SETUP.EXE runs (start-up,
//     background window, DoInstall), updating an installation from both
//     sections: its time and the peak working set of its process.
// Rounds alternate between the contenders; every figure is the best round.
//
//   copy_bench.exe generate FOLDER     writes the plain files FOLDER\Fnnnn.DAT
//   copy_bench.exe run DATA ENTRY      DATA holds plain\ (those files),
//                                      packed\ (the same compressed as
//                                      Fnnnn.DAT_) and out\ (scratch); ENTRY
//                                      is install_entry.exe
#include <windows.h>
#include <lzexpand.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "base/errreport.h"
#include "dazo/Doingwnd.h"
#include "dazo/fenv2.h"
#include "robot/robot.h"
#include "setup/copyengine.h"
#include "setup/filelist.h"
#include "setup/setup.h"

namespace {

const int kFiles = 1000;
const DWORD kFileSize = 100 * 1000;
const int kRounds = 5;

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

std::string Name(int i, const char* ext)
{
    char name[32];
    std::snprintf(name, sizeof(name), "F%04d.%s", i, ext);
    return name;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok || written != bytes.size())
        std::printf("cannot write %s\n", path.c_str());
    return ok && written == bytes.size();
}

// Text of words from a small vocabulary, as compressible as a program's
// files are; the same bytes on every run.
int Generate(const std::string& folder)
{
    static const char* const words[] = {"出納帳", "DARVO", "勘定科目", "setup", "0123", "ファイル", "data", "年度末",
                                        "の", "\r\n"};
    unsigned seed = 12345;
    std::string text;
    for (int i = 0; i < kFiles; ++i) {
        text.clear();
        while (text.size() < kFileSize) {
            seed = seed * 1103515245u + 12345u;
            text += words[(seed >> 16) % 10];
            text += ' ';
        }
        if (!WriteBytes(folder + Name(i, "DAT"), text.substr(0, kFileSize)))
            return 1;
    }
    return 0;
}

// The file list of both sections, sources relative to the data folder:
// "Update" expands packed\ into $(AppPath), "Files2" copies plain\ into
// $(DocPath) (an update copies both).
bool WriteList(const std::string& data)
{
    std::string list = "[Update]\r\n";
    for (int i = 0; i < kFiles; ++i)
        list += "File" + std::to_string(i + 1) + "=1,1,packed\\" + Name(i, "DAT_") + "," + Name(i, "DAT") +
                ",$(AppPath),,,,0\r\n";
    list += "[Files2]\r\n";
    for (int i = 0; i < kFiles; ++i)
        list += "File" + std::to_string(i + 1) + "=1,0,plain\\" + Name(i, "DAT") + "," + Name(i, "DAT") +
                ",$(DocPath),,,,0\r\n";
    return WriteBytes(data + "SETUP.LST", list);
}

void EmptyFolder(const std::string& folder)
{
    for (int i = 0; i < kFiles; ++i)
        DeleteFileA((folder + Name(i, "DAT")).c_str());
}

// CopyOneFile alone, without the list, the progress window and the medium
// and folder checks of an entry.
bool OneFileLoop(const std::string& source, const std::string& out)
{
    for (int i = 0; i < kFiles; ++i)
        if (CopyOneFile(0, (source + Name(i, "DAT")).c_str(), (out + Name(i, "DAT")).c_str()) != COPY_DONE)
            return false;
    return true;
}

bool Flush(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

bool CopyFileLoop(const std::string& source, const std::string& out)
{
    for (int i = 0; i < kFiles; ++i) {
        std::string target = out + Name(i, "DAT");
        if (!CopyFileA((source + Name(i, "DAT")).c_str(), target.c_str(), FALSE) || !Flush(target))
            return false;
    }
    return true;
}

// The temporary name of the platform's loops that make the engine's
// one-step replace: like the engine's, too long for a short name, which Wine
// would check every file of the folder against.
const char kTempName[] = "COPYTEMPFILE.TMP";

// The same through a temporary name moved over the target, the one-step
// replace the engine makes: what the replace itself costs.
bool CopyFileReplaceLoop(const std::string& source, const std::string& out)
{
    std::string temp = out + kTempName;
    for (int i = 0; i < kFiles; ++i) {
        if (!CopyFileA((source + Name(i, "DAT")).c_str(), temp.c_str(), FALSE) || !Flush(temp) ||
            !MoveFileExA(temp.c_str(), (out + Name(i, "DAT")).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
    }
    return true;
}

// LZRead over every compressed file; with out, each expanded into a file
// there and flushed; with replace too, into a temporary name moved over the
// file.
bool LzReadLoop(const std::string& source, const std::string* out, bool replace = false)
{
    static char buffer[16384];
    for (int i = 0; i < kFiles; ++i) {
        OFSTRUCT of = {};
        of.cBytes = sizeof(of);
        INT lz = LZOpenFileA(const_cast<char*>((source + Name(i, "DAT_")).c_str()), &of, OF_READ | OF_SHARE_DENY_WRITE);
        if (lz < 0)
            return false;
        std::string target = out ? *out + Name(i, "DAT") : "", written = replace ? *out + kTempName : target;
        HANDLE file = out ? CreateFileA(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                        nullptr)
                          : INVALID_HANDLE_VALUE;
        DWORD total = 0, count;
        for (INT got; (got = LZRead(lz, buffer, sizeof(buffer))) > 0; total += (DWORD)got)
            if (out)
                WriteFile(file, buffer, (DWORD)got, &count, nullptr);
        LZClose(lz);
        if (out && !(FlushFileBuffers(file) && CloseHandle(file)))
            return false;
        if (replace && !MoveFileExA(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        if (total != kFileSize)
            return false;
    }
    return true;
}

struct Contender {
    const char* name;
    std::function<bool()> run;
    std::string out;  // emptied before each round
    double best = 1e300;
};

bool Race(const char* title, Contender* contenders, int count)
{
    std::printf("%s:\n", title);
    for (int round = 0; round < kRounds; ++round) {
        for (int c = 0; c < count; ++c) {
            EmptyFolder(contenders[c].out);
            double start = Now();
            if (!contenders[c].run()) {
                ErrorFrame held;
                GetErrorInfo(&held);
                std::printf("%s failed: %s / %s\n", contenders[c].name, held.message, held.context);
                return false;
            }
            double elapsed = Now() - start;
            if (elapsed < contenders[c].best)
                contenders[c].best = elapsed;
        }
    }
    const double megabytes = (double)kFiles * kFileSize / 1e6;
    for (int c = 0; c < count; ++c)
        std::printf("  %-46s %7.3f s  %6.1f MB/s\n", contenders[c].name, contenders[c].best,
                    megabytes / contenders[c].best);
    return true;
}

double PeakMegabytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    return GetProcessMemoryInfo(process, &memory, sizeof(memory)) ? memory.PeakWorkingSetSize / 1048576.0 : -1;
}

// install_entry.exe updating an installation in out\app (data folder
// out\doc) from the list: its time to the closing message, and its peak
// working set read while that message is open.
bool RunEntry(const std::string& data, const std::string& entry)
{
    std::string app = data + "out\\app\\", doc = data + "out\\doc\\";
    CreateDirectoryA(app.c_str(), nullptr);
    CreateDirectoryA(doc.c_str(), nullptr);
    EmptyFolder(app);
    EmptyFolder(doc);
    if (!WriteBytes(app + "SHARE.ENV", "[出納帳]\r\nVersion=5500\r\n") || !WriteBytes(app + "DARVOSHL.ENV", ""))
        return false;
    // Folders without their trailing backslash, which would escape the
    // closing quote.
    auto folder = [](const std::string& path) { return path.substr(0, path.size() - 1); };
    std::string command = "\"" + entry + "\" \"source=" + folder(data) + "\" \"app=" + folder(app) + "\" \"doc=" +
                          folder(doc) + "\" update=1 sample=0";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double start = Now();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start %s\n", entry.c_str());
        return false;
    }
    robot::MessageBoxInfo box;
    std::string failure;
    HWND hwnd = robot::WaitMessageBox(process.dwProcessId, 600000, &box, &failure);
    double elapsed = Now() - start;
    double peak = PeakMegabytes(process.hProcess);
    bool completed = hwnd && box.text.find("セットアップを完了しました") == 0;
    if (hwnd)
        robot::PressButton(hwnd, box.buttons.empty() ? IDOK : box.buttons[0]);
    else
        TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!completed) {
        std::printf("install_entry.exe did not complete: %s\n", hwnd ? box.text.c_str() : failure.c_str());
        return false;
    }
    std::printf("install_entry.exe (the code SETUP.EXE runs), an update from both sections (%d files, %.0f MB):\n",
                2 * kFiles, 2.0 * kFiles * kFileSize / 1e6);
    std::printf("  start to closing message %.3f s, peak working set %.1f MB\n", elapsed, peak);
    EmptyFolder(app);
    EmptyFolder(doc);
    return true;
}

int Run(const std::string& data, const std::string& entry)
{
    std::string plain = data + "plain\\", packed = data + "packed\\";
    std::string engineOut = data + "out\\engine\\", baseOut = data + "out\\base\\";
    CreateDirectoryA(engineOut.c_str(), nullptr);
    CreateDirectoryA(baseOut.c_str(), nullptr);
    if (!WriteList(data))
        return 1;
    SafePtr<FEnv2> list(new FEnv2((data + "SETUP.LST").c_str(), 0, 10000, 100));
    if (!(list->GetFlags() & ENV_LOADED))
        return 1;
    // The progress window as the install procedure shows it.
    auto* doing = new DoingWnd;
    doing->Create("ヴェルンド！出納帳 セットアップ", -1, -1, 40 * g_nAveCharWidth, g_nCharHeight, nullptr,
                  DWS_STOP | DWS_NOGAUGE | DWS_SHOW);
    auto section = [&](const char* name) {
        return CopyFileList(list.Get(), doing, name, data.c_str(), engineOut.c_str(), engineOut.c_str()) != 0;
    };
    // The section loop without the progress window: what its painting and
    // message check cost.
    auto withoutWindow = [&](const char* name) {
        FileListEntry entry;
        DataObjStr keys = list->EnumKeys(name);
        for (const char* key = keys; *key; key += std::strlen(key) + 1)
            if (!ReadListEntry(list.Get(), name, key, engineOut.c_str(), engineOut.c_str(), &entry) ||
                !CopyListEntry(entry, data.c_str(), nullptr))
                return false;
        return true;
    };
    std::printf("%d files of %lu bytes, best of %d rounds\n", kFiles, (unsigned long)kFileSize, kRounds);

    Contender copy[] = {
        {"CopyFileList (engine)", [&] { return section("Files2"); }, engineOut},
        {"CopyFileA + FlushFileBuffers", [&] { return CopyFileLoop(plain, baseOut); }, baseOut},
        {"the same without the progress window", [&] { return withoutWindow("Files2"); }, engineOut},
        {"CopyOneFile alone (no list, window or checks)", [&] { return OneFileLoop(plain, engineOut); }, engineOut},
        {"CopyFileA + flush to a temporary, MoveFileExA", [&] { return CopyFileReplaceLoop(plain, baseOut); }, baseOut},
    };
    Contender expand[] = {
        {"CopyFileList, compressed (engine)", [&] { return section("Update"); }, engineOut},
        {"bare LZRead loop", [&] { return LzReadLoop(packed, nullptr); }, baseOut},
        {"LZRead loop + WriteFile + FlushFileBuffers", [&] { return LzReadLoop(packed, &baseOut); }, baseOut},
        {"the same to a temporary, MoveFileExA", [&] { return LzReadLoop(packed, &baseOut, true); }, baseOut},
    };
    bool raced = Race("plain copy", copy, 5) && Race("expansion", expand, 4);
    doing->Close();
    EmptyFolder(engineOut);
    EmptyFolder(baseOut);
    if (!raced)
        return 1;

    std::printf("ratios (baseline time / engine time; goal at least 0.95):\n");
    std::printf("  copy against CopyFileA + FlushFileBuffers      %.3f\n", copy[1].best / copy[0].best);
    std::printf("  copy against CopyFileA + flush + MoveFileExA   %.3f\n", copy[4].best / copy[0].best);
    std::printf("  expansion against the bare LZRead loop         %.3f\n", expand[1].best / expand[0].best);
    std::printf("  expansion against LZRead + write + flush       %.3f\n", expand[2].best / expand[0].best);
    std::printf("  expansion against the same + MoveFileExA       %.3f\n", expand[3].best / expand[0].best);
    std::printf("peak working set of this process: %.1f MB\n", PeakMegabytes(GetCurrentProcess()));
    return RunEntry(data, entry) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0)
        return Generate(std::string(argv[2]) + "\\");
    if (argc != 4 || std::strcmp(argv[1], "run") != 0) {
        std::printf("usage: copy_bench generate FOLDER | run DATA ENTRY\n");
        return 2;
    }
    // The start-up of SETUP.EXE, for the progress window. The engine's
    // failures go to a collecting frame and are printed with the contender
    // that met them, never shown.
    if (!CheckStartup(GetModuleHandleA(nullptr)))
        return 1;
    ErrorFrame frame;
    PushErrorFrame(&frame);
    int result = Run(std::string(argv[2]) + "\\", argv[3]);
    ClearError();
    PopErrorFrame();
    return result;
}
