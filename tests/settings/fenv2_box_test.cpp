// What the user sees of a settings file that cannot be saved or locked: the
// real message box, read by the UI robot.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "box_expect.h"
#include "dazo/fenv2.h"
#include "error_report_env.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

TEST(SettingsMessages, SaveOfAnUnreadFileSaysSo)
{
    TempFolder folder("SettingsMessages_Save");
    std::string path = folder.File("DARVO5.ENV");
    // The failed read is collected here, so that only the save's box shows.
    ErrorFrame frame;
    PushErrorFrame(&frame);
    FEnv2 env(path.c_str(), 0);
    ASSERT_EQ(ERR_OPEN2, TakeError().code);
    PopErrorFrame();

    int saved = -1;
    robot::MessageBoxInfo box;
    std::string text = "読み込みに成功していないので保存はできません\n\n" + path;
    EXPECT_TRUE(RunAnsweringBox([&] { saved = env.Save(); }, {kTestTitle, text.c_str(), {IDOK}, IDOK}, &box));
    EXPECT_EQ(0, saved);
    EXPECT_EQ(MB_ICONEXCLAMATION, box.icon);
    EXPECT_FALSE(FileExists(path));
}

TEST(SettingsMessages, LockHeldByAnotherProgramNamesTheLockFileAndTheSettingsFile)
{
    TempFolder folder("SettingsMessages_Lock");
    std::string path = folder.File("SHARE.ENV");
    ASSERT_TRUE(WriteBytes(path, "[S]\r\nk=v\r\n"));
    std::string lock = path + ".lc$";
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(lock) + " 20000");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));

    std::string text = lock + "の共有違反が発生しました\n\n" + path + "をロックすることができません";
    bool loaded = true;
    EXPECT_TRUE(RunAnsweringBox(
        [&] {
            FEnv2 env(path.c_str(), ENV_HOLDLOCK, 500, 100);
            loaded = (env.GetFlags() & ENV_LOADED) != 0;
        },
        {kTestTitle, text.c_str(), {IDOK}, IDOK}));
    EXPECT_FALSE(loaded);
}

TEST(SettingsMessages, NothingIsShownForAGoodRoundTrip)
{
    TempFolder folder("SettingsMessages_Quiet");
    std::string path = folder.File("SHARE.ENV");
    ASSERT_TRUE(WriteBytes(path, "[S]\r\nk=v\r\n"));
    EXPECT_TRUE(RunWithoutBox([&] {
        FEnv2 env(path.c_str(), ENV_LOCK);
        env.WriteString("S", "k", "w");
        env.Save();
    }));
    EXPECT_EQ("[S]\r\nk=w\r\n", ReadBytes(path));
}

}  // namespace
