#include "window_lib.h"

#include <cstdlib>

namespace {

class WindowLibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(1, InitErrorReport(GetModuleHandleA(nullptr), kTestTitle));
        std::atexit(FinErrorReport);
        LibInitOptions();
        LibInitColors();
        LibInitStockFonts();
        LibInitHintWindow();
        LibInstallErrorHooks();
    }
};

const ::testing::Environment* const s_environment =
    ::testing::AddGlobalTestEnvironment(new WindowLibraryEnvironment);

}  // namespace

DoingWnd* MakeDoing(int style, HWND owner, const char* title)
{
    auto* doing = new DoingWnd;
    doing->Create(title, -1, -1, 30 * g_nAveCharWidth, g_nCharHeight, owner, style);
    return doing;
}
