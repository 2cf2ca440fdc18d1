// The install driver's own steps (RunInstall, declared in setup/setup.h, runs
// them): the default data folder, and the offer to update an installation
// that is already registered.
#pragma once

#include "setup/setupparams.h"
#include "setup/shellreg.h"

// From the four shell folders of params: m_fShared (when the all-users
// Start-menu folder is known), the two bases of the default data folder (the
// desktop folder of each kind, else the root of the Windows folder's drive)
// and m_strDocPath, the data folder under the base of the choice in force
// (without a trailing backslash).
void SetDefaultDataFolder(SetupParams* params);

// Whether to update the installation of keys.AppDir in place: only when it
// holds the application's two programs and SHARE.ENV does the user get the
// question (owned by the program's work window). 1 when the user agreed.
int ConfirmUpdate(const AppKeys& keys);
