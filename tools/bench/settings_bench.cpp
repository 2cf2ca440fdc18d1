// Figures for the settings-file class, printed rather than asserted, each the
// best of three runs:
//  1. a file list of 10,000 entries in one section, loaded and walked as the
//     copy engine walks it (EnumKeys, then one lookup per key);
//  2. a settings file of about 1 MB, loaded, changed by 1,000 WriteString
//     calls (changed keys spread over the file, new keys in existing sections,
//     new sections at the end, and writes that change nothing) and saved.
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

void Write(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int main()
{
    // Failures go to a collecting frame and are printed, never shown.
    ErrorFrame frame, info;
    PushErrorFrame(&frame);
    char temp[MAX_PATH], line[160];
    GetTempPathA(sizeof(temp), temp);
    std::string list = std::string(temp) + "bench_" + std::to_string(GetCurrentProcessId()) + ".LST";
    std::string large = list.substr(0, list.size() - 4) + ".ENV", text = "[Files]\r\n";
    for (int i = 0; i < 10000; ++i) {
        std::snprintf(line, sizeof(line), "F%05d=1,1,PROGRAM\\DARVO%05d.DL_,DARVO%05d.DLL,$(AppPath)LIB%02d,,,,0\r\n",
                      i, i, i, i % 50);
        text += line;
    }
    Write(list, text + "[Files2]\r\nX=1,0,README.TXT,README.TXT,$(DocPath)\r\n");
    std::printf("file list: 10000 entries in one section, %u bytes\n", (unsigned)text.size());
    SafePtr<FEnv2> env;
    DataObjStr keys, value;
    int walked = 0;
    Best({{"load", [&] { env = SafePtr<FEnv2>(new FEnv2(list.c_str(), 0)); }},
          {"EnumKeys", [&] { keys = env->EnumKeys("Files"); }},
          {"GetString per key (walk)",
           [&] {
               for (const char* key = keys; *key; key += std::strlen(key) + 1)
                   env->GetString(value, "Files", key, "");
           }},
          {"ReadListEntry per key (walk)", [&] {
               FileListEntry entry;
               for (const char* key = keys; *key; key += std::strlen(key) + 1)
                   walked += ReadListEntry(env.Get(), "Files", key, "C:\\APP\\", "C:\\DATA\\", &entry);
           }}});

    text.clear();
    for (int s = 0; s < 220; ++s) {
        text += "[帳簿設定" + std::to_string(1000 + s).substr(1) + "]\r\n";
        for (int k = 0; k < 100; ++k) {
            std::snprintf(line, sizeof(line), "項目%03d=%08d,ABCDEFGHIJKLMNOPQRSTUVWXYZ,%d\r\n", k, s * 1000 + k, k);
            text += line;
        }
        text += "\r\n";
    }
    std::printf("settings file: 220 sections of 100 keys, %u bytes\n", (unsigned)text.size());
    int saved = 0;
    Best({{nullptr, [&] { Write(large, text); }},
          {"load", [&] { env = SafePtr<FEnv2>(new FEnv2(large.c_str(), 0)); }},
          {"1000 WriteString calls",
           [&] {
               char section[32], key[32], newValue[64];
               for (int i = 0; i < 1000; ++i) {
                   int s = (i * 37) % 220, k = (i * 13) % 100;
                   std::snprintf(section, sizeof(section), i % 10 == 9 ? "新設%03d" : "帳簿設定%03d", s);
                   std::snprintf(key, sizeof(key), i % 4 == 3 ? "追加%03d" : "項目%03d", k);
                   std::snprintf(newValue, sizeof(newValue), i % 5 == 4 ? "%08d,ABCDEFGHIJKLMNOPQRSTUVWXYZ,%d" : "変更%d",
                                 s * 1000 + k, k);
                   env->WriteString(section, key, newValue);
               }
           }},
          {"Save", [&] { saved += env->Save(); }}});
    std::printf("  after the writes: %u bytes\n", env->GetTextSize());
    DeleteFileA(list.c_str());
    DeleteFileA(large.c_str());
    GetErrorInfo(&info);
    if (info.code)
        std::printf("error: %s / %s\n", info.message, info.context);
    PopErrorFrame();
    return info.code || walked != 3 * 10000 || saved != 3;
}
