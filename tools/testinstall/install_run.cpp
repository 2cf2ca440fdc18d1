#include "testinstall/install_run.h"

#include <objbase.h>

#include <filesystem>

#include "base/text.h"
#include "robot/robot.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"
#include "testkit/child_process.h"
#include "testkit/shortcut_reader.h"

const char kInstallTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";

namespace {

// DARVOSHL.EXE starts disk 2, README.TXT disk 3.
const char kDescription[] =
    "[Medium]\r\nSource=src\r\nDiskSize=20480\r\n"
    "[Common]\r\n$(WinSysPath)DARVO5UI.DLL=, delete\r\n$(AppPath)COMMON.DLL=bin\\COMMON.DLL, compress\r\n"
    "[Files]\r\n$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=bin\\DARVOSHL.EXE, compress\r\n"
    "$(AppPath)HELP\\DARVO5.HLP=doc\\DARVO5.HLP\r\n$(AppPath)SETUP.EXE=setup\\SETUP.EXE\r\n"
    "[Setting]\r\n$(AppPath)SHARE.ENV=settings\\SHARE.ENV\r\n$(AppPath)DARVOSHL.ENV=settings\\DARVOSHL.ENV\r\n"
    "$(AppPath)DARVO5.ENV=settings\\DARVO5.ENV\r\n"
    "[Sample]\r\n$(AppPath)サンプル.QLB=sample\\サンプル.QLB, compress\r\n"
    "[Update]\r\n$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=bin\\DARVOSHL.EXE, compress\r\n"
    "[Files2]\r\n$(AppPath)README.TXT=doc\\README.TXT, compress\r\n$(DocPath)読んでね.TXT=doc\\DOC.TXT\r\n";

}  // namespace

InstallRun::InstallRun(const std::string& entryExe) : m_strEntry(entryExe), m_work("install_run")
{
    const std::pair<const char*, std::string> sources[] = {
        {"setup\\SETUP.EXE", "MZ" + NoiseBytes(998, 1)}, {"bin\\DARVO5.EXE", NoiseBytes(8000, 2)},
        {"bin\\DARVOSHL.EXE", NoiseBytes(8000, 3)}, {"bin\\COMMON.DLL", NoiseBytes(2000, 4)},
        {"doc\\DARVO5.HLP", NoiseBytes(2000, 5)}, {"doc\\README.TXT", NoiseBytes(8000, 6)},
        {"doc\\DOC.TXT", "読んでね\r\n"}, {"settings\\SHARE.ENV", "[出納帳]\r\nVersion=5500\r\n"},
        {"settings\\DARVOSHL.ENV", "[会社選択]\r\n自動起動=0\r\n"},
        {"settings\\DARVO5.ENV", "[GrDarvo]\r\nRowHighlight=1\r\n"}, {"sample\\サンプル.QLB", NoiseBytes(2000, 7)}};
    for (const auto& [path, bytes] : sources) {
        std::string file = m_work.Path() + "src\\" + path;
        std::filesystem::create_directories(file.substr(0, file.rfind('\\')));
        WriteTestFile(file, bytes);
        m_sources[file.substr(file.rfind('\\') + 1)] = bytes;
    }
    MediumRun made = MakeTestMedium(m_work.Path(), kDescription, m_work.Path() + "src\\setup");
    EXPECT_EQ(0, made.status) << made.problems;
}

std::string InstallRun::Disk(int disk) const
{
    return m_work.Path() + "out\\DISK" + std::to_string(disk);
}

void InstallRun::Insert(int disk)
{
    for (const auto& file : std::filesystem::directory_iterator(Disk(disk)))
        std::filesystem::copy_file(file.path(), std::filesystem::path(Disk(1)) / file.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
}

robot::BoxAnswer InstallRun::DiskPrompt(int disk, const std::string& source, std::function<void(HWND)> whileOpen) const
{
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

void InstallRun::PressStop() const
{
    HWND doing = robot::WaitWindow(m_pid, "DoingWnd", "ヴェルンド！出納帳 セットアップ", 5000, nullptr);
    EXPECT_TRUE(doing && SendMessageTimeoutA(doing, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr))
        << "no progress window to stop";
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
    m_pid = run.Pid();
    EXPECT_TRUE(robot::AnswerBoxesOf(m_pid, boxes));
    DWORD code = 0xDEAD;
    run.Wait(20000, &code);
    return code;
}

std::string InstallRun::Differences(const std::map<std::string, std::string>& files) const
{
    std::string differences;
    for (const auto& [path, source] : files) {
        if (ReadFileBytes(path) != (source.empty() ? "" : m_sources.at(source)))
            differences += path + (source.empty() ? " is there\n" : " does not hold " + source + "\n");
    }
    return differences;
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
