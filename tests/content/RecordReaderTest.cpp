#include <climits>
#include <gtest/gtest.h>

#include "content/FieldReader.h"
#include "content/RecordReader.h"
#include "support/TempFile.h"

TEST(FieldReader, ValuesAfterTheFirstColon) {
    const std::pair<const char*, int> ints[] = {{"abc:-3", -3},
                                                {"abc:7.9", 7},
                                                {"abc:", 0},
                                                {"a:b:5", 0},
                                                {"12", 0},
                                                {"n:0x10", 0},
                                                {"n:99999999999999999999", INT_MAX},
                                                {"n:-99999999999999999999", INT_MIN}};
    for (const auto& [field, value] : ints)
        EXPECT_EQ(FieldReader::readIntField(field), value) << field;
    for (const auto& [field, value] :
         {std::pair{"speed:2.5", 2.5}, {"s:1e1", 10.0}, {"s:fast", 0.0}})
        EXPECT_DOUBLE_EQ(FieldReader::readFloatField(field), value) << field;
    EXPECT_EQ(FieldReader::readTextField("a:b:5"), "b:5");
    EXPECT_EQ(FieldReader::readTextField("Images/a.png"), "");
}

TEST(RecordReader, CrlfAndUnterminatedFilesReadLikeLfFiles) {
    const std::string lf = "Hero count:3\nImages/my hero.png\n 10 -20 trailing\n"
                           "frame height: 12\nname:Bob\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {lf, crlf, lf.substr(0, lf.size() - 1)}) {
        RecordReader in(writeTempFile("mixed.ini", text));
        std::string items;
        auto add = [&](const std::string& item) { items += item + "|"; };
        add(in.token("heading"));
        add(std::to_string(in.intField("count")));
        in.skipRestOfLine();
        add(in.line("path"));
        add(std::to_string(in.bareInt("x")));
        add(std::to_string(in.bareInt("y")));
        in.skipRestOfLine();
        add(in.line("labelled line"));
        add(in.textField("name"));
        EXPECT_EQ(items, "Hero|3|Images/my hero.png|10|-20|frame height: 12|Bob|");
        EXPECT_FALSE(in.failed()) << in.failure();
    }
}

TEST(RecordReader, LinesDependOnWhereTheStreamStands) {
    RecordReader in(writeTempFile("lines.ini", "y:40\nImages/warning.png\nthird\n"));
    EXPECT_EQ(in.intField("y"), 40);
    EXPECT_EQ(in.line("rest"), "");
    EXPECT_EQ(in.line("path"), "Images/warning.png");
    // A rest-of-line skip drops a comment after the item; blank lines between tokens do not matter.
    RecordReader commented(writeTempFile("c.ini", "label:3 any comment\n\n\n  next:4\n\nafter\n"));
    EXPECT_EQ(commented.intField("label"), 3);
    commented.skipRestOfLine();
    EXPECT_EQ(commented.intField("next"), 4);
    commented.skipRestOfLine();
    EXPECT_EQ(commented.line("blank"), "");
    EXPECT_EQ(commented.line("after"), "after");
}

TEST(RecordReader, TheFirstFailureStopsEveryLaterRead) {
    RecordReader ints(writeTempFile("ints.ini", "  +7\n-12 0042 99999999999 count:-4 count:5"));
    std::vector<int> read;
    for (int i = 0; i < 4; ++i)
        read.push_back(ints.bareInt("a number"));
    read.push_back(ints.countField("a negative count"));
    read.push_back(ints.countField("a count"));
    read.push_back(ints.bareInt("a frame list"));
    read.push_back(ints.intField("more"));
    EXPECT_EQ(read, (std::vector<int>{7, -12, 42, INT_MAX, 0, 5, 0, 0}));
    EXPECT_EQ(ints.failure(), "missing a frame list");
    EXPECT_EQ(ints.line("path") + ints.token("more"), "");

    RecordReader missing("/nonexistent/Levels/Heros.ini");
    EXPECT_TRUE(missing.failed());
    EXPECT_EQ(missing.failure(), "cannot open the file");
    EXPECT_EQ(missing.intField("anything"), 0);
}
