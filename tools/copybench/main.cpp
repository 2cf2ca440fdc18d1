// Figures of the copy engine, printed rather than asserted, each measured
// side by side with what the platform itself does on the same files:
//  1. one section of plain files copied by the engine's entry function
//     (medium check, folder check, temporary file, time, flush, replace)
//     against a loop of CopyFileA + FlushFileBuffers, and CopyOneFile alone;
//  2. the same files compressed, expanded by the engine, against a bare
//     LZOpenFileA/LZRead/LZClose loop (which only reads), and against that
//     loop writing and flushing each file (the least any expansion into a
//     file does).
// Rounds alternate between the contenders; every figure is the best round.
//
//   copy_bench.exe generate FOLDER     writes the plain files FOLDER\Fnnnn.DAT
//   copy_bench.exe run PLAIN PACKED OUT
//                                      PACKED holds the same files compressed
//                                      as Fnnnn.DAT_; OUT is a scratch folder
#include <windows.h>
#include <lzexpand.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "base/errreport.h"
#include "setup/copyengine.h"
#include "setup/filelist.h"

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
        HANDLE file = CreateFileA((folder + Name(i, "DAT")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), kFileSize, &written, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (!ok || written != kFileSize) {
            std::printf("cannot write %s\n", (folder + Name(i, "DAT")).c_str());
            return 1;
        }
    }
    return 0;
}

void EmptyFolder(const std::string& folder)
{
    for (int i = 0; i < kFiles; ++i)
        DeleteFileA((folder + Name(i, "DAT")).c_str());
}

// The engine over one section: every entry as the section loop hands it on.
bool EngineSection(const std::string& source, const std::string& out, int compressed)
{
    const char* ext = compressed ? "DAT_" : "DAT";
    FileListEntry entry;
    for (int i = 0; i < kFiles; ++i) {
        std::string line = "1," + std::to_string(compressed) + "," + Name(i, ext) + "," + Name(i, "DAT") + "," + out;
        ParseListLine(line.c_str(), &entry, "", "");
        if (!CopyListEntry(entry, source.c_str(), nullptr))
            return false;
    }
    return true;
}

// CopyOneFile alone, without the medium and folder checks of an entry.
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

// LZRead over every compressed file; with out, each expanded into a file
// there and flushed.
bool LzReadLoop(const std::string& source, const std::string* out)
{
    static char buffer[16384];
    for (int i = 0; i < kFiles; ++i) {
        OFSTRUCT of = {};
        of.cBytes = sizeof(of);
        INT lz = LZOpenFileA(const_cast<char*>((source + Name(i, "DAT_")).c_str()), &of, OF_READ | OF_SHARE_DENY_WRITE);
        if (lz < 0)
            return false;
        HANDLE file = out ? CreateFileA((*out + Name(i, "DAT")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr)
                          : INVALID_HANDLE_VALUE;
        DWORD total = 0, written;
        for (INT got; (got = LZRead(lz, buffer, sizeof(buffer))) > 0; total += (DWORD)got)
            if (out)
                WriteFile(file, buffer, (DWORD)got, &written, nullptr);
        LZClose(lz);
        if (out && !(FlushFileBuffers(file) && CloseHandle(file)))
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

bool Race(Contender* contenders, int count)
{
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
        std::printf("  %-44s %7.3f s  %6.1f MB/s\n", contenders[c].name, contenders[c].best,
                    megabytes / contenders[c].best);
    return true;
}

int Run(const std::string& plain, const std::string& packed, const std::string& out)
{
    std::string engineOut = out + "engine\\", baseOut = out + "base\\";
    CreateDirectoryA(engineOut.c_str(), nullptr);
    CreateDirectoryA(baseOut.c_str(), nullptr);
    std::printf("%d files of %lu bytes, best of %d rounds\n", kFiles, (unsigned long)kFileSize, kRounds);

    std::printf("plain copy:\n");
    Contender copy[] = {
        {"CopyListEntry (engine)", [&] { return EngineSection(plain, engineOut, 0); }, engineOut},
        {"CopyFileA + FlushFileBuffers", [&] { return CopyFileLoop(plain, baseOut); }, baseOut},
        {"CopyOneFile alone (no medium or folder check)", [&] { return OneFileLoop(plain, engineOut); }, engineOut},
    };
    if (!Race(copy, 3))
        return 1;
    std::printf("expansion:\n");
    Contender expand[] = {
        {"CopyListEntry, compressed (engine)", [&] { return EngineSection(packed, engineOut, 1); }, engineOut},
        {"bare LZRead loop", [&] { return LzReadLoop(packed, nullptr); }, baseOut},
        {"LZRead loop + WriteFile + FlushFileBuffers", [&] { return LzReadLoop(packed, &baseOut); }, baseOut},
    };
    if (!Race(expand, 3))
        return 1;
    EmptyFolder(engineOut);
    EmptyFolder(baseOut);

    std::printf("ratios (baseline time / engine time; goal at least 0.95):\n");
    std::printf("  copy against CopyFileA + FlushFileBuffers      %.3f\n", copy[1].best / copy[0].best);
    std::printf("  expansion against the bare LZRead loop         %.3f\n", expand[1].best / expand[0].best);
    std::printf("  expansion against LZRead + write + flush       %.3f\n", expand[2].best / expand[0].best);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory)))
        std::printf("peak working set of this process: %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // The engine's failures go to a collecting frame and are printed with
    // the contender that met them, never shown.
    ErrorFrame frame;
    PushErrorFrame(&frame);
    int result = 2;
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0)
        result = Generate(std::string(argv[2]) + "\\");
    else if (argc == 5 && std::strcmp(argv[1], "run") == 0)
        result = Run(std::string(argv[2]) + "\\", std::string(argv[3]) + "\\", std::string(argv[4]) + "\\");
    else
        std::printf("usage: copy_bench generate FOLDER | run PLAIN PACKED OUT\n");
    ClearError();
    PopErrorFrame();
    return result;
}
