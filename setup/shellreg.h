// The records of an installation kept by the system: the application's
// registry values, the ".QLB" document type, the Start-menu and desktop
// shortcuts and the entry in the list of installed software; and the two
// readers the install driver needs, the shell's special folders and registry
// strings. Every writer reports its own failure and returns 0; callers only
// stop. COM must be initialised (the entry point does it).
#pragma once

#include <windows.h>

#include "dazo/Data.h"

struct SetupParams;

// Where the application's values live, under HKEY_LOCAL_MACHINE.
extern const char SHELLREG_APP_KEY[];
// The uninstall entry, under HKEY_LOCAL_MACHINE, and its display name (also
// the shortcuts' description).
extern const char SHELLREG_UNINSTALL_KEY[];
extern const char SHELLREG_DISPLAY_NAME[];
// The file name of both shortcuts.
extern const char SHELLREG_LINK_NAME[];

// The four application values, as "AppDir", "KeyAppDir", "pathShortcut1"
// and "pathShortcut2" store them. A new record holds four empty texts.
struct AppKeys {
    DataObjStr AppDir;         // the program folder as chosen
    DataObjStr KeyAppDir;      // its comparison form (KeyFolderForm)
    DataObjStr pathShortcut1;  // the Start-menu shortcut
    DataObjStr pathShortcut2;  // the desktop shortcut, or empty
};

// ---- Reading ----------------------------------------------------------------

// The shell folder csidl with a trailing backslash into *out (when given);
// non-zero on success. On failure *out is empty and, with report set, the
// failure has been reported.
int GetSpecialFolder(DataObjStr* out, HWND owner, int csidl, int report);
// Fills the four shell folders of params; one that the system does not know
// stays empty. Always 1.
int GetShellFolders(SetupParams* params);
// A REG_SZ value; the empty text for a value of another type, deflt when the
// key or the value cannot be read. Reports nothing.
DataObjStr ReadRegString(HKEY root, const char* keyPath, const char* valueName, const char* deflt);

// A REG_SZ value of an open key into *out, asked for with 260 bytes first
// and again, larger, while the system answers that it is longer. The
// system's status; ERROR_FILE_NOT_FOUND for a value of another type. Reports
// nothing.
LONG ReadRegSz(HKEY key, const char* name, DataObjStr* out);
// Clears *keys, then reads the four values from the application's key, which
// is created when it does not exist. 1 on success (a missing value or one of
// another type reads empty); 0 after a reported failure.
int ReadAppKeys(AppKeys* keys);

// ---- Writing ----------------------------------------------------------------

// The form in which program folders are compared: absolute, every component
// in its long name, a trailing backslash, single-byte letters upper-cased.
DataObjStr KeyFolderForm(const DataObjStr& folder);

// A shortcut file at linkPath; target, arguments, description and iconFile
// may each be null (not set). Its folder is created when missing.
int CreateShortcut(const char* target, const char* arguments, const char* description, const char* iconFile,
                   int iconIndex, const DataObjStr& linkPath);
// The ".QLB" document type, opened by DARVOSHL.EXE of programFolder (which
// ends in a backslash) and shown with DARVO5.EXE's icon.
int RegisterDocumentType(const DataObjStr& programFolder);
// Sets keys->KeyAppDir to the comparison form of keys->AppDir, then writes
// the four values.
int WriteAppKeys(AppKeys* keys);
// The entry of the list of installed software.
int WriteUninstallEntry(const char* keyPath, const char* displayName, const DataObjStr& command);

// Every record of a new installation into params.m_strAppPath, in this
// order: the application's values, the document type, the Start-menu and
// (when chosen and the desktop folder is known) the desktop shortcut, the
// uninstall entry. Stops at the first failure (reported), leaving what was
// written; non-zero when every record was written. An update writes none.
int RegisterInstallation(const SetupParams& params);

// Tells the shell that folders, links and document types may all have
// changed, so that it shows them as they now are (after an install or a
// removal, whatever came of it).
void NotifyShellOfChanges();
