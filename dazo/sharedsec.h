// The library's shared security attributes: full access for everyone, for
// files that programs of several users share (a settings file and its lock
// file opened with ENV_SECURE). A program that wants them sets them up once;
// until then, and on systems without security, there are none and such files
// get the default security.
#pragma once

#include <windows.h>

// 1 when the attributes are set up (now or before); 0 when the system has no
// security or building them failed (reported).
int InitSharedSecurity();
// The attributes, or null when they have not been set up.
SECURITY_ATTRIBUTES* GetSharedSecurity();
