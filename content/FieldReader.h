#pragma once

#include <string>

// Values of labelled items "label:value": everything after the first colon.
// Text without a colon has an empty value, which reads as 0.
class FieldReader {
public:
    // Like atoi, clamped to the int range instead of overflowing.
    static int readIntField(const std::string& text);
    static double readFloatField(const std::string& text);
    static std::string readTextField(const std::string& text);
};
