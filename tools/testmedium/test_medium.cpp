#include "testmedium/test_medium.h"

#include <windows.h>

#include <lzexpand.h>

#include <filesystem>
#include <fstream>

#include "mkmedium/cli.h"
#include "mkmedium/cp932.h"

WorkFolder::WorkFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    m_path = std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
    std::filesystem::create_directories(m_path, error);
}

WorkFolder::~WorkFolder()
{
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

bool WriteTestFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    out.close();
    return !out.fail();
}

std::string NoiseBytes(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = (char)(seed >> 23);
    }
    return bytes;
}

std::string ExpandWithLz32(const std::string& path, long* declared)
{
    OFSTRUCT of = {};
    of.cBytes = sizeof(of);
    INT h = LZOpenFileA(const_cast<char*>(path.c_str()), &of, OF_READ | OF_SHARE_DENY_WRITE);
    if (h < 0)
        return "<LZOpenFileA failed>";
    *declared = LZSeek(h, 0, 2);
    LZSeek(h, 0, 0);
    std::string bytes;
    char buffer[16384];
    for (INT n; (n = LZRead(h, buffer, sizeof(buffer))) > 0;)
        bytes.append(buffer, n);
    LZClose(h);
    return bytes;
}

namespace {

class CapturedConsole : public Console {
public:
    explicit CapturedConsole(MediumRun* run) : m_run(run) {}
    void Problem(const std::string& text) override { m_run->problems += text + "\n"; }
    void Say(const std::string& text) override { m_run->said += text + "\n"; }
    void Progress(const std::string&) override {}

private:
    MediumRun* m_run;
};

}  // namespace

MediumRun RunMediumTool(const std::vector<std::string>& args)
{
    std::vector<std::string> utf8(args.size());
    for (size_t i = 0; i < args.size(); ++i)
        Cp932ToUtf8(args[i], &utf8[i]);
    MediumRun run;
    CapturedConsole console(&run);
    run.status = RunMkmedium(utf8, console);
    return run;
}

MediumRun MakeTestMedium(const std::string& work, const std::string& descriptionText, const std::string& setupFolder,
                         const std::vector<std::string>& options)
{
    WriteTestFile(work + "medium.txt", descriptionText);
    std::vector<std::string> args = options;
    args.insert(args.end(), {work + "medium.txt", setupFolder, work + "out"});
    return RunMediumTool(args);
}
