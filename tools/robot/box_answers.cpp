#include "robot/box_answers.h"

#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

namespace robot {

::testing::AssertionResult RunAnsweringBoxes(const std::function<void()>& action, const std::vector<BoxAnswer>& boxes)
{
    const DWORD waitMs = 10000;
    std::string mismatch;
    RobotThread robot([&](std::string* failure) {
        for (size_t i = 0; i < boxes.size(); ++i) {
            const BoxAnswer& box = boxes[i];
            std::string place = "box " + std::to_string(i + 1) + ": ";
            MessageBoxInfo info;
            HWND hwnd = WaitMessageBox(GetCurrentProcessId(), waitMs, &info, failure);
            if (!hwnd) {
                *failure = place + *failure;
                return false;
            }
            if (auto same = SameText(box.caption, info.caption); !same)
                mismatch += place + "caption " + same.message() + "\n";
            if (auto same = SameText(box.text, info.text); !same)
                mismatch += place + "text " + same.message() + "\n";
            if (info.buttons != box.buttons)
                mismatch += place + "buttons " + ButtonList(info.buttons) + ", expected " + ButtonList(box.buttons) + "\n";
            if (box.whileOpen)
                box.whileOpen();
            if (!PressButton(hwnd, box.press) || !WaitGone(hwnd, waitMs)) {
                *failure = place + "could not press " + ButtonName(box.press);
                return false;
            }
        }
        return true;
    });
    action();
    std::string failure;
    if (!robot.Join(&failure))
        return ::testing::AssertionFailure() << failure << "\n" << mismatch;
    if (!mismatch.empty())
        return ::testing::AssertionFailure() << mismatch;
    return ::testing::AssertionSuccess();
}

}  // namespace robot
