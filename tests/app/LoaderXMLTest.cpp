#include <gtest/gtest.h>
#include <xercesc/util/PlatformUtils.hpp>

#include "app/LoaderXML.h"
#include "graphics/Rectangle.h"
#include "support/TempFile.h"

namespace {

// The rectangle's bounds as "x y w h", or "null".
std::string loadBounds(const std::string& xml) {
    LoaderXML loader;
    Rectangle* r = loader.load(writeTempFile("Viewport.xml", xml));
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

TEST(LoaderXML, ReadsTheDocumentElementsAttributes) {
    EXPECT_EQ(loadBounds("<viewport x=\"0\" y=\"0\" width=\"1024\" height=\"768\"/>"),
              "0 0 1024 768");
    EXPECT_EQ(loadBounds("<?xml version=\"1.0\"?>\n<v width=\"800\" height=\"600\"><c/></v>"),
              "0 0 800 600");
    // atof/atoi leniency: truncated corner, trailing letters ignored, blanks skipped.
    EXPECT_EQ(loadBounds("<any x=\"12.7\" y=\" 20\" width=\"640px\" height=\"480\"/>"),
              "12 20 640 480");
    EXPECT_EQ(loadBounds("<v x=\"-10\" y=\"abc\" width=\"320\" height=\"200\"/>"), "-10 0 320 200");
    // Well-formed is enough: rules in a DOCTYPE are not enforced.
    EXPECT_EQ(
        loadBounds("<!DOCTYPE v [<!ELEMENT v EMPTY>]><v width=\"800\" height=\"600\"><c/></v>"),
        "0 0 800 600");
    EXPECT_EQ(loadBounds("<!DOCTYPE v [<!ELEMENT v EMPTY>]><v width=\"800\" height=\"600\"/>"),
              "0 0 800 600");
}

TEST(LoaderXML, EveryFailureGivesNull) {
    EXPECT_EQ(loadBounds("<v width=\"0\" height=\"768\"/>"), "null");
    EXPECT_EQ(loadBounds("<v width=\"1024\"/>"), "null");
    EXPECT_EQ(loadBounds("<v width=\"wide\" height=\"768\"/>"), "null");
    EXPECT_EQ(loadBounds(""), "null");
    EXPECT_EQ(loadBounds("this is not xml"), "null");
    EXPECT_EQ(loadBounds("<v width=\"1024\" height=\"768\">"), "null"); // unclosed
    EXPECT_EQ(loadBounds("<v width=\"1024\" height=\"768\"/><w/>"), "null");
    LoaderXML loader;
    EXPECT_EQ(loader.load("/nonexistent/Levels/Viewport.xml"), nullptr);
    EXPECT_EQ(loader.load(""), nullptr);
    EXPECT_STREQ(loader.getClassName(), "LoaderXML");
}

TEST(LoaderXML, TerminatesThePlatformOnEveryPath) {
    // The platform's memory manager exists only while it is initialised.
    using xercesc::XMLPlatformUtils;
    ASSERT_EQ(XMLPlatformUtils::fgMemoryManager, nullptr);
    loadBounds("<v width=\"10\" height=\"10\"/>");
    EXPECT_EQ(XMLPlatformUtils::fgMemoryManager, nullptr);
    loadBounds("broken <");
    EXPECT_EQ(XMLPlatformUtils::fgMemoryManager, nullptr);
    loadBounds("<v width=\"0\" height=\"10\"/>");
    EXPECT_EQ(XMLPlatformUtils::fgMemoryManager, nullptr);
    LoaderXML().load("/nonexistent");
    EXPECT_EQ(XMLPlatformUtils::fgMemoryManager, nullptr);
    LoaderXML().load("");
    EXPECT_EQ(XMLPlatformUtils::fgMemoryManager, nullptr);
    EXPECT_EQ(loadBounds("<v width=\"10\" height=\"20\"/>"), "0 0 10 20");
}
