// The default data folder of a fresh install, from the shell folders that
// the system knows: on the desktop of all users when there is an all-users
// Start menu, else on the user's own desktop, else at the root of the
// Windows folder's drive, its letter written as the Windows folder writes it.
#include <gtest/gtest.h>

#include <string>

#include "dazo/Func.h"
#include "setup/driver.h"

namespace {

struct Shell {
    const char* name;
    const char *menuShared, *deskShared, *deskPrivate;
    int shared;
    std::string baseShared, basePrivate;
};

void PrintTo(const Shell& shell, std::ostream* os) { *os << shell.name; }

// "c:\" turned to the Windows folder's drive: "C:\" under Wine.
const std::string kRoot = std::string(1, GetWindowsDir()[0]) + ":\\";

const Shell kShells[] = {
    {"AllUsers", "C:\\All\\Programs", "D:\\公開\\Desktop", "E:\\私\\Desktop\\", 1, "D:\\公開\\Desktop\\", "E:\\私\\Desktop\\"},
    {"NoAllUsersMenu", "", "D:\\公開\\Desktop", "E:\\私\\Desktop", 0, "D:\\公開\\Desktop\\", "E:\\私\\Desktop\\"},
    {"NoDesktops", "C:\\All\\Programs", "  ", "", 1, kRoot, kRoot},
};

class DefaultDataFolder : public ::testing::TestWithParam<Shell> {};

TEST_P(DefaultDataFolder, LiesOnTheDesktopOfTheChoiceInForce)
{
    const Shell& shell = GetParam();
    SetupParams params;
    params.m_strMenuShared = shell.menuShared;
    params.m_strMenuPrivate = "C:\\私\\Programs";
    params.m_strDeskShared = shell.deskShared;
    params.m_strDeskPrivate = shell.deskPrivate;
    SetDefaultDataFolder(&params);
    EXPECT_EQ(shell.shared, params.m_fShared);
    EXPECT_STREQ(shell.baseShared.c_str(), params.m_strDocBaseShared);
    EXPECT_STREQ(shell.basePrivate.c_str(), params.m_strDocBasePrivate);
    EXPECT_STREQ(((shell.shared ? shell.baseShared : shell.basePrivate) + "ヴェルンド！出納帳データ").c_str(), params.m_strDocPath);
}

INSTANTIATE_TEST_SUITE_P(Shells, DefaultDataFolder, ::testing::ValuesIn(kShells),
                         [](const ::testing::TestParamInfo<Shell>& info) { return std::string(info.param.name); });

}  // namespace
