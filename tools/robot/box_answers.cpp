#include "robot/box_answers.h"

#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

namespace robot {

bool AnswerBoxes(const std::vector<BoxAnswer>& boxes, std::string* failure, std::string* mismatch)
{
    const DWORD waitMs = 10000;
    std::string differences;
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
            differences += place + "caption " + same.message() + "\n";
        if (auto same = SameText(box.text, info.text); !same)
            differences += place + "text " + same.message() + "\n";
        if (info.buttons != box.buttons)
            differences += place + "buttons " + ButtonList(info.buttons) + ", expected " + ButtonList(box.buttons) + "\n";
        if (box.whileOpen)
            box.whileOpen();
        if (!PressButton(hwnd, box.press) || !WaitGone(hwnd, waitMs)) {
            *failure = place + "could not press " + ButtonName(box.press);
            return false;
        }
    }
    if (mismatch) {
        *mismatch += differences;
        return true;
    }
    *failure = differences;
    return differences.empty();
}

::testing::AssertionResult RunAnsweringBoxes(const std::function<void()>& action, const std::vector<BoxAnswer>& boxes)
{
    std::string mismatch;
    RobotThread robot([&](std::string* failure) { return AnswerBoxes(boxes, failure, &mismatch); });
    action();
    std::string failure;
    if (!robot.Join(&failure))
        return ::testing::AssertionFailure() << failure << "\n" << mismatch;
    if (!mismatch.empty())
        return ::testing::AssertionFailure() << mismatch;
    return ::testing::AssertionSuccess();
}

}  // namespace robot
