#include "content/FieldReader.h"

#include <cctype>
#include <climits>
#include <cstdlib>

namespace {

const char* valueOf(const std::string& text) {
    const std::string::size_type colon = text.find(':');
    return colon == std::string::npos ? "" : text.c_str() + colon + 1;
}

} // namespace

int FieldReader::readIntField(const std::string& text) {
    const char* value = valueOf(text);
    // strtol accepts a base prefix atoi does not; decimal base 10 keeps atoi's reading.
    long parsed = std::strtol(value, nullptr, 10);
    if (parsed > INT_MAX)
        return INT_MAX;
    if (parsed < INT_MIN)
        return INT_MIN;
    return static_cast<int>(parsed);
}

double FieldReader::readFloatField(const std::string& text) {
    return std::atof(valueOf(text));
}

std::string FieldReader::readTextField(const std::string& text) {
    return valueOf(text);
}
