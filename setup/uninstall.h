// The uninstall mode's removal (RunAddRemove, declared in setup/setup.h,
// runs it after the user's confirmation) and the guards that keep it from
// taking what is not the application's: the system's and the shell's own
// folders, and the user's books.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

// Removes the application installed in programFolder: its temporary
// folders, its records (when the registry's "KeyAppDir" does not name
// another folder) and the program folder but the books. Says how it went
// ("削除しました" or "削除に失敗しました") in a box owned by owner; 1 when
// everything was removed, 0 otherwise.
int RemoveApplication(HWND owner, const DataObjStr& programFolder);

// 1 when programFolder may be removed; 0, after reporting "削除できません"
// with the folder, when it is a drive or share root, or the Windows, system,
// Program Files or a special shell folder (of the user or of all users), or
// holds one.
int CheckRemovableFolder(const DataObjStr& programFolder);

// The data folder that SHARE.ENV of programFolder names ([会社選択]
// "Folder"), in the comparison form of KeyFolderForm, into *dataFolder;
// empty when there is no SHARE.ENV or it names none. 0 after a reported
// failure to read an existing SHARE.ENV: what to keep is unknown then.
int FindDataFolder(const DataObjStr& programFolder, DataObjStr* dataFolder);

// Deletes programFolder with everything in it but the books: the data
// folder (comparison form, as FindDataFolder gives it) when it lies inside,
// with all it holds, and every ".QLB" file, with the folders above them.
// A folder already gone counts as removed. 1 when all else is gone; 0 after
// a reported failure.
int RemoveProgramFolder(const DataObjStr& programFolder, const DataObjStr& dataFolder);
