// The text of a settings file as it is in memory, for the settings-file tests.
#pragma once

#include <string>

#include "dazo/fenv2.h"

inline std::string TextOf(const FEnv2& env) { return std::string(env.GetText(), env.GetTextSize()); }
