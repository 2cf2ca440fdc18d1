#include "testuninstall/uninstall_run.h"

#include <algorithm>

#include "setup/shellreg.h"
#include "testinstall/install_run.h"

namespace {

const DWORD kRunMs = 30000;
const char kRemoveCaption[] = "ヴェルンド！出納帳 Version 5 の削除";
const char kDescription[] =
    "[Files]\r\n$(AppPath)DARVO5.EXE=DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=DARVOSHL.EXE\r\n"
    "$(AppPath)HELP\\DARVO5.HLP=DARVO5.HLP\r\n$(AppPath)SETUP.EXE=SETUP.EXE\r\n"
    "[Setting]\r\n$(AppPath)SHARE.ENV=SHARE.ENV\r\n$(AppPath)DARVOSHL.ENV=DARVOSHL.ENV\r\n"
    "[Sample]\r\n$(AppPath)サンプル.QLB=サンプル.QLB, compress\r\n";

std::string TemporaryFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return temp;
}

std::string WithoutBackslash(const std::string& folder)
{
    return folder.substr(0, folder.size() - 1);
}

void ListInto(const std::string& folder, const std::string& relative, std::vector<std::string>* lines)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + relative + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        lines->push_back(relative + name + (isFolder ? "\\" : ""));
        if (isFolder)
            ListInto(folder, relative + name + "\\", lines);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

}  // namespace

UninstallRun::UninstallRun(const std::string& app, const std::string& doc) : m_work("uninstall")
{
    const std::string& work = m_work.Path();
    m_strSample = NoiseBytes(3000, 11);
    const std::pair<const char*, std::string> sources[] = {
        {"SETUP.EXE", ReadFileBytes(SETUP_EXE)}, {"DARVO5.EXE", NoiseBytes(4000, 12)},
        {"DARVOSHL.EXE", NoiseBytes(2000, 13)}, {"DARVO5.HLP", NoiseBytes(1000, 14)},
        {"SHARE.ENV", "[出納帳]\r\nVersion=5500\r\n"}, {"DARVOSHL.ENV", "[会社選択]\r\n"}, {"サンプル.QLB", m_strSample}};
    for (const auto& [name, bytes] : sources)
        EXPECT_TRUE(WriteTestFile(work + name, bytes)) << name;
    MediumRun made = MakeTestMedium(work, kDescription, work);
    EXPECT_EQ(0, made.status) << made.problems;

    ChildProcess install(Quote(INSTALL_ENTRY_EXE) + " " + Quote("source=" + work + "out\\DISK1") + " " +
                         Quote("app=" + WithoutBackslash(app)) + " " + Quote("doc=" + WithoutBackslash(doc)));
    EXPECT_TRUE(robot::AnswerBoxesOf(install.Pid(), {Setup("セットアップを完了しました。\n「ヴェルンド！出納帳 Version 5」の"
                                                           "アイコンをクリックするとヴェルンド出納帳を起動できます。")}));
    DWORD code = 0xDEAD;
    EXPECT_TRUE(install.Wait(kRunMs, &code) && code == 1) << "the install ended with " << code;
}

robot::BoxAnswer UninstallRun::Choice(int button)
{
    return robot::DialogAnswer("ヴェルンド！出納帳 Version 5 設定/削除", button);
}

robot::BoxAnswer UninstallRun::Confirm(const std::string& folder, int press)
{
    return {kRemoveCaption,
            "ヴェルンド！出納帳 Version 5 をこのコンピュータから削除しますか？\n\n（フォルダ[" + folder + "]が削除されます）",
            {IDYES, IDNO}, press};
}

std::vector<robot::BoxAnswer> UninstallRun::Remove(const std::string& folder, std::vector<robot::BoxAnswer> boxes)
{
    boxes.insert(boxes.begin(), {Choice(3), Confirm(folder, IDYES)});
    return boxes;
}

robot::BoxAnswer UninstallRun::Removal(const std::string& text)
{
    return {kRemoveCaption, text, {IDOK}, IDOK};
}

robot::BoxAnswer UninstallRun::Setup(const std::string& text, int press)
{
    std::vector<int> buttons = press == IDOK ? std::vector<int> {IDOK} : std::vector<int> {IDYES, IDNO};
    return {"ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ", text, buttons, press};
}

DWORD UninstallRun::Run(const std::string& command, bool relaunch, const std::vector<robot::BoxAnswer>& boxes)
{
    if (relaunch)
        return RunRelaunched(command, boxes);
    ChildProcess started(command);
    EXPECT_TRUE(robot::AnswerBoxesOf(started.Pid(), boxes));
    DWORD code = 0xDEAD;
    started.Wait(kRunMs, &code);
    return code;
}

std::string UninstallRun::UninstallCommand()
{
    return (const char*)ReadRegString(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString", "");
}

std::string DescribeInstallation()
{
    std::string records;
    auto present = [&](HKEY root, const char* key, const char* value, const std::string& line) {
        DataObjStr text = ReadRegString(root, key, value, "\x01");
        if (std::string((const char*)text) != "\x01")
            records += line + "=" + (const char*)text + "\n";
    };
    for (const char* value : {"AppDir", "KeyAppDir", "pathShortcut1", "pathShortcut2"})
        present(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, value, value);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        records += "the application's key\n";
        RegCloseKey(key);
    }
    present(HKEY_CLASSES_ROOT, ".QLB", nullptr, ".QLB");
    present(HKEY_CLASSES_ROOT, "CorvaZozuveDocument", nullptr, "CorvaZozuveDocument");
    present(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString", "uninstall");
    for (bool desktop : {false, true})
        if (GetFileAttributesA(ShortcutPath(desktop).c_str()) != INVALID_FILE_ATTRIBUTES)
            records += desktop ? "desktop shortcut\n" : "menu shortcut\n";
    return records;
}

void PutTemporaryFolders()
{
    PutFiles({{TemporaryFolder() + "CorvaVelundDarvo5\\work\\a.tmp", "a"}, {TemporaryFolder() + "CorvaVelundDarvo5Shell\\b.tmp", "b"}});
}

bool TemporaryFoldersThere()
{
    for (const char* name : {"CorvaVelundDarvo5", "CorvaVelundDarvo5Shell"})
        if (GetFileAttributesA((TemporaryFolder() + name).c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}

void SetAppValue(const char* name, const std::string& text)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, 0, KEY_SET_VALUE, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)text.size() + 1));
    RegCloseKey(key);
}

std::unique_ptr<ChildProcess> HoldOpen(const std::string& path)
{
    std::unique_ptr<ChildProcess> holder(new ChildProcess(std::string(FAULTS_EXE) + " hold-file " + Quote(path) + " 60000"));
    EXPECT_TRUE(holder->WaitForOutput("ready", 10000)) << path;
    return holder;
}

std::string ListTree(const std::string& folder)
{
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "(none)";
    std::vector<std::string> lines;
    ListInto(folder, "", &lines);
    std::sort(lines.begin(), lines.end());
    std::string tree;
    for (const auto& line : lines)
        tree += line + "\n";
    return tree;
}
