// The child process of the robot's self-test: shows a real message box or
// the test dialog in a process of its own, for the robot to find by process
// id and drive across processes.
//
//   robot_fixture box [ICON]     kBoxCaption/kBoxText with Yes/No/Cancel and
//                                the MB_ICON... value ICON (default
//                                MB_ICONQUESTION); exit code: the button
//   robot_fixture dialog FILE    the test dialog; writes Describe(result) to
//                                FILE; exit code: the button that ended it
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fixture_texts.h"
#include "test_dialog.h"

namespace {

// Exit code for wrong arguments or a result file that cannot be written.
constexpr int kFixtureFailed = 100;

int ShowBox(const char* icon)
{
    UINT iconStyle = icon ? std::strtoul(icon, nullptr, 0) : MB_ICONQUESTION;
    return MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_YESNOCANCEL | iconStyle);
}

int ShowDialog(const char* resultFile)
{
    TestDialogResult result;
    INT_PTR button = RunTestDialog(&result);
    std::FILE* file = std::fopen(resultFile, "wb");
    if (!file)
        return kFixtureFailed;
    const std::string text = Describe(result);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return static_cast<int>(button);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "box") == 0) {
        return ShowBox(argc >= 3 ? argv[2] : nullptr);
    }
    if (argc == 3 && std::strcmp(argv[1], "dialog") == 0) {
        return ShowDialog(argv[2]);
    }
    return kFixtureFailed;
}
