// Texts of the common dialogs' extended error codes.
#include <cstdio>

#include "base/errreport.h"
#include "base/text.h"

namespace {

struct CommDlgError {
    DWORD code;
    const char* name;
    int category;
    const char* text;
};

const CommDlgError s_errors[] = {
    {0x0001, "CDERR_STRUCTSIZE", ERR_SYSTEM, "lStructSize メンバが無効です"},
    {0x0002, "CDERR_INITIALIZATION", ERR_NOMEM, "メモリが足りません"},
    {0x0003, "CDERR_NOTEMPLATE", ERR_SYSTEM, "ダイアログテンプレートが無効です"},
    {0x0004, "CDERR_NOHINSTANCE", ERR_SYSTEM, "インスタンスハンドルが無効です"},
    {0x0005, "CDERR_LOADSTRFAILURE", ERR_SYSTEM, "文字列読み込みエラー"},
    {0x0006, "CDERR_FINDRESFAILURE", ERR_SYSTEM, "リソースがありません"},
    {0x0007, "CDERR_LOADRESFAILURE", ERR_SYSTEM, "リソース読み込みエラー"},
    {0x0008, "CDERR_LOCKRESFAILURE", ERR_SYSTEM, "リソースロックエラー"},
    {0x0009, "CDERR_MEMALLOCFAILURE", ERR_NOMEM, "メモリが足りません"},
    {0x000A, "CDERR_MEMLOCKFAILURE", ERR_SYSTEM, "メモリロックエラー"},
    {0x000B, "CDERR_NOHOOK", ERR_SYSTEM, "フック関数が無効です"},
    {0x000C, "CDERR_REGISTERMSGFAIL", ERR_SYSTEM, "システムリソースがいっぱいです"},
    {0x1001, "PDERR_SETUPFAILURE", ERR_SYSTEM, "リソースロードエラー"},
    {0x1002, "PDERR_PARSEFAILURE", ERR_SYSTEM, "WIN.INIファイルの [devices]セクションが無効です"},
    {0x1003, "PDERR_RETDEFFAILURE", ERR_SYSTEM, "パラメータエラー"},
    {0x1004, "PDERR_LOADDRVFAILURE", ERR_SYSTEM, "デバイスドライバのロードに失敗しました"},
    {0x1005, "PDERR_GETDEVMODEFAIL", ERR_SYSTEM, "デバイスモードの取得に失敗"},
    {0x1006, "PDERR_INITFAILURE", ERR_SYSTEM, "初期化に失敗しました"},
    {0x1007, "PDERR_NODEVICES", ERR_SYSTEM, "プリンタドライバが見つかりません"},
    {0x1008, "PDERR_NODEFAULTPRN", ERR_SYSTEM, "デフォルトのプリンタがありません"},
    {0x1009, "PDERR_DNDMMISMATCH", ERR_SYSTEM, "プリンタが異なります"},
    {0x100A, "PDERR_CREATEICFAILURE", ERR_NOMEM, "メモリ不足です"},
    {0x100B, "PDERR_PRINTERNOTFOUND", ERR_SYSTEM, "目的のプリンタはインストールされていません"},
    {0x100C, "PDERR_DEFAULTDIFFERENT", ERR_SYSTEM, "プリンタが異なります"},
    {0x2001, "CFERR_NOFONTS", ERR_SYSTEM, "フォントが存在しません"},
    {0x2002, "CFERR_MAXLESSTHANMIN", ERR_SYSTEM, "バッファ長が足りません"},
    {0x3001, "FNERR_SUBCLASSFAILURE", ERR_SYSTEM, "メモリ不足です"},
    {0x3002, "FNERR_INVALIDFILENAME", ERR_SYSTEM, "ファイル名が無効"},
    {0x3003, "FNERR_BUFFERTOOSMALL", ERR_SYSTEM, "バッファ長が足りません"},
    {0x4001, "FRERR_BUFFERLENGTHZERO", ERR_SYSTEM, "バッファが無効です"},
    {0xFFFF, "CDERR_DIALOGFAILURE", ERR_NOMEM, "メモリが足りません"},
};

}  // namespace

void GetCommDlgError(DWORD code, CommDlgErrorInfo* info)
{
    if (code == 0) {
        info->category = 0;
        info->name[0] = '\0';
        info->text[0] = '\0';
        return;
    }
    for (const CommDlgError& error : s_errors) {
        if (error.code == code) {
            info->category = error.category;
            SjisCopyCut(info->name, sizeof(info->name), error.name);
            SjisCopyCut(info->text, sizeof(info->text), error.text);
            return;
        }
    }
    info->category = ERR_SYSTEM;
    std::snprintf(info->name, sizeof(info->name), "0x%08lX", (unsigned long)code);
    SjisCopyCut(info->text, sizeof(info->text), "コモンダイアログエラーです");
}
