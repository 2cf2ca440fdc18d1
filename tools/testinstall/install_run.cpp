#include "testinstall/install_run.h"

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>

#include "base/text.h"
#include "robot/robot.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"
#include "testkit/child_process.h"
#include "testkit/file_facts.h"
#include "testkit/shortcut_reader.h"
#include "testmedium/test_medium.h"

const char kInstallTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
const char kSetupDialogTitle[] = "ヴェルンド！出納帳 Version 5 のセットアップ";

namespace {

const char kVendor[] = "C:\\vendor\\";
const DWORD kRunMs = 20000;

const char kDescription[] =
    "[Common]\r\n$(WinSysPath)DARVO5UI.DLL=, delete\r\n$(AppPath)COMMON.DLL=bin\\COMMON.DLL, compress\r\n"
    "[Files]\r\n$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=bin\\DARVOSHL.EXE, compress\r\n"
    "$(AppPath)HELP\\DARVO5.HLP=doc\\DARVO5.HLP\r\n$(AppPath)SETUP.EXE=setup\\SETUP.EXE\r\n"
    "[Setting]\r\n$(AppPath)SHARE.ENV=settings\\SHARE.ENV\r\n$(AppPath)DARVOSHL.ENV=settings\\DARVOSHL.ENV\r\n"
    "$(AppPath)DARVO5.ENV=settings\\DARVO5.ENV\r\n"
    "[Sample]\r\n$(AppPath)サンプル.QLB=sample\\サンプル.QLB, compress\r\n"
    "[Update]\r\n$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=bin\\DARVOSHL.EXE, compress\r\n"
    "[Files2]\r\n$(AppPath)README.TXT=doc\\README.TXT, compress\r\n$(DocPath)読んでね.TXT=doc\\DOC.TXT\r\n";

}  // namespace

InstallRun::InstallRun(const std::string& entryExe) : m_strEntry(entryExe)
{
    // A disk holds the built SETUP.EXE and 19,456 bytes more. Disk 1 takes
    // COMMON.DLL and DARVO5.EXE besides; README.TXT, stored with the eighth
    // more that LZ adds to bytes without repeats, is too large for what disk 2
    // has left after DARVOSHL.EXE and the files up to it.
    std::string setup = ReadFileBytes(SETUP_EXE);
    size_t diskSize = (setup.size() + 511) / 512 * 512 + 19456;
    const std::pair<const char*, std::string> sources[] = {
        {"setup\\SETUP.EXE", setup}, {"bin\\DARVO5.EXE", NoiseBytes(8000, 2)},
        {"bin\\DARVOSHL.EXE", NoiseBytes(8000, 3)}, {"bin\\COMMON.DLL", NoiseBytes(2000, 4)},
        {"doc\\DARVO5.HLP", NoiseBytes(2000, 5)}, {"doc\\README.TXT", NoiseBytes((diskSize - 7000) * 8 / 9, 6)},
        {"doc\\DOC.TXT", "読んでね\r\n"}, {"settings\\SHARE.ENV", "[出納帳]\r\nVersion=5500\r\n"},
        {"settings\\DARVOSHL.ENV", "[会社選択]\r\n自動起動=0\r\n"},
        {"settings\\DARVO5.ENV", "[GrDarvo]\r\nRowHighlight=1\r\n"}, {"sample\\サンプル.QLB", NoiseBytes(2000, 7)}};
    // Each source gets a time of its own, long past and in whole seconds:
    // mkmedium keeps a file's time only to the second, and an installed file
    // with the time of its copy must not pass for one with its source's.
    SYSTEMTIME day = {1999, 4, 0, 1, 9, 0, 0, 0};
    FILETIME time;
    SystemTimeToFileTime(&day, &time);
    for (const auto& [path, bytes] : sources) {
        std::string file = kVendor + std::string(path);
        std::filesystem::create_directories(file.substr(0, file.rfind('\\')));
        WriteTestFile(file, bytes);
        ULARGE_INTEGER later = {{time.dwLowDateTime, time.dwHighDateTime}};
        later.QuadPart += 60 * 10000000ULL;
        time = {later.LowPart, later.HighPart};
        EXPECT_TRUE(SetLastWriteTime(file, time)) << file;
        m_sources[file.substr(file.rfind('\\') + 1)] = file;
    }
    WriteTestFile(kVendor + std::string("medium.txt"), "[Medium]\r\nDiskSize=" + std::to_string(diskSize) + "\r\n" + kDescription);
    MediumRun made = RunMediumTool({kVendor + std::string("medium.txt"), kVendor + std::string("setup"), "C:\\medium"});
    EXPECT_EQ(0, made.status) << made.problems;
}

