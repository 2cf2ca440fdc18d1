// Helpers of the settings-file tests: the text of an FEnv2 and its lookups
// as std::string.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "dazo/fenv2.h"

// The text of the settings file as it is in memory.
inline std::string TextOf(const FEnv2& env) { return std::string(env.GetText(), env.GetTextSize()); }

// GetString as a std::string; "<missing>" when not found.
inline std::string Lookup(FEnv2& env, const char* section, const char* key)
{
    DataObjStr value;
    env.GetString(value, section, key, "<missing>");
    return std::string(value);
}

// The names of a double-NUL list.
inline std::vector<std::string> Names(const DataObjStr& list)
{
    std::vector<std::string> names;
    for (const char* p = list; *p; p += std::strlen(p) + 1)
        names.push_back(p);
    return names;
}
