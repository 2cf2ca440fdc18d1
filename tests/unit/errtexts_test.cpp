// The texts behind the messages: system error codes, COM results and the
// common dialogs' error codes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/errreport.h"

namespace {

std::string SysText(DWORD code, int flags)
{
    char buf[600];
    int needed = GetSysErrorText(code, buf, sizeof(buf), flags);
    EXPECT_EQ((int)std::strlen(buf) + 1, needed);
    return buf;
}

TEST(SysErrorText, CompiledTextsAreThoseOfJapaneseWindows)
{
    EXPECT_STREQ("プロセスはファイルにアクセスできません。別のプロセスが使用中です。", SysErrorString(32));
    EXPECT_STREQ("アクセスが拒否されました。", SysErrorString(5));
    EXPECT_STREQ("%1 は有効な Win32 アプリケーションではありません。", SysErrorString(193));
    EXPECT_STREQ("要求された操作に対して与えられたバッファが無効です。", SysErrorString(1784));
}

TEST(SysErrorText, NumberSuffixOnRequest)
{
    EXPECT_EQ("アクセスが拒否されました。", SysText(5, 0));
    EXPECT_EQ("アクセスが拒否されました。(番号：5)", SysText(5, 1));
}

TEST(SysErrorText, CodeZeroAndTheLzCodes)
{
    EXPECT_STREQ("不明なエラー(0)", SysErrorString(0));
    EXPECT_STREQ("入力ハンドルが無効です。", SysErrorString((DWORD)-1));
    EXPECT_STREQ("圧縮後のファイル形式が壊れています。", SysErrorString((DWORD)-3));
    EXPECT_STREQ("圧縮アルゴリズムが認識されていません。", SysErrorString((DWORD)-8));
    EXPECT_EQ(nullptr, SysErrorString((DWORD)-9));
    EXPECT_EQ("圧縮後のファイル形式が壊れています。(番号：-3)", SysText((DWORD)-3, 1));
}

TEST(SysErrorText, OtherCoveredCodesAreAnsweredByTheSystemOnce)
{
    // Code 10 is covered but not compiled in: the system's Japanese text.
    const char* text = SysErrorString(ERROR_BAD_ENVIRONMENT);
    ASSERT_NE(nullptr, text);
    size_t len = std::strlen(text);
    ASSERT_GT(len, 0u);
    EXPECT_NE('\n', text[len - 1]);
    EXPECT_NE(' ', text[len - 1]);
    EXPECT_TRUE((unsigned char)text[0] >= 0x80) << "not a Japanese text: " << text;
    EXPECT_EQ(text, SysErrorString(ERROR_BAD_ENVIRONMENT));
}

TEST(SysErrorText, UncoveredCodesHaveNoTextWithOrWithoutSuffix)
{
    for (DWORD code : {35u, 37u, 40u, 1118u, 5000u, 0x20000001u})
        EXPECT_EQ(nullptr, SysErrorString(code)) << code;
    EXPECT_EQ("不明なエラー(番号：35)", SysText(35, 0));
    EXPECT_EQ("不明なエラー(番号：35)", SysText(35, 1));
}

TEST(SysErrorText, SmallBufferGetsWholeCharactersAndTheNeededSize)
{
    const std::string full = "アクセスが拒否されました。(番号：5)";
    EXPECT_EQ((int)full.size() + 1, GetSysErrorText(5, nullptr, 0, 1));
    char buf[8];
    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ((int)full.size() + 1, GetSysErrorText(5, buf, sizeof(buf), 1));
    EXPECT_STREQ("アクセ", buf);  // 7 bytes would split ス
}

ErrorFrame ReportedCom(HRESULT hr)
{
    ErrorFrame frame, info;
    PushErrorFrame(&frame);
    EXPECT_EQ(-1, ReportComError(hr, "ショートカット"));
    GetErrorInfo(&info);
    ClearError();
    PopErrorFrame();
    EXPECT_EQ(ERR_SYSTEM, info.code);
    EXPECT_STREQ("ショートカット", info.context);
    return info;
}

TEST(ComErrorText, FixedValuesHaveTheirOwnTexts)
{
    EXPECT_STREQ("Catastrophic failure(E_UNEXPECTED)", ReportedCom((HRESULT)0x8000FFFF).message);
    EXPECT_STREQ("不明なＣＯＭエラー E_FAIL", ReportedCom(E_FAIL).message);
    EXPECT_STREQ("エラーが発生 HRESULT=E_ABORT", ReportedCom(E_ABORT).message);
    // Fixed texts come before the rule of facility 7.
    EXPECT_STREQ("アクセス権がありません", ReportedCom(E_ACCESSDENIED).message);
    EXPECT_STREQ("メモリが足りません", ReportedCom(E_OUTOFMEMORY).message);
    EXPECT_STREQ("引数が無効です", ReportedCom(E_INVALIDARG).message);
}

TEST(ComErrorText, EachFacilityRule)
{
    EXPECT_STREQ("COMｴﾗｰ FACILITY_NULL HRESULT:80000009", ReportedCom((HRESULT)0x80000009).message);
    EXPECT_STREQ("COMｴﾗｰ HRESULT:80010105 FACILITY_RPC", ReportedCom((HRESULT)0x80010105).message);
    EXPECT_STREQ("COMｴﾗｰ HRESULT:80020009 FACILITY_DISPATCH", ReportedCom((HRESULT)0x80020009).message);
    EXPECT_STREQ("COMｴﾗｰ HRESULT:80030102 FACILITY_STORAGE", ReportedCom((HRESULT)0x80030102).message);
    EXPECT_STREQ("COMｴﾗｰ HRESULT:80040154 FACILITY_ITF", ReportedCom((HRESULT)0x80040154).message);
    EXPECT_STREQ("COMｴﾗｰ HRESULT:80080005 FACILITY_WINDOWS", ReportedCom((HRESULT)0x80080005).message);
    EXPECT_STREQ("COMｴﾗｰ HRESULT:800A0001", ReportedCom((HRESULT)0x800A0001).message);
    // Storage below 256 and Win32 results are system error codes.
    EXPECT_STREQ(SysErrorString(32), ReportedCom((HRESULT)0x80030020).message);
    EXPECT_STREQ(SysErrorString(2), ReportedCom(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)).message);
    EXPECT_STREQ("不明なエラー(番号：35)", ReportedCom(HRESULT_FROM_WIN32(35)).message);
}

TEST(CommDlgErrorText, KnownUnknownAndNone)
{
    CommDlgErrorInfo info;
    GetCommDlgError(0x3002, &info);
    EXPECT_EQ(ERR_SYSTEM, info.category);
    EXPECT_STREQ("FNERR_INVALIDFILENAME", info.name);
    EXPECT_STREQ("ファイル名が無効", info.text);

    GetCommDlgError(0xFFFF, &info);
    EXPECT_EQ(ERR_NOMEM, info.category);
    EXPECT_STREQ("CDERR_DIALOGFAILURE", info.name);

    GetCommDlgError(0x1002, &info);
    EXPECT_STREQ("WIN.INIファイルの [devices]セクションが無効です", info.text);

    GetCommDlgError(0x5005, &info);
    EXPECT_EQ(ERR_SYSTEM, info.category);
    EXPECT_STREQ("0x00005005", info.name);
    EXPECT_STREQ("コモンダイアログエラーです", info.text);

    GetCommDlgError(0, &info);
    EXPECT_EQ(0, info.category);
    EXPECT_STREQ("", info.name);
    EXPECT_STREQ("", info.text);
}

}  // namespace
