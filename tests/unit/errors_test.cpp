// Error reporting as the user sees it (the boxes) and as callers use it
// (collecting frames), and the texts of system, COM and common-dialog errors.
// ShowMessage and its thread: which owner a box gets, when it is task-modal,
// and that a box asked for while one is open goes to the thread. (Whether an
// ownerless box is also topmost cannot be seen here: Wine ignores
// MB_TOPMOST.) And the diagnostic log that reported errors go to: its state
// is process-wide and lf_init works once per process, so each of its tests
// expects a process of its own, as ctest runs them.
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <regex>

#include "base/logfile.h"
#include "base/msgbox.h"
#include "error_report_env.h"
#include "scratch_test.h"
#include "testkit/child_process.h"

namespace {

// Holds one error in a collecting frame, for the rows that show it later.
ErrorFrame s_held;
void Hold(int category, const char* message, const char* context)
{
    PushErrorFrame(&s_held);
    ReportError(category, message, context);
}

TEST(ErrorDisplay, EachReportShowsItsBoxThroughTheThreadWithAnExclamation)
{
    // Starting the message functions set the error mode: the system shows no
    // critical-error boxes of its own for missing disks and files, the
    // program's messages say it.
    EXPECT_EQ((UINT)(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), GetErrorMode());
    const char* path = "C:\\存在しない\\なし.ENV";
    const std::string pathLine = std::string("\n\n") + path;
    const struct {
        const char* name;
        std::function<int()> report;
        std::string text;
    } rows[] = {
        {"blank context", [] { return ReportError(ERR_USER, "メッセージだけ", "   "); }, "メッセージだけ"},
        {"no context", [] { return ReportError(ERR_USER, "メッセージだけ", nullptr); }, "メッセージだけ"},
        {"blank message", [] { return ReportError(ERR_USER, "  ", "文脈だけ"); }, "文脈だけ"},
        {"category text", [] { return ReportError(ERR_DISKFULL, ERR_MSG_CATEGORY, "D:\\"); },
         "ディスクの空きが足りません\n\nD:\\"},
        {"unknown code", [] { return ReportErrorCode(99, "何か"); }, "エラーです\n\n何か"},
        {"open after ENOENT", [&] { return errno = ENOENT, ReportErrorCode(ERR_OPEN, path); },
         "ファイルまたはディレクトリが見つかりません" + pathLine},
        {"open after EACCES", [&] { return errno = EACCES, ReportErrorCode(ERR_OPEN, path); }, "オープンできません" + pathLine},
        {"category ignores errno", [&] { return errno = ENOENT, ReportError(ERR_OPEN, ERR_MSG_CATEGORY, path); },
         "オープンできません" + pathLine},
        {"system error", [] { return ReportSysError(ERR_SYSTEM, ERROR_SHARING_VIOLATION, "作成できません"); },
         "プロセスはファイルにアクセスできません。別のプロセスが使用中です。\n\n作成できません"},
        // A held report is shown when its frame goes or is set to show (no
        // box before: see ErrorFrames); the last row's frame goes after the loop.
        {"popped frame", [] { return Hold(ERR_WRITE, "書けません", "C:\\DATA"), PopErrorFrame(), -1; },
         "書けません\n\nC:\\DATA"},
        {"frame set to show", [] { return Hold(ERR_READ, "後で見せる", "y"), SetErrorFrameMode(ERRMODE_SHOW), -1; },
         "後で見せる\n\ny"},
    };
    for (const auto& row : rows) {
        robot::MessageBoxInfo box;
        int result = 0;
        EXPECT_TRUE(robot::RunAnsweringBox([&] { result = row.report(); }, {kTestTitle, row.text, {IDOK}, IDOK}, &box))
            << row.name;
        EXPECT_TRUE(result == -1 && box.icon == MB_ICONEXCLAMATION && box.owner == ThreadMsgBoxWindow()) << row.name;
        EXPECT_EQ(0, GetError()) << row.name << ": shown, so no longer held";
    }
    PopErrorFrame();
}

// The outer frame is the scratch fixture's: it collects what a test reports.
using ErrorFrames = ScratchTest;

TEST_F(ErrorFrames, CollectingFramesKeepTheFirstErrorAndHandItOutward)
{
    // Over-long texts are cut to 340 bytes, never inside a double-byte character.
    std::string longText = "a";
    for (int i = 0; i < 300; ++i)
        longText += "表";
    ReportError(ERR_USER, longText.c_str(), longText.c_str());
    EXPECT_TRUE(Reported(ERR_USER, longText.substr(0, 339), longText.substr(0, 339)));
    ErrorFrame inner;
    EXPECT_TRUE(robot::RunWithoutBox([&] {
        PushErrorFrame(&inner);
        ReportError(ERR_READ, "一つ目", "A.ENV", 1234);
        ReportError(ERR_WRITE, "二つ目", "B.ENV");
        EXPECT_EQ(1234, GetError()) << "the detail before the category";
        PopErrorFrame();
        PushErrorFrame(&inner);
        ReportError(ERR_WRITE, "もう一つ", "in2");
        PopErrorFrame();  // the outer frame holds one already
        EXPECT_TRUE(Reported(ERR_READ, "一つ目", "A.ENV"));  // and cleared
        EXPECT_EQ(ERRMODE_COLLECT, SetErrorFrameMode(ERRMODE_IGNORE));
        ReportError(ERR_READ, "無視される", "x");
        EXPECT_EQ(0, GetError());
    }));
}

TEST_F(ErrorFrames, TextsOfSystemComAndCommonDialogErrorsOnTheirRows)
{
    const struct {
        DWORD code;
        int flags;         // 1: the number added
        const char* text;  // GetSysErrorText's; SysErrorString's too when it has no number
    } rows[] = {
        // The texts carried in the program (one row: the others are more
        // data of the same table), and with the number.
        {5, 0, "アクセスが拒否されました。"}, {5, 1, "アクセスが拒否されました。(番号：5)"}, {0, 0, "不明なエラー(0)"},
        // The first and the last of the LZ codes, and the one below them.
        {(DWORD)-1, 0, "入力ハンドルが無効です。"}, {(DWORD)-8, 0, "圧縮アルゴリズムが認識されていません。"},
        {(DWORD)-9, 0, "不明なエラー(番号：-9)"},
        // Codes between the covered ranges have no text, with or without the number.
        {35, 0, "不明なエラー(番号：35)"}, {1118, 1, "不明なエラー(番号：1118)"},
    };
    for (const auto& row : rows) {
        char buf[600];
        EXPECT_EQ((int)std::strlen(row.text) + 1, GetSysErrorText(row.code, buf, sizeof(buf), row.flags)) << row.code;
        EXPECT_STREQ(row.text, buf) << row.code;
        bool unknown = !std::strncmp(row.text, "不明なエラー(番号", std::strlen("不明なエラー(番号"));
        if (unknown || !row.flags) {
            EXPECT_STREQ(unknown ? nullptr : row.text, SysErrorString(row.code)) << row.code;
        }
    }
    // A small buffer gets whole characters (7 bytes would split ス) and the size needed.
    char small[8];
    EXPECT_EQ((int)std::strlen("アクセスが拒否されました。(番号：5)") + 1, GetSysErrorText(5, small, sizeof(small), 1));
    EXPECT_STREQ("アクセ", small);
    EXPECT_EQ(GetSysErrorText(5, small, sizeof(small), 1), GetSysErrorText(5, nullptr, 0, 1));
    // Common-dialog errors: the table's last entry; unknown codes; none.
    const struct { DWORD code; int category; const char *name, *text; } dialogRows[] = {
        {0xFFFF, ERR_NOMEM, "CDERR_DIALOGFAILURE", "メモリが足りません"},
        {0x5005, ERR_SYSTEM, "0x00005005", "コモンダイアログエラーです"}, {0, 0, "", ""},
    };
    for (const auto& row : dialogRows) {
        CommDlgErrorInfo info;
        GetCommDlgError(row.code, &info);
        EXPECT_EQ(std::to_string(row.category) + " " + row.name + " " + row.text,
                  std::to_string(info.category) + " " + info.name + " " + info.text) << row.code;
    }
    // COM results, reported into the collecting frame.
    const struct { HRESULT hr; const char* text; } comRows[] = {
        // A fixed text (one row: the others are more data of the same
        // switch); fixed texts come before the rule of facility 7.
        {E_ACCESSDENIED, "アクセス権がありません"},
        {(HRESULT)0x80000009, "COMｴﾗｰ FACILITY_NULL HRESULT:80000009"},
        {(HRESULT)0x80010105, "COMｴﾗｰ HRESULT:80010105 FACILITY_RPC"},
        {(HRESULT)0x80020009, "COMｴﾗｰ HRESULT:80020009 FACILITY_DISPATCH"},
        {(HRESULT)0x80030102, "COMｴﾗｰ HRESULT:80030102 FACILITY_STORAGE"},
        {(HRESULT)0x80040154, "COMｴﾗｰ HRESULT:80040154 FACILITY_ITF"},
        {(HRESULT)0x80080005, "COMｴﾗｰ HRESULT:80080005 FACILITY_WINDOWS"},
        {(HRESULT)0x800A0001, "COMｴﾗｰ HRESULT:800A0001"},
        // Storage below 256 and Win32 results are system error codes.
        {(HRESULT)0x80030020, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。"},
        {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "指定されたファイルが見つかりません。"},
    };
    for (const auto& row : comRows) {
        EXPECT_EQ(-1, ReportComError(row.hr, "ショートカット")) << std::hex << row.hr;
        EXPECT_TRUE(Reported(ERR_SYSTEM, row.text, "ショートカット")) << std::hex << row.hr;
    }
    // Code 10 is not compiled in: the system's Japanese text, asked once and kept.
    const char* text = SysErrorString(ERROR_BAD_ENVIRONMENT);
    ASSERT_TRUE(text && (unsigned char)text[0] >= 0x80 && !std::strchr(" \r\n", text[std::strlen(text) - 1])) << text;
    EXPECT_EQ(text, SysErrorString(ERROR_BAD_ENVIRONMENT));
}


// A window for owners, destroyed with the object.
using Window = std::unique_ptr<HWND__, decltype(&DestroyWindow)>;
Window MakeWindow(DWORD style, HWND parent = nullptr, const char* cls = "Static")
{
    return Window(CreateWindowExA(0, cls, "テスト窓", style, 50, 50, 300, 200, parent, nullptr, nullptr, nullptr),
                  DestroyWindow);
}

const robot::BoxAnswer kNotice = {kTestTitle, "お知らせです", {IDOK}, IDOK};

// The second box is asked for from a timer message that the first box's
// modal loop dispatches: it must not nest a modal loop on this thread. (That
// MB_SYSTEMMODAL takes the thread path too, every error box shows.)
int s_nestedAnswer;
void CALLBACK AskFromTheTimer(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    s_nestedAnswer = ShowMessage(hwnd, "二つ目", "別の見出し", MB_YESNO);
}

TEST(ShowMessage, OwnerOnEachRowThenABoxAskedForWhileOneIsOpenGoesToTheThreadWindow)
{
    Window visible = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE), hidden = MakeWindow(WS_OVERLAPPEDWINDOW);
    Window panel = MakeWindow(WS_CHILD | WS_VISIBLE, visible.get());
    Window button = MakeWindow(WS_CHILD | WS_VISIBLE, panel.get(), "Button");
    Window minimised = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Window bystander = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const struct { const char* name; HWND owner; UINT flags; HWND expected; } rows[] = {
        {"visible", visible.get(), 0, visible.get()}, {"hidden", hidden.get(), 0, nullptr},
        {"child control", button.get(), 0, visible.get()}, {"task-modal", visible.get(), MB_TASKMODAL, nullptr},
        {"minimised", minimised.get(), 0, minimised.get()},
    };
    for (const auto& row : rows) {
        ShowWindow(minimised.get(), SW_MINIMIZE);
        robot::MessageBoxInfo box;
        bool bystanderEnabled = false, iconic = true;
        EXPECT_TRUE(robot::RunAnsweringBox([&] { ShowMessage(row.owner, kNotice.text.c_str(), nullptr, row.flags); },
                                           kNotice, &box, [&](HWND) {
                                               bystanderEnabled = IsWindowEnabled(bystander.get());
                                               iconic = IsIconic(minimised.get());
                                           }))
            << row.name;
        // Without an owner the box is task-modal: the thread's windows are
        // disabled while it is open; a minimised owner is restored first.
        EXPECT_TRUE(box.owner == row.expected && bystanderEnabled == (row.expected != nullptr)) << row.name;
        EXPECT_FALSE(row.owner == minimised.get() && iconic) << row.name;
    }

    // A box asked for while one is open goes to the thread window, under its caption.
    HWND threadWindow = ThreadMsgBoxWindow();
    ASSERT_TRUE(threadWindow && GetWindowThreadProcessId(threadWindow, nullptr) != GetCurrentThreadId());
    static int s_hookCalls[2];  // before a box of the direct path, of the thread path
    g_pfnBeforeMsgBox = [](int fromThread) { ++s_hookCalls[fromThread ? 1 : 0]; };
    robot::BoxRecorder recorder(GetCurrentProcessId());
    robot::MessageBoxInfo first, second;
    std::string titleWhileOpen;
    bool visibleWhileOpen = false;
    int firstAnswer = 0;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            SetTimer(visible.get(), 1, 100, AskFromTheTimer);
            firstAnswer = ShowMessage(visible.get(), "一つ目", nullptr, MB_OKCANCEL);
        },
        {kTestTitle, "一つ目", {IDOK, IDCANCEL}, IDCANCEL}, &first, [&](HWND) {
            ASSERT_TRUE(recorder.WaitForBoxes(2, robot::kBoxWaitMs));
            second = recorder.Boxes()[recorder.Boxes()[0].text == "二つ目" ? 0 : 1];
            titleWhileOpen = robot::GetText(threadWindow);
            visibleWhileOpen = IsWindowVisible(threadWindow);
            robot::PressButton(second.hwnd, IDYES);
            robot::WaitGone(second.hwnd, robot::kBoxWaitMs);
        }));
    g_pfnBeforeMsgBox = nullptr;
    EXPECT_TRUE(first.owner == visible.get() && second.owner == threadWindow && second.text == "二つ目");
    EXPECT_TRUE(second.caption == "別の見出し" && titleWhileOpen == "別の見出し" && visibleWhileOpen);
    EXPECT_FALSE(IsWindowVisible(threadWindow));
    EXPECT_TRUE(firstAnswer == IDCANCEL && s_nestedAnswer == IDYES && !(g_fInMsgBox & 1));
    EXPECT_TRUE(s_hookCalls[0] == 1 && s_hookCalls[1] == 1) << "the hook before each box: " << s_hookCalls[0]
                                                            << s_hookCalls[1];
}

