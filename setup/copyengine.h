// The copy engine: what one entry of the file list "SETUP.LST" does to the
// target folders. An entry with a source file has its medium checked (the
// user is asked for the right disk), then the file is copied or expanded; an
// entry without one deletes its target. A target held by another program
// leads to a retry question, and every question the user can cancel leads to
// the stop question.
//
// CopyFileList carries out one section: for each entry it shows "コピー中："
// + the entry's name in the progress window, lets the window's stop button be
// seen (ConfirmAbort), then calls CopyListEntry for the entry; it stops the
// section at the first 0.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

class DoingWnd;
class FEnv2;
struct FileListEntry;

// CopyOneFile results.
enum {
    COPY_DONE = 0,     // the target holds the source's bytes and last-write time
    COPY_INUSE = 1,    // another program holds the target, or access was denied; nothing reported
    COPY_FAILED = -1,  // reported; the target is as it was
};

// Copies source to target, expanding it when fCompressed is set. The new
// bytes are written beside the target and put in its place in one step, so
// that a failed copy never leaves a partial file at the target's name. The
// target's folder is made, with its parents, when it is missing.
int CopyOneFile(int fCompressed, const DataObjStr& source, const DataObjStr& target);

// "セットアップを中止しますか？"; non-zero unless the user answers No.
int ConfirmAbort(HWND owner);

// Carries out one entry: 1 when it is done, 0 when the setup is to stop (the
// user chose to stop, or a failure was reported). sourceFolder ends in a
// backslash; owner is the window that owns the questions.
int CopyListEntry(const FileListEntry& entry, const DataObjStr& sourceFolder, HWND owner);

// Carries out the section of the open file list, its entries in file order,
// the progress window's own window owning every question. appPath and
// docPath are what $(AppPath) and $(DocPath) expand to. 1 when every entry
// is done (also for a missing or empty section), 0 when the setup is to stop.
int CopyFileList(FEnv2* list, DoingWnd* doing, const char* section, const DataObjStr& sourceFolder,
                 const DataObjStr& appPath, const DataObjStr& docPath);
