// The settings files of an installation, and the medium's SETUP.LST, as the
// setup opens them: the lock waited for 10 s at most, looked at every 100 ms.
#pragma once

#include "dazo/fenv2.h"

// flags 0 reads without lock options; ENV_HOLDLOCK keeps the lock for a
// change until the object goes.
inline SafePtr<FEnv2> OpenSettings(const DataObjStr& path, DWORD flags = 0)
{
    return SafePtr<FEnv2>(new FEnv2(path, flags, 10000, 100));
}

// Whether the file was read; when not, the open has reported why.
inline bool IsLoaded(const SafePtr<FEnv2>& settings)
{
    return (settings->GetFlags() & ENV_LOADED) != 0;
}
