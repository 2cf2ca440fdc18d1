// The folder dialog on a real X display: the rows and buttons clicked with
// the mouse as the X server delivers it (SendInput), a path typed and Enter.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dazo/filedlg.h"
#include "scratch_test.h"
#include "robot/robot.h"
#include "robot/robot_thread.h"
#include "testkit/screen_input.h"

namespace {

// The path field, the listed folder and the files' names.
std::string Shown(FolderDlg2* dlg)
{
    std::string shown = Text(GetWndText(dlg->m_hwndPath)) + "|" + Text(dlg->m_pFolders->GetData()->m_strFolder) + "|";
    FileData* files = dlg->m_pFiles->GetData();
    for (int i = 0; files && i < files->GetCount(); ++i)
        shown += Text(files->GetEntry(i).strName) + ";";
    return shown;
}

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
        // The dialog and its lists are read on the dialog's thread, where they are whole.
        auto shows = [&](const std::string& folder, const std::string& files) {
            std::string shown, expected = folder + "|" + folder + "|" + files;
            if (!robot::WaitUntil([&] { return robot::CallOnThreadOf(hwnd, [&] { shown = Shown(dlg); }) &&
                                                shown == expected; }, 10000))
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

}  // namespace
