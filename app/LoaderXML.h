#pragma once

#include <string>

class Rectangle;

#include <xercesc/util/XercesDefs.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class XercesDOMParser;
XERCES_CPP_NAMESPACE_END

// Reads the window size and viewport offset from a small XML file: the
// document element's x, y, width and height attributes.
class LoaderXML {
public:
    LoaderXML() = default;
    virtual ~LoaderXML() = default;

    // A new rectangle (caller owns it), or null when the file is missing,
    // does not parse, or gives a zero width or height.
    Rectangle* load(const std::string& fileName);
    // True when the parse raised nothing and found no error.
    bool parse(XERCES_CPP_NAMESPACE::XercesDOMParser& parser, const std::string& fileName);

    virtual const char* getClassName() const { return "LoaderXML"; }
};
