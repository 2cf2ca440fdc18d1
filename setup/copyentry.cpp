// One entry of the file list: the deletion of its target, or the medium
// check with the disk prompt and the copy with the retry question. The user
// cannot skip a file: an entry ends by success, by a target already gone, or
// by stopping the setup.
#include <cstdio>
#include <cstring>

#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "setup/copyengine.h"
#include "setup/copyreport.h"
#include "setup/filelist.h"

int ConfirmAbort(HWND owner)
{
    return ShowMessage(owner, "セットアップを中止しますか？", g_szAppTitle, MB_YESNO | MB_ICONQUESTION) != IDNO;
}

// Asks the user to end the program that holds target and try again. 1: try
// again; 0: stop. With boxAgainOnNo, a No to the stop question shows this
// question again; without, it tries again at once.
static int AskToRetry(HWND owner, const DataObjStr& target, bool boxAgainOnNo)
{
    DataObjStr text;
    text << target
         << " へ書き込み出来ません。\n実行中のアプリケーションを全て終了して [再試行] "
            "をすると書き込みできるかもしれません。";
    for (;;) {
        if (ShowMessage(owner, text, g_szAppTitle, MB_RETRYCANCEL) == IDRETRY)
            return 1;
        if (ConfirmAbort(owner))
            return 0;
        if (!boxAgainOnNo)
            return 1;
    }
}

static int DeleteTarget(const DataObjStr& target, HWND owner)
{
    // A read-only target would fail with "access denied" for ever: no
    // program to end would help, and the list asks for it to go.
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    for (;;) {
        if (DeleteFileA(target))
            return 1;
        DWORD err = GetLastError();
        // A target that is not there counts as deleted.
        if (!(GetPathTypeQuiet(target) & PT_FILE))
            return 1;
        if (!(ClassifyFileError(err) & FE_RETRY)) {
            ReportDeleteFailure(err, target);
            return 0;
        }
        if (!AskToRetry(owner, target, false))
            return 0;
    }
}

// Asks for the disk that holds the entry's source. 1: look again; 0: stop.
// The text is built to its length: a long source folder must not be cut.
static int AskForDisk(const FileListEntry& entry, const DataObjStr& sourceFolder, HWND owner)
{
    char disk[16] = "";
    if (entry.m_nDisk != 0)
        std::snprintf(disk, sizeof(disk), " %d ", (int)entry.m_nDisk);
    DataObjStr text;
    text << "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスク" << disk << "を " << sourceFolder
         << " にセットして [OK] ボタンを押して下さい";
    DataObjStr caption;
    caption << entry.m_strSource << "のコピー";
    for (;;) {
        if (ShowMessage(owner, text, caption, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK)
            return 1;
        if (ConfirmAbort(owner))
            return 0;
    }
}

// Whether path names an existing file that GetPathType would find without a
// word to say: the source of nearly every entry. One attribute query, where
// GetPathType's FindFirstFileA costs Wine a folder handle and a search.
static bool IsPlainFile(const DataObjStr& path)
{
    if (!CheckFileName(path) || std::strpbrk(path, "*?"))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// 1 when the source is there as a file, after as many disk prompts as it
// takes; 0 to stop (also after the reported failure of a drive that cannot
// be read).
static int CheckMedium(const FileListEntry& entry, const DataObjStr& source, const DataObjStr& sourceFolder,
                       HWND owner)
{
    if (IsPlainFile(source))
        return 1;
    for (;;) {
        int type = GetPathType(source);
        if (type & PT_ERROR)
            return 0;
        if (type & PT_FILE)
            return 1;
        if (!AskForDisk(entry, sourceFolder, owner))
            return 0;
    }
}

// CopyOneFile makes the target's folder when it is missing.
static int CopyTarget(const FileListEntry& entry, const DataObjStr& source, HWND owner)
{
    DataObjStr target = entry.m_strFolder + entry.m_strName;
    for (;;) {
        switch (CopyOneFile(entry.m_fCompressed, source, target)) {
        case COPY_DONE:
            return 1;
        case COPY_FAILED:
            return 0;
        }
        if (!AskToRetry(owner, target, true))
            return 0;
    }
}

int CopyListEntry(const FileListEntry& entry, const DataObjStr& sourceFolder, HWND owner)
{
    if (IsBlankText(entry.m_strSource))
        return DeleteTarget(entry.m_strFolder + entry.m_strName, owner);
    DataObjStr source = sourceFolder + entry.m_strSource;
    return CheckMedium(entry, source, sourceFolder, owner) && CopyTarget(entry, source, owner);
}
