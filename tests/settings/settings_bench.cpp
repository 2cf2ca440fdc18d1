// Figures for the settings-file class, printed rather than asserted:
//  1. a file list of 10,000 entries in one section, loaded and walked as the
//     copy engine walks it (EnumKeys, then one lookup per key);
//  2. a settings file of about 1 MB, loaded, changed by 1,000 WriteString
//     calls and saved.
// Each step is timed on its own; every figure is the best of a few runs.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "base/errreport.h"
#include "dazo/fenv2.h"
#include "setup/filelist.h"

namespace {

const int kListEntries = 10000;
const int kSections = 220;
const int kKeysPerSection = 100;
const int kWrites = 1000;
const int kRuns = 3;

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

std::string FileList()
{
    std::string text = "; the medium's file list\r\n[Files]\r\n";
    char line[160];
    for (int i = 0; i < kListEntries; ++i) {
        std::snprintf(line, sizeof(line), "F%05d=1,1,PROGRAM\\DARVO%05d.DL_,DARVO%05d.DLL,$(AppPath)LIB%02d,,,,0\r\n",
                      i, i, i, i % 50);
        text += line;
    }
    return text + "[Files2]\r\nX=1,0,README.TXT,README.TXT,$(DocPath)\r\n";
}

std::string SettingsText()
{
    std::string text;
    char line[160];
    for (int s = 0; s < kSections; ++s) {
        std::snprintf(line, sizeof(line), "[帳簿設定%03d]\r\n", s);
        text += line;
        for (int k = 0; k < kKeysPerSection; ++k) {
            std::snprintf(line, sizeof(line), "項目%03d=%08d,ABCDEFGHIJKLMNOPQRSTUVWXYZ,%d\r\n", k, s * 1000 + k, k);
            text += line;
        }
        text += "\r\n";
    }
    return text;
}

// The best time of kRuns runs of step, in ms.
double Best(const std::function<void()>& step)
{
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        double start = Now();
        step();
        double elapsed = Now() - start;
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

int BenchFileList(const std::string& folder)
{
    std::string path = folder + "SETUP.LST";
    std::string text = FileList();
    if (!WriteBytes(path, text))
        return 1;
    std::printf("file list: %d entries in one section, %u bytes\n", kListEntries, (unsigned)text.size());

    SafePtr<FEnv2> list;
    double load = Best([&] { list = SafePtr<FEnv2>(new FEnv2(path.c_str(), 0)); });
    if (!(list->GetFlags() & ENV_LOADED))
        return 1;
    DataObjStr keys;
    double enumerate = Best([&] { keys = list->EnumKeys("Files"); });

    int walked = 0;
    double lookups = Best([&] {
        walked = 0;
        DataObjStr value;
        for (const char* key = keys; *key; key += std::strlen(key) + 1) {
            int found = 0;
            list->GetString(value, "Files", key, "", &found);
            walked += found;
        }
    });
    int parsed = 0;
    double entries = Best([&] {
        parsed = 0;
        FileListEntry entry;
        for (const char* key = keys; *key; key += std::strlen(key) + 1)
            parsed += ReadListEntry(list.Get(), "Files", key, "C:\\APP\\", "C:\\DATA\\", &entry);
    });
    if (walked != kListEntries || parsed != kListEntries) {
        std::printf("walk found %d and parsed %d of %d entries\n", walked, parsed, kListEntries);
        return 1;
    }
    std::printf("  load                          %8.2f ms\n", load);
    std::printf("  EnumKeys                      %8.2f ms\n", enumerate);
    std::printf("  GetString per key (walk)      %8.2f ms\n", lookups);
    std::printf("  ReadListEntry per key (walk)  %8.2f ms\n", entries);
    DeleteFileA(path.c_str());
    return 0;
}

int BenchSettingsFile(const std::string& folder)
{
    std::string path = folder + "LARGE.ENV";
    std::string text = SettingsText();
    std::printf("settings file: %d sections of %d keys, %u bytes\n", kSections, kKeysPerSection,
                (unsigned)text.size());

    double load = 1e300, writes = 1e300, save = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        if (!WriteBytes(path, text))
            return 1;
        double t0 = Now();
        FEnv2 env(path.c_str(), 0);
        double t1 = Now();
        char section[32], key[32], value[64];
        // Changed keys spread over the file, new keys in existing sections,
        // new sections at the end, and writes that change nothing.
        for (int i = 0; i < kWrites; ++i) {
            int s = (i * 37) % kSections;
            std::snprintf(section, sizeof(section), i % 10 == 9 ? "新設%03d" : "帳簿設定%03d", s);
            std::snprintf(key, sizeof(key), i % 4 == 3 ? "追加%03d" : "項目%03d", (i * 13) % kKeysPerSection);
            std::snprintf(value, sizeof(value), i % 5 == 4 ? "%08d,ABCDEFGHIJKLMNOPQRSTUVWXYZ,%d" : "変更%d",
                          s * 1000 + (i * 13) % kKeysPerSection, (i * 13) % kKeysPerSection);
            env.WriteString(section, key, value);
        }
        double t2 = Now();
        int saved = env.Save();
        double t3 = Now();
        if (!saved || !(env.GetFlags() & ENV_LOADED))
            return 1;
        load = t1 - t0 < load ? t1 - t0 : load;
        writes = t2 - t1 < writes ? t2 - t1 : writes;
        save = t3 - t2 < save ? t3 - t2 : save;
        if (run == 0)
            std::printf("  after the writes: %u bytes\n", env.GetTextSize());
    }
    std::printf("  load                          %8.2f ms\n", load);
    std::printf("  %d WriteString calls        %8.2f ms\n", kWrites, writes);
    std::printf("  Save                          %8.2f ms\n", save);
    std::printf("  in all                        %8.2f ms\n", load + writes + save);
    DeleteFileA(path.c_str());
    return 0;
}

}  // namespace

int main()
{
    // Failures go to a collecting frame and are printed, never shown.
    ErrorFrame frame;
    PushErrorFrame(&frame);
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + "settings_bench_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    int result = BenchFileList(folder);
    if (result == 0)
        result = BenchSettingsFile(folder);
    RemoveDirectoryA(folder.c_str());
    if (GetError()) {
        ErrorFrame info;
        GetErrorInfo(&info);
        std::printf("error: %s / %s\n", info.message, info.context);
        result = 1;
    }
    PopErrorFrame();
    return result;
}