std::string InstallRun::Disk(int disk)
{
    return "C:\\medium\\DISK" + std::to_string(disk);
}

void InstallRun::Insert(int disk)
{
    // CopyFileA keeps each file's time, as a disk put in the drive would.
    for (const std::string& name : FolderEntries(Disk(disk) + "\\"))
        EXPECT_TRUE(CopyFileA((Disk(disk) + "\\" + name).c_str(), (Disk(1) + "\\" + name).c_str(), FALSE)) << name;
}

robot::BoxAnswer InstallRun::DiskPrompt(int disk, const std::string& source, std::function<void(HWND)> whileOpen)
{
    if (!whileOpen)
        whileOpen = [disk](HWND) { Insert(disk); };
    return {source + "のコピー",
            "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスク " + std::to_string(disk) + " を " + Disk(1) +
                "\\ にセットして [OK] ボタンを押して下さい",
            {IDOK, IDCANCEL}, IDOK, whileOpen};
}

robot::BoxAnswer InstallRun::Question(const std::string& text, int press)
{
    return {kInstallTitle, text, {IDYES, IDNO}, press};
}

robot::BoxAnswer InstallRun::Notice(const std::string& text)
{
    return {kInstallTitle, text, {IDOK}, IDOK};
}

robot::BoxAnswer InstallRun::SetupDialog(std::function<void(HWND)> fill)
{
    return robot::DialogAnswer(kSetupDialogTitle, IDOK, fill);
}

void InstallRun::PressStop()
{
    HWND doing = robot::WaitWindow(0, "DoingWnd", "ヴェルンド！出納帳 セットアップ", 5000, nullptr);
    EXPECT_TRUE(doing && SendMessageTimeoutA(doing, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr))
        << "no progress window to stop";
}

DWORD InstallRun::Setup(const std::string& tail, const std::vector<robot::BoxAnswer>& boxes)
{
    return RunRelaunched(Quote(Disk(1) + "\\SETUP.EXE") + (tail.empty() ? "" : " " + tail), boxes);
}