// A scratch folder as the current folder, where the log goes.
class LogFile : public ::testing::Test, protected ScratchFolder {
protected:
    void SetUp() override { ASSERT_TRUE(SetCurrentDirectoryA(Path().c_str())); }
    void TearDown() override { SetCurrentDirectoryA("C:\\"); }
};

TEST_F(LogFile, OffUntilStartedThenLinesAsWrittenWhileEnabled)
{
    lf_write("書かれない", 1);
    EXPECT_FALSE(Exists("CORVA.LOG"));
    MakeFile("CORVA.LOG", "old line\r\n");
    lf_init(nullptr, 2);  // flag 2: the old file goes first
    lf_init("second.log", 0);  // a second start keeps the first name
    lf_write("一行目", 1);
    lf_write("改行なし", 0);
    lf_enable(0);
    EXPECT_EQ(0, lf_isenabled());
    lf_write("消えた", 1);
    lf_enable(1);
    lf_write("", 1);
    // The hook takes a report that is not fatal instead of a box; the line is
    // written before it.
    static std::string s_hooked;
    g_pfnErrorHook = [](int category, const char* context, const char* message) {
        s_hooked = std::to_string(category) + "|" + context + "|" + message;
    };
    EXPECT_TRUE(robot::RunWithoutBox([] { ReportErrorText("書けません", "C:\\表"); }));
    g_pfnErrorHook = nullptr;
    EXPECT_EQ("8|C:\\表|書けません", s_hooked);
    lf_fin();
    std::regex stamp("\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d ");
    EXPECT_EQ("|ログ開始 lf_init\r\n|一行目\r\n|改行なし|\r\n|FFERROR : C:\\表 書けません\r\n|ログ終了 lf_fin\r\n",
              std::regex_replace(ReadFileBytes("CORVA.LOG"), stamp, "|"));
    EXPECT_FALSE(Exists("second.log"));
}

// Without flag 2 lines are appended to an old file; a name of 100 bytes is
// cut to its first 79.
TEST_F(LogFile, AppendsToAnOldFileUnderANameCutTo79Bytes)
{
    std::string name(79, 'n');
    MakeFile(name, "old line\r\n");
    lf_init((name + std::string(21, 'x')).c_str(), 0);
    std::string log = ReadFileBytes(name);
    EXPECT_TRUE(log.find("old line\r\n") == 0 && log.find("ログ開始 lf_init") != std::string::npos) << log;
}

}  // namespace
