#include <climits>
#include <gtest/gtest.h>

#include "content/FieldReader.h"
#include "content/RecordReader.h"
#include "support/TempFile.h"

namespace {

// Every item of a small mixed file, read in one fixed sequence.
std::vector<std::string> readMixed(const std::string& text) {
    RecordReader in(writeTempFile("mixed.ini", text));
    std::vector<std::string> items;
    items.push_back(in.token("heading"));
    items.push_back(std::to_string(in.intField("count")));
    in.skipRestOfLine();
    items.push_back(in.line("path"));
    items.push_back(std::to_string(in.bareInt("x")));
    items.push_back(std::to_string(in.bareInt("y")));
    in.skipRestOfLine();
    items.push_back(in.line("labelled line"));
    items.push_back(in.textField("name"));
    items.push_back(in.failed() ? in.failure() : "ok");
    return items;
}

} // namespace

TEST(FieldReader, ValuesAfterTheFirstColon) {
    EXPECT_EQ(FieldReader::readIntField("abc:-3"), -3);
    EXPECT_EQ(FieldReader::readIntField("abc:7.9"), 7);
    EXPECT_EQ(FieldReader::readIntField("abc:"), 0);
    EXPECT_EQ(FieldReader::readIntField("a:b:5"), 0);
    EXPECT_EQ(FieldReader::readTextField("a:b:5"), "b:5");
    EXPECT_EQ(FieldReader::readIntField("vitesse:12"), FieldReader::readIntField("x:12"));
    EXPECT_DOUBLE_EQ(FieldReader::readFloatField("speed:2.5"), 2.5);
    EXPECT_DOUBLE_EQ(FieldReader::readFloatField("speed:1e1"), 10.0);
    EXPECT_DOUBLE_EQ(FieldReader::readFloatField("speed:fast"), 0.0);
    // No colon: an empty value.
    EXPECT_EQ(FieldReader::readIntField("12"), 0);
    EXPECT_EQ(FieldReader::readTextField("Images/a.png"), "");
    // Huge values are clamped, not overflowed.
    EXPECT_EQ(FieldReader::readIntField("n:99999999999999999999"), INT_MAX);
    EXPECT_EQ(FieldReader::readIntField("n:-99999999999999999999"), INT_MIN);
    EXPECT_EQ(FieldReader::readIntField("n:0x10"), 0); // decimal only, like atoi
}

TEST(RecordReader, CrlfFilesReadLikeLfFiles) {
    const std::string lf = "Hero count:3\nImages/my hero.png\n 10 -20 trailing\n"
                           "frame height: 12\nname:Bob\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::vector<std::string> expected = {
        "Hero", "3", "Images/my hero.png", "10", "-20", "frame height: 12", "Bob", "ok"};
    EXPECT_EQ(readMixed(lf), expected);
    EXPECT_EQ(readMixed(crlf), expected);
    // A last line without its line end still reads whole.
    std::string unterminated = lf.substr(0, lf.size() - 1);
    EXPECT_EQ(readMixed(unterminated), expected);
}

TEST(RecordReader, LinesDependOnWhereTheStreamStands) {
    RecordReader in(writeTempFile("lines.ini", "y:40\nImages/warning.png\nthird\n"));
    EXPECT_EQ(in.intField("y"), 40);
    EXPECT_EQ(in.line("rest"), "");
    EXPECT_EQ(in.line("path"), "Images/warning.png");
    EXPECT_EQ(in.line("third"), "third");

    // A rest-of-line skip drops a comment after the item; blank lines between tokens do not matter.
    RecordReader commented(writeTempFile("c.ini", "label:3 any comment\n\n\n  next:4\n\nafter\n"));
    EXPECT_EQ(commented.intField("label"), 3);
    commented.skipRestOfLine();
    EXPECT_EQ(commented.intField("next"), 4);
    commented.skipRestOfLine();
    EXPECT_EQ(commented.line("blank"), "");
    EXPECT_EQ(commented.line("after"), "after");
    EXPECT_FALSE(commented.failed());
}

TEST(RecordReader, LongTokensReadWhole) {
    const std::string longPath(200, 'p');
    RecordReader in(writeTempFile("long.ini", longPath + " path:" + longPath + "\n"));
    EXPECT_EQ(in.token("path"), longPath);
    EXPECT_EQ(in.textField("labelled path"), longPath);
}

TEST(RecordReader, BareIntegers) {
    RecordReader in(writeTempFile("ints.ini", "  +7\n-12 0042 99999999999 x"));
    EXPECT_EQ(in.bareInt("a"), 7);
    EXPECT_EQ(in.bareInt("b"), -12);
    EXPECT_EQ(in.bareInt("c"), 42);
    EXPECT_EQ(in.bareInt("d"), INT_MAX);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.bareInt("frame list"), 0);
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.failure(), "missing frame list");
}

TEST(RecordReader, TheFirstFailureStopsEveryLaterRead) {
    RecordReader shortFile(writeTempFile("short.ini", "a:1\nb:2"));
    EXPECT_EQ(shortFile.intField("first"), 1);
    EXPECT_EQ(shortFile.intField("second"), 2);
    EXPECT_EQ(shortFile.intField("walking speed"), 0);
    EXPECT_EQ(shortFile.line("path"), "");
    EXPECT_EQ(shortFile.token("more"), "");
    EXPECT_EQ(shortFile.failure(), "missing walking speed");

    RecordReader counts(writeTempFile("n.ini", "count:-4 count:5"));
    EXPECT_EQ(counts.countField("negative"), 0);
    EXPECT_EQ(counts.countField("positive"), 5);

    RecordReader missing("/nonexistent/Levels/Heros.ini");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_TRUE(missing.failed());
    EXPECT_EQ(missing.failure(), "cannot open the file");
    EXPECT_EQ(missing.intField("anything"), 0);
    EXPECT_EQ(missing.getFileName(), "/nonexistent/Levels/Heros.ini");
}
