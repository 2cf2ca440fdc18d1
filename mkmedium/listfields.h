// The value of a SETUP.LST entry: nine fields separated by commas (disk,
// compressed, source, target, folder, three unused texts, a reserved
// number). The setup reads a field by skipping spaces; a field that then
// starts with a double quote runs to the next double quote (commas inside
// belong to it), any other field to the next comma, trailing spaces
// included. Commas, quotes and spaces are never the second byte of a
// double-byte character, so byte scans are safe.
#pragma once

#include <string>
#include <vector>

constexpr int LIST_FIELD_COUNT = 9;

// The field as it must be written for the setup to read it back unchanged:
// in double quotes when it holds a comma or starts with a space. A field
// cannot hold a double quote (names checked by names.h hold none): quotes
// would end at it, and without them a leading one would start quotes.
std::string ListFieldText(const std::string& field);

// The first count fields of a value, split as the setup splits them.
std::vector<std::string> SplitListFields(const std::string& value, int count);

// A number field as the setup reads it (atol: blanks, a sign, digits).
long ListFieldNumber(const std::string& field);
