#include "robot/box_answers.h"

#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

namespace robot {
namespace {

const DWORD kBoxWaitMs = 10000;

// Answers the boxes of process pid in order. False with *failure when a box
// does not come or cannot be answered; differences go to *mismatch.
bool AnswerInOrder(DWORD pid, const std::vector<BoxAnswer>& boxes, std::string* failure, std::string* mismatch)
{
    for (size_t i = 0; i < boxes.size(); ++i) {
        const BoxAnswer& box = boxes[i];
        std::string place = "box " + std::to_string(i + 1) + ": ";
        MessageBoxInfo info;
        HWND hwnd = WaitMessageBox(pid, kBoxWaitMs, &info, failure);
        if (!hwnd) {
            *failure = place + *failure;
            return false;
        }
        if (auto same = SameText(box.caption, info.caption); !same)
            *mismatch += place + "caption " + same.message() + "\n";
        if (auto same = SameText(box.text, info.text); !same)
            *mismatch += place + "text " + same.message() + "\n";
        if (info.buttons != box.buttons)
            *mismatch += place + "buttons " + ButtonList(info.buttons) + ", expected " + ButtonList(box.buttons) + "\n";
        if (box.whileOpen)
            box.whileOpen();
        bool pressed = box.press == kEnterKey ? PressEnter(hwnd) : PressButton(hwnd, box.press);
        if (!pressed || !WaitGone(hwnd, kBoxWaitMs)) {
            *failure = place + "could not press " + (box.press == kEnterKey ? "Enter" : ButtonName(box.press));
            return false;
        }
    }
    return true;
}

::testing::AssertionResult Outcome(bool answered, const std::string& failure, const std::string& mismatch)
{
    if (!answered)
        return ::testing::AssertionFailure() << failure << "\n" << mismatch;
    if (!mismatch.empty())
        return ::testing::AssertionFailure() << mismatch;
    return ::testing::AssertionSuccess();
}

}  // namespace

::testing::AssertionResult RunAnsweringBoxes(const std::function<void()>& action, const std::vector<BoxAnswer>& boxes)
{
    std::string mismatch;
    RobotThread robot([&](std::string* failure) {
        return AnswerInOrder(GetCurrentProcessId(), boxes, failure, &mismatch);
    });
    action();
    std::string failure;
    bool answered = robot.Join(&failure);
    return Outcome(answered, failure, mismatch);
}

::testing::AssertionResult AnswerBoxesOf(DWORD pid, const std::vector<BoxAnswer>& boxes)
{
    std::string failure, mismatch;
    bool answered = AnswerInOrder(pid, boxes, &failure, &mismatch);
    return Outcome(answered, failure, mismatch);
}

}  // namespace robot
