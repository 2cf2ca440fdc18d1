// The read-only delete message as the user sees it: reported in the base
// error frame, shown in a real message box that the UI robot reads.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "box_expect.h"
#include "dazo/Func.h"
#include "error_report_env.h"
#include "scratch_folder.h"

namespace {

TEST(FilesReadOnlyBox, DeleteShowsTheReadOnlyMessageAndTheFile)
{
    ScratchFolder scratch;
    std::string path = scratch.MakeFile("読み取り専用表.txt", "x");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    std::string text = "ファイルは読み取り専用です。\n\nファイル " + path + "を削除できません";
    int result = -1;
    EXPECT_TRUE(RunAnsweringBox([&] { result = DeleteFileRetry(path.c_str(), 0, 0); },
                                {kTestTitle, text.c_str(), {IDOK}, IDOK}));
    EXPECT_EQ(0, result);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

}  // namespace
