// The steps of the install procedure that work on settings files, each in
// the program folder appPath (with its trailing backslash). Each reports its
// own failure and returns 0; the procedure then stops.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

struct SetupParams;

// SHARE.ENV and DARVOSHL.ENV: the keys of a new installation, the automatic
// start moved to SHARE.ENV for kept settings older than version 5020, and
// the version of this setup; both saved.
int WriteSettingsKeys(const SetupParams& params, bool settingsKept);

// When WIN.INI names a version-4 folder that holds "DARVO4.INI" and the user
// agrees, its settings go into DARVO5.ENV and SHARE.ENV records that they
// came from version 4. 1 also when there is nothing to import or the user
// declines.
int OfferVersion4Import(HWND owner, const DataObjStr& appPath);