DWORD RunRelaunched(const std::string& command, const std::vector<robot::BoxAnswer>& boxes)
{
    // Long enough for a removal that waits out a held file's retries.
    const DWORD kRelaunchMs = 30000;
    DWORD code = 0xDEAD;
    ChildProcess first(command);
    EXPECT_TRUE(first.Wait(kRelaunchMs, &code) && code == 0)
        << "the instance started ended with " << code << "; windows:\n" << robot::DescribeTopLevelWindows(0);
    HANDLE copy = WaitForProcess("SETUP1.EXE", kRelaunchMs);
    if (!copy) {
        ADD_FAILURE() << "no SETUP1.EXE runs";
        return 0xDEAD;
    }
    EXPECT_TRUE(robot::AnswerBoxesOf(GetProcessId(copy), boxes));
    code = 0xDEAD;
    if (WaitForSingleObject(copy, kRelaunchMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(copy, &code))
        TerminateProcess(copy, 0xDEAD);
    CloseHandle(copy);
    return code;
}

DWORD InstallRun::Install(const std::vector<std::string>& arguments, const std::vector<robot::BoxAnswer>& boxes)
{
    std::string command = Quote(m_strEntry) + " " + Quote("source=" + Disk(1));
    // A backslash before the closing quote would escape it: install_entry
    // gives the folders their trailing backslash.
    for (std::string argument : arguments) {
        if (!argument.empty() && argument.back() == '\\')
            argument.pop_back();
        command += " " + Quote(argument);
    }
    ChildProcess run(command);
    EXPECT_TRUE(robot::AnswerBoxesOf(run.Pid(), boxes));
    DWORD code = 0xDEAD;
    run.Wait(kRunMs, &code);
    return code;
}

std::string InstallRun::Differences(const std::map<std::string, std::string>& files) const
{
    auto lastWrite = [](const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        return (ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
    };
    std::string differences;
    for (const auto& [path, source] : files) {
        if (source.empty()) {
            if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
                differences += path + " is there\n";
        } else if (ReadFileBytes(path) != ReadFileBytes(m_sources.at(source))) {
            differences += path + " does not hold " + source + "\n";
        } else if (lastWrite(path) != lastWrite(m_sources.at(source))) {
            differences += path + " has not the time of " + source + "\n";
        }
    }
    return differences;
}

std::string ShellFolder(int csidl)
{
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\";
}

std::string ShortcutPath(bool desktop)
{
    SetupParams shell;
    GetShellFolders(&shell);
    bool shared = !IsBlankText(shell.m_strMenuShared);
    const DataObjStr& folder = desktop ? (shared ? shell.m_strDeskShared : shell.m_strDeskPrivate)
                                       : (shared ? shell.m_strMenuShared : shell.m_strMenuPrivate);
    return std::string((const char*)folder) + SHELLREG_LINK_NAME;
}

// A value of HKEY_LOCAL_MACHINE in the view of this program's bitness.
static void SetMachineValue(const char* keyPath, const char* name, const std::string& text)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)text.size() + 1));
    RegCloseKey(key);
}

void RegisterAppDir(const std::string& folder)
{
    if (!folder.empty())
        SetMachineValue(SHELLREG_APP_KEY, "AppDir", folder);
}

void PutFiles(const std::map<std::string, std::string>& files)
{
    for (const auto& [path, bytes] : files) {
        SHCreateDirectoryExA(nullptr, path.substr(0, path.rfind('\\')).c_str(), nullptr);
        EXPECT_TRUE(WriteTestFile(path, bytes)) << path;
    }
}

std::map<std::string, std::string> In(const std::string& folder, const std::map<std::string, std::string>& files)
{
    std::map<std::string, std::string> placed;
    for (const auto& [name, value] : files)
        placed[folder + name] = value;
    return placed;
}

std::map<std::string, std::string> operator+(std::map<std::string, std::string> a, const std::map<std::string, std::string>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

void RegisterOwner(const std::string& owner, const std::string& organization)
{
    const char key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    SetMachineValue(key, "RegisteredOwner", owner);
    SetMachineValue(key, "RegisteredOrganization", organization);
}

std::string DescribeRecords()
{
    const struct {
        HKEY root;
        const char* key;
        const char* value;
        const char* line;
    } values[] = {
        {HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "AppDir", "AppDir"},
        {HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "KeyAppDir", "KeyAppDir"},
        {HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "pathShortcut1", "pathShortcut1"},
        {HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "pathShortcut2", "pathShortcut2"},
        {HKEY_CLASSES_ROOT, ".QLB", nullptr, ".QLB"},
        {HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\shell\\open\\command", nullptr, "open"},
        {HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString", "uninstall"},
    };
    std::string records;
    for (const auto& value : values) {
        DataObjStr text = ReadRegString(value.root, value.key, value.value, "\x01");
        if (std::string((const char*)text) != "\x01")
            records += std::string(value.line) + "=" + (const char*)text + "\n";
    }
    // The shell's link object needs COM on this thread.
    HRESULT com = CoInitialize(nullptr);
    for (bool desktop : {false, true}) {
        std::string link = ShortcutPath(desktop);
        if (GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            records += (desktop ? "desktop: " : "menu: ") + DescribeShortcut(link) + "\n";
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return records;
}
