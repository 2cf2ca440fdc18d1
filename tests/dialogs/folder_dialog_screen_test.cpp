// The folder dialog on a real X display: the rows and buttons clicked with
// the mouse as the X server delivers it (SendInput), a path typed and Enter;
// and the listings it shows, built from real folders and the shell.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dazo/filedlg.h"
#include "scratch_test.h"
#include "robot/robot.h"
#include "robot/robot_thread.h"
#include "testkit/screen_input.h"

namespace {

TEST(FolderDialogScreen, ClickOpensAFolderEnterOpensTheTypedPathOkAnswersIt)
{
    ScratchFolder scratch;
    const std::string parent = scratch.MakeFolder("親"), child = scratch.MakeFolder("親\\子B");
    const std::string typedFolder = scratch.MakeFolder("親\\子A"), answer = scratch.Path("新しい\\フォルダ");
    scratch.MakeFile("親\\子B\\中.txt");
    robot::RobotThread robot([&](std::string* failure) {
        HWND hwnd = robot::WaitWindow(GetCurrentProcessId(), "#32770", "選んで", 10000, failure);
        FolderDlg2* dlg = nullptr;
        RECT row {};
        // The path field, the listed folder and the files' names, read on the
        // dialog's thread, where the dialog and its lists are whole.
        std::string shown;
        auto readShown = [&] {
            shown = Text(GetWndText(dlg->m_hwndPath)) + "|" + Text(dlg->m_pFolders->GetData()->m_strFolder) + "|";
            FileData* files = dlg->m_pFiles->GetData();
            for (int i = 0; files && i < files->GetCount(); ++i)
                shown += Text(files->GetEntry(i).strName) + ";";
        };
        auto shows = [&](const std::string& folder, const std::string& files) {
            std::string expected = folder + "|" + folder + "|" + files;
            if (!robot::WaitUntil([&] { return robot::CallOnThreadOf(hwnd, readShown) && shown == expected; }, 10000))
                *failure = "shows " + shown + ", expected " + expected;
            return shown == expected;
        };
        auto rowOfChild = [&] {
            FileData* data = dlg->m_pFolders->GetData();
            int i = data->m_nCurrent + 1;
            while (i < data->GetCount() && Text(data->GetEntry(i).strName) != "子B")
                ++i;
            row = dlg->m_pFolders->GetRowRect(i);
        };
        if (!hwnd || !robot::CallOnThreadOf(hwnd, [&] { dlg = static_cast<FolderDlg2*>(FindWnd(hwnd)); }) ||
            !shows(parent, "") /* the nearest existing folder */ || !robot::CallOnThreadOf(hwnd, rowOfChild))
            return false;
        ClickWindow(dlg->m_pFolders->HWnd(), &row);
        if (!shows(child, "中.txt;"))
            return false;
        ClickWindow(dlg->m_hwndPath);
        if (!robot::WaitFocus(dlg->m_hwndPath, 5000) || !robot::SetEditText(hwnd, 102, typedFolder.c_str()) ||
            !PostMessageA(dlg->m_hwndPath, WM_KEYDOWN, VK_RETURN, 0) || !shows(typedFolder, "") ||
            !robot::WaitFocus(dlg->m_pFolders->HWnd(), 5000) || !robot::SetEditText(hwnd, 102, answer.c_str()))
            return false;
        ClickWindow(GetDlgItem(hwnd, IDOK));
        return robot::WaitGone(hwnd, 5000);
    });
    DataObjStr chosen = SelectFolder(nullptr, (parent + "\\無い\\もっと").c_str(), "選んで", 0, 0);
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_SAME_TEXT(answer, Text(chosen));
}

// Each entry of data: its flags and path.
std::vector<std::string> Entries(FileData* data)
{
    std::vector<std::string> rows;
    for (int i = 0; i < data->GetCount(); ++i)
        rows.push_back(std::to_string(data->GetEntry(i).fFlags) + " " + Text(data->GetPath(i)));
    return rows;
}

TEST(FileDataListing, NamePatternsPathHiddenButNotSystemFoldersFilesSeparatorDrivesSpecialFolders)
{
    // The name patterns the listings are filtered with.
    const struct { const char* name; const char* patterns; bool matches; } patternRows[] = {
        {"README", "*.", true},         {"read.me", "*.", false},       {"Setup.LST", "*.lst", true},
        {"表.TXT", "*.txt;*.doc", true}, {"表.doc", "*.txt;*.doc", true}, {"表示.txt", "表?.txt", true},
        {"表.txt", "表?.txt", false},    {"ＡＢ.txt", "ａｂ.txt", false},  {"a.b.c", "*.c", true},
    };
    for (const auto& row : patternRows)
        EXPECT_EQ(row.matches, MatchNamePatterns(row.name, row.patterns)) << row.name << " against " << row.patterns;
    // The path from C:\ down, each folder with its full path; a missing
    // folder reads as empty.
    SafePtr<FileData> missing(new FileData("C:\\無い\\もっと", "*.*", FD_PATH | FD_FOLDERS, nullptr));
    EXPECT_EQ(1, missing->m_fRead) << "a missing folder reads as empty";
    EXPECT_EQ((std::vector<std::string> {"3 C:\\", "3 C:\\無い", "3 C:\\無い\\もっと"}), Entries(missing.Get()));
    ScratchFolder scratch;
    scratch.MakeFolder("見える");
    SetFileAttributesA(scratch.MakeFolder("隠し").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(scratch.MakeFolder("システム").c_str(), FILE_ATTRIBUTE_SYSTEM);
    scratch.MakeFile("表.txt");
    const int everything = FD_PATH | FD_FOLDERS | FD_FILES | FD_SEPARATOR | FD_DRIVES | FD_SPECIAL;
    SafePtr<FileData> data(new FileData(scratch.Path().c_str(), "*.*", everything, nullptr));
    ASSERT_EQ(1, data->m_fRead);
    // After the path, a level deeper each: the folder's entries (in byte
    // order here) one level below it; a separator; the first drive; the
    // special folders, named.
    const int depth = data->m_nCurrent + 1;
    std::vector<std::string> rows = Entries(data.Get());
    ASSERT_GE((int)rows.size(), depth + 8);
    for (int i = 1; i <= 3; ++i)
        rows.end()[-i] += " " + Text(data->GetEntry(data->GetCount() - i).strName);
    rows.erase(rows.begin() + depth + 5, rows.end() - 3);  // the drives after C:
    rows.erase(rows.begin(), rows.begin() + depth);
    std::sort(rows.begin(), rows.begin() + 3);
    std::vector<std::string> expected = {"16 " + scratch.Path("表.txt"), "17 " + scratch.Path("隠し"),
                                         "17 " + scratch.Path("見える"), "32 ", "5 C:\\"};
    for (auto [csidl, name] : {std::make_pair(CSIDL_DESKTOPDIRECTORY, "デスクトップ"),
                               std::make_pair(CSIDL_COMMON_DESKTOPDIRECTORY, "デスクトップ(共用)"),
                               std::make_pair(CSIDL_PERSONAL, "マイドキュメント")}) {
        char path[MAX_PATH];
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) << csidl;
        expected.push_back("9 " + std::string(path) + " " + name);
    }
    EXPECT_EQ(expected, rows);
    for (int i = 0; i < depth + 3; ++i)
        EXPECT_EQ(std::min(i, depth), data->GetEntry(i).nLevel) << i;
}

}  // namespace
