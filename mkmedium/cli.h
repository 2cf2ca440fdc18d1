// The command line of mkmedium (README.md, "mkmedium"):
//
//   mkmedium [--disk-size SIZE] DESCRIPTION SETUP-FOLDER OUTPUT-FOLDER
//   mkmedium --check MEDIUM-FOLDER
//
// Exit status: 0 done (or the medium is sound), 1 refused or faults found,
// 2 a wrong command line.
#pragma once

#include <string>
#include <vector>

#include "mkmedium/console.h"

// args without the program's name, in UTF-8.
int RunMkmedium(const std::vector<std::string>& args, Console& console);
