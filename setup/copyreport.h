// The copy engine's failure reports, each shown with the system's text for
// the error code above the engine's own line ("ドライブ X: の準備ができて
// いません." for a drive without a medium). Each returns COPY_FAILED.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

int ReportReadFailure(DWORD err, const DataObjStr& source);
int ReportWriteFailure(DWORD err, const DataObjStr& target);
int ReportDeleteFailure(DWORD err, const DataObjStr& target);
// A compressed source that does not expand to what its header promises.
int ReportExpandFailure(const DataObjStr& source);
