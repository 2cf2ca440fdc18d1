// The install procedure: turns the choices of SetupParams into an installed
// or updated application. It copies the sections of the file list in the
// order of the mode, installs or keeps the settings files and writes their
// keys, offers the version-4 import, and for a new installation writes the
// records the system keeps (registry values, document type, shortcuts,
// uninstall entry); then it tells the user whether the setup completed or
// was stopped.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

class FEnv2;
struct SetupParams;

// The version this setup installs, as SHARE.ENV [出納帳] "Version" keeps it.
const long SETUP_VERSION = 5621;

// owner: the background window, disabled while the progress window is up and
// owner of the closing message. list: the open "SETUP.LST" of source, the
// medium's folder. params->m_fSample is cleared when the user keeps an
// existing sample file. 1 when the setup completed, 0 when it was stopped
// (by the user, or after a reported failure).
int DoInstall(HWND owner, SetupParams* params, FEnv2* list, const DataObjStr& source);
