// The settings that users of version 4 keep: eighteen values of "DARVO4.INI"
// copied into "DARVO5.ENV" under the same sections and keys.
#pragma once

#include "dazo/Data.h"

class FEnv2;

// Reads each value from the INI file at iniPath and writes those that are
// present into env, unchanged and whole. The writes' results are not
// examined: the save that follows reports what went wrong.
void ImportVersion4Settings(FEnv2* env, const DataObjStr& iniPath);
