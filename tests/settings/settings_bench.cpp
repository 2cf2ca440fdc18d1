// Figures for the settings-file class, printed rather than asserted, each the
// best of three runs:
//  1. a file list of 10,000 entries in one section, loaded and walked as the
//     copy engine walks it (EnumKeys, then one lookup per key);
//  2. a settings file of about 1 MB, loaded, changed by 1,000 WriteString
//     calls and saved.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/errreport.h"
#include "dazo/fenv2.h"
#include "setup/filelist.h"

namespace {

const int kListEntries = 10000, kSections = 220, kKeysPerSection = 100, kWrites = 1000;

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

// Runs the steps in turn three times and prints the best time of each named
// one, in ms.
void Best(const std::vector<std::pair<const char*, std::function<void()>>>& steps)
{
    std::vector<double> best(steps.size(), 1e300);
    for (int run = 0; run < 3; ++run)
        for (size_t i = 0; i < steps.size(); ++i) {
            double start = Now();
            steps[i].second();
            best[i] = std::min(best[i], Now() - start);
        }
    for (size_t i = 0; i < steps.size(); ++i)
        if (steps[i].first)
            std::printf("  %-30s %8.2f ms\n", steps[i].first, best[i]);
}

int BenchFileList(const std::string& path)
{
    std::string text = "; the medium's file list\r\n[Files]\r\n";
    char line[160];
    for (int i = 0; i < kListEntries; ++i) {
        std::snprintf(line, sizeof(line), "F%05d=1,1,PROGRAM\\DARVO%05d.DL_,DARVO%05d.DLL,$(AppPath)LIB%02d,,,,0\r\n",
                      i, i, i, i % 50);
        text += line;
    }
    if (!WriteBytes(path, text + "[Files2]\r\nX=1,0,README.TXT,README.TXT,$(DocPath)\r\n"))
        return 1;
    std::printf("file list: %d entries in one section, %u bytes\n", kListEntries, (unsigned)text.size());
    SafePtr<FEnv2> list;
    DataObjStr keys, value;
    int walked = 0, parsed = 0;
    Best({{"load", [&] { list = SafePtr<FEnv2>(new FEnv2(path.c_str(), 0)); }},
          {"EnumKeys", [&] { keys = list->EnumKeys("Files"); }},
          {"GetString per key (walk)",
           [&] {
               int found = 0;
               for (const char* key = keys; *key; key += std::strlen(key) + 1, walked += found)
                   list->GetString(value, "Files", key, "", &found);
           }},
          {"ReadListEntry per key (walk)", [&] {
               FileListEntry entry;
               for (const char* key = keys; *key; key += std::strlen(key) + 1)
                   parsed += ReadListEntry(list.Get(), "Files", key, "C:\\APP\\", "C:\\DATA\\", &entry);
           }}});
    return walked == 3 * kListEntries && parsed == 3 * kListEntries ? 0 : 1;
}

int BenchSettingsFile(const std::string& path)
{
    std::string text;
    char line[160];
    for (int s = 0; s < kSections; ++s) {
        text += "[帳簿設定" + std::to_string(1000 + s).substr(1) + "]\r\n";
        for (int k = 0; k < kKeysPerSection; ++k) {
            std::snprintf(line, sizeof(line), "項目%03d=%08d,ABCDEFGHIJKLMNOPQRSTUVWXYZ,%d\r\n", k, s * 1000 + k, k);
            text += line;
        }
        text += "\r\n";
    }
    std::printf("settings file: %d sections of %d keys, %u bytes\n", kSections, kKeysPerSection, (unsigned)text.size());
    SafePtr<FEnv2> env;
    int saved = 0;
    // Changed keys spread over the file, new keys in existing sections, new
    // sections at the end, and writes that change nothing.
    Best({{nullptr, [&] { WriteBytes(path, text); }},
          {"load", [&] { env = SafePtr<FEnv2>(new FEnv2(path.c_str(), 0)); }},
          {"1000 WriteString calls", [&] {
        char section[32], key[32], value[64];
        for (int i = 0; i < kWrites; ++i) {
            int s = (i * 37) % kSections, k = (i * 13) % kKeysPerSection;
            std::snprintf(section, sizeof(section), i % 10 == 9 ? "新設%03d" : "帳簿設定%03d", s);
            std::snprintf(key, sizeof(key), i % 4 == 3 ? "追加%03d" : "項目%03d", k);
            std::snprintf(value, sizeof(value), i % 5 == 4 ? "%08d,ABCDEFGHIJKLMNOPQRSTUVWXYZ,%d" : "変更%d",
                          s * 1000 + k, k);
            env->WriteString(section, key, value);
        }
    }},
          {"Save", [&] { saved += env->Save(); }}});
    std::printf("  after the writes: %u bytes\n", env->GetTextSize());
    return saved == 3 ? 0 : 1;
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
    int result = BenchFileList(folder + "SETUP.LST") || BenchSettingsFile(folder + "LARGE.ENV");
    DeleteFileA((folder + "SETUP.LST").c_str());
    DeleteFileA((folder + "LARGE.ENV").c_str());
    RemoveDirectoryA(folder.c_str());
    ErrorFrame info;
    GetErrorInfo(&info);
    if (info.code)
        std::printf("error: %s / %s\n", info.message, info.context);
    PopErrorFrame();
    return result || info.code;
}
