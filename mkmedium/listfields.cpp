#include "mkmedium/listfields.h"

#include <cstdlib>

std::string ListFieldText(const std::string& field)
{
    bool quote = field.find(',') != std::string::npos || (!field.empty() && field[0] == ' ');
    return quote ? "\"" + field + "\"" : field;
}

std::vector<std::string> SplitListFields(const std::string& value, int count)
{
    std::vector<std::string> fields;
    size_t p = 0;
    for (int i = 0; i < count; ++i) {
        while (p < value.size() && value[p] == ' ')
            ++p;
        size_t start = p;
        if (p < value.size() && value[p] == '"') {
            start = ++p;
            while (p < value.size() && value[p] != '"')
                ++p;
            fields.push_back(value.substr(start, p - start));
            if (p < value.size())
                ++p;
        } else {
            while (p < value.size() && value[p] != ',')
                ++p;
            fields.push_back(value.substr(start, p - start));
        }
        if (p < value.size() && value[p] == ',')
            ++p;
    }
    return fields;
}

long ListFieldNumber(const std::string& field)
{
    return std::atol(field.c_str());
}
