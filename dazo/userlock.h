// The user lock: keeps two Windows users (two logon sessions) from working in
// the same program folder at once, while one user may run several programs
// there. One lock object per process, made at start-up and kept until exit.
#pragma once

#include <windows.h>

// Error record of the last failure.
struct UserLockError {
    const char* pszText;  // the message
    DWORD dwError;        // the system error code that went with it, or 0
    int nDetail;          // UL_DETAIL_IDTOOLONG, or 0
};

enum { UL_DETAIL_IDTOOLONG = 2 };

// Lock states.
enum {
    UL_FAILED = -1,  // not set up, or set-up failed
    UL_FREE = 0,     // this user may go on
    UL_INUSE = 1,    // in use by another user
};

// Longest application ID, in bytes.
const int UL_MAXID = 220;

int ulInit(const char* appId);
const char* ulGetUser();
const UserLockError* ulGetError();
const char* ulGetErrorText();
void ulFin();

// The program-folder check of start-up: 1 to go on, 0 to stop (the user has
// been told why).
int ulLockAppFolder();
