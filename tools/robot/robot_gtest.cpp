#include "robot/robot_gtest.h"

#include <vector>

#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_thread.h"

namespace robot {
namespace {

// Lines up a difference under its field name in NextMessageBoxIs.
constexpr char kFieldIndent[] = "          ";

// The lines telling how `actual` differs from `expected`, "" when it does
// not, each starting with `indent`.
std::string TextDifference(const std::string& expected, const std::string& actual, const std::string& indent)
{
    if (expected == actual)
        return std::string();
    return indent + "expected " + Quoted(expected) + "\n"
        + indent + "actual   " + Quoted(actual) + "\n"
        + indent + "expected bytes " + HexBytes(expected) + "\n"
        + indent + "actual bytes   " + HexBytes(actual) + "\n";
}

std::string ButtonDifference(const std::vector<int>& expected, const std::vector<int>& actual)
{
    if (expected == actual)
        return std::string();
    return std::string(kFieldIndent) + "expected " + ButtonList(expected) + "\n"
        + kFieldIndent + "actual   " + ButtonList(actual) + "\n";
}

}  // namespace

::testing::AssertionResult SameText(const std::string& expected, const std::string& actual)
{
    std::string difference = TextDifference(expected, actual, "  ");
    if (difference.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "texts differ:\n" << difference;
}

::testing::AssertionResult NextMessageBoxIs(DWORD pid, const char* caption, const char* text,
    const std::vector<int>& buttons, DWORD timeoutMs, HWND* outBox, const std::vector<HWND>& notBoxes)
{
    MessageBoxInfo box;
    std::string failure;
    HWND found = WaitMessageBox(pid, timeoutMs, &box, &failure, notBoxes);
    if (outBox)
        *outBox = found;
    if (!found)
        return ::testing::AssertionFailure() << failure;

    const std::string captionDifference = TextDifference(caption, box.caption, kFieldIndent);
    const std::string textDifference = TextDifference(text, box.text, kFieldIndent);
    const std::string buttonDifference = ButtonDifference(buttons, box.buttons);
    if (captionDifference.empty() && textDifference.empty() && buttonDifference.empty()) {
        return ::testing::AssertionSuccess();
    }
    auto field = [](const char* name, const std::string& difference) {
        return std::string("  ") + name + (difference.empty() ? " as expected\n" : "\n" + difference);
    };
    return ::testing::AssertionFailure()
        << "message box " << HandleText(found) << " of process " << pid << " is not the expected one:\n"
        << field("caption", captionDifference) << field("text", textDifference) << field("buttons", buttonDifference);
}

::testing::AssertionResult AnswerNextBox(DWORD pid, const char* caption, const std::string& text,
    const std::vector<int>& buttons, int press, DWORD timeoutMs)
{
    HWND box = nullptr;
    ::testing::AssertionResult same = NextMessageBoxIs(pid, caption, text.c_str(), buttons, timeoutMs, &box);
    if (box) {
        PressButton(box, press);
        WaitGone(box, timeoutMs);
    }
    return same;
}

BoxAnswer DialogAnswer(const std::string& caption, int press, std::function<void(HWND dialog)> whileOpen)
{
    return {caption, "", {}, press, whileOpen, true};
}

// Waits for the dialog of answer, then fills it and presses its button. The
// dialog, or null with *failure when it did not come or could not be answered.
static HWND AnswerDialog(DWORD pid, const BoxAnswer& answer, std::string* failure)
{
    HWND dialog = WaitWindow(pid, "#32770", answer.caption.c_str(), kBoxWaitMs, failure);
    if (!dialog)
        return nullptr;
    if (answer.whileOpen)
        answer.whileOpen(dialog);
    if (PressButton(dialog, answer.press))
        return dialog;
    *failure = "could not press " + ButtonName(answer.press) + " of dialog " + Quoted(answer.caption);
    return nullptr;
}

// Answers the boxes of process pid in order. False with *failure when a box
// does not come or cannot be answered; differences go to *mismatch.
static bool AnswerInOrder(DWORD pid, const std::vector<BoxAnswer>& boxes, std::string* failure, std::string* mismatch)
{
    // The dialogs answered so far. One of only labels and buttons reads as a
    // message box (see IsMessageBox), and it is enabled again, still shown,
    // between the end of a box it asked and its own end: it is never taken
    // for the next box.
    std::vector<HWND> dialogs;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const BoxAnswer& box = boxes[i];
        const std::string place = "box " + std::to_string(i + 1) + ": ";
        if (box.dialog) {
            std::string missing;
            if (HWND dialog = AnswerDialog(pid, box, &missing)) {
                dialogs.push_back(dialog);
                continue;
            }
            *failure = place + missing;
            return false;
        }
        HWND hwnd = nullptr;
        ::testing::AssertionResult same =
            NextMessageBoxIs(pid, box.caption.c_str(), box.text.c_str(), box.buttons, kBoxWaitMs, &hwnd, dialogs);
        if (!hwnd) {
            *failure = place + same.message();
            return false;
        }
        if (!same)
            *mismatch += place + same.message();
        if (box.whileOpen)
            box.whileOpen(hwnd);
        // Pressed whether it matched or not, so that the program goes on.
        bool pressed = box.press == kEnterKey ? PressEnter(hwnd) : PressButton(hwnd, box.press);
        if (!pressed || !WaitGone(hwnd, kBoxWaitMs)) {
            *failure = place + "could not press " + (box.press == kEnterKey ? "Enter" : ButtonName(box.press));
            return false;
        }
    }
    return true;
}

static ::testing::AssertionResult Outcome(bool answered, const std::string& failure, const std::string& mismatch)
{
    if (!answered)
        return ::testing::AssertionFailure() << failure << "\n" << mismatch;
    if (!mismatch.empty())
        return ::testing::AssertionFailure() << mismatch;
    return ::testing::AssertionSuccess();
}

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

::testing::AssertionResult RunAnsweringBox(const std::function<void()>& action, const BoxAnswer& box,
                                           MessageBoxInfo* seen, const std::function<void(HWND box)>& whileOpen)
{
    BoxAnswer answer = box;
    answer.whileOpen = [&](HWND hwnd) {
        if (seen)
            ReadMessageBox(hwnd, seen);
        if (box.whileOpen)
            box.whileOpen(hwnd);
        if (whileOpen)
            whileOpen(hwnd);
    };
    return RunAnsweringBoxes(action, {answer});
}

::testing::AssertionResult RunWithoutBox(const std::function<void()>& action, DWORD quietMs)
{
    RobotThread robot([&](std::string* failure) {
        MessageBoxInfo info;
        HWND hwnd = WaitMessageBox(GetCurrentProcessId(), quietMs, &info, nullptr);
        if (!hwnd)
            return true;
        *failure = "a message box appeared: " + Quoted(info.caption) + " " + Quoted(info.text);
        PressButton(hwnd, info.buttons.empty() ? IDOK : info.buttons.front());
        return false;
    });
    action();
    std::string failure;
    return robot.Join(&failure) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << failure;
}

}  // namespace robot
