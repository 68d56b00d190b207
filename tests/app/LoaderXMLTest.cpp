#include <gtest/gtest.h>
#include <xercesc/util/PlatformUtils.hpp>

#include "app/LoaderXML.h"
#include "graphics/Rectangle.h"
#include "support/TempFile.h"

namespace {

// The rectangle's bounds as "x y w h", or "null".
std::string loadBounds(const std::string& xml) {
    Rectangle* r = LoaderXML().load(writeTempFile("Viewport.xml", xml));
    if (!r)
        return "null";
    Position origin(0, 0);
    int w = 0, h = 0;
    r->getBounds(origin, w, h);
    delete r;
    return std::to_string(static_cast<int>(origin.getX())) + " " +
           std::to_string(static_cast<int>(origin.getY())) + " " + std::to_string(w) + " " +
           std::to_string(h);
}

} // namespace

TEST(LoaderXML, ReadsTheDocumentElementsAttributesAndRefusesEverythingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"<viewport x=\"0\" y=\"0\" width=\"1024\" height=\"768\"/>", "0 0 1024 768"},
        {"<?xml version=\"1.0\"?>\n<v width=\"800\" height=\"600\"><c/></v>", "0 0 800 600"},
        // atof/atoi leniency: truncated corner, trailing letters ignored, blanks skipped.
        {"<any x=\"12.7\" y=\" 20\" width=\"640px\" height=\"480\"/>", "12 20 640 480"},
        {"<v x=\"-10\" y=\"abc\" width=\"320\" height=\"200\"/>", "-10 0 320 200"},
        // Well-formed is enough: rules in a DOCTYPE are not enforced.
        {"<!DOCTYPE v [<!ELEMENT v EMPTY>]><v width=\"800\" height=\"600\"><c/></v>",
         "0 0 800 600"},
        {"<v width=\"0\" height=\"768\"/>", "null"},
        {"<v width=\"1024\"/>", "null"},
        {"<v width=\"wide\" height=\"768\"/>", "null"},
        {"", "null"},
        {"this is not xml", "null"},
        {"<v width=\"1024\" height=\"768\">", "null"},
        {"<v width=\"1024\" height=\"768\"/><w/>", "null"}};
    for (const auto& c : cases) {
        EXPECT_EQ(loadBounds(c.first), c.second) << c.first;
        // The parser's platform exists only while a file is read, whatever the outcome.
        EXPECT_EQ(xercesc::XMLPlatformUtils::fgMemoryManager, nullptr) << c.first;
    }
    for (const char* missing : {"/nonexistent/Levels/Viewport.xml", ""})
        EXPECT_EQ(LoaderXML().load(missing), nullptr);
}
