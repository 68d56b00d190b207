#include <climits>
#include <gtest/gtest.h>
#include <sstream>

#include "audio/Sound.h"
#include "content/FieldReader.h"
#include "content/RecordReader.h"
#include "content/SoundListReader.h"
#include "support/TempFile.h"

TEST(FieldReader, ValuesAfterTheFirstColon) {
    const std::string big(20, '9');
    const std::string fields[] = {"abc:-3", "abc:7.9", "abc:",     "a:b:5",
                                  "12",     "n:0x10",  "n:" + big, "n:-" + big};
    const int values[] = {-3, 7, 0, 0, 0, 0, INT_MAX, INT_MIN};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(FieldReader::readIntField(fields[i]), values[i]) << fields[i];
    for (const auto& [field, value] :
         {std::pair{"speed:2.5", 2.5}, {"s:1e1", 10.0}, {"s:fast", 0.0}})
        EXPECT_DOUBLE_EQ(FieldReader::readFloatField(field), value) << field;
    EXPECT_EQ(FieldReader::readTextField("a:b:5"), "b:5");
    EXPECT_EQ(FieldReader::readTextField("Images/a.png"), "");
}

// Crlf and unterminated files read like lf files.
TEST(RecordReader, ReadsItemsInOrderAndTheFirstFailureStopsEveryLaterRead) {
    const std::string lf = "Hero count:3\nImages/my hero.png\n 10 -20 trailing\nframe height: 12\n"
                           "\n\n  name:Bob\n  +7\n-12 0042 99999999999 count:-4 count:5";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {lf, lf + "\n", crlf}) {
        RecordReader in(writeTempFile("mixed.ini", text));
        std::ostringstream items; // a line read right after an item gets the rest of its line
        items << in.token("heading") << "|" << in.intField("count") << "|" << in.line("rest") << "|"
              << in.line("path") << "|" << in.bareInt("x") << "|" << in.bareInt("y") << "|";
        in.skipRestOfLine(); // drops the words after the items
        items << in.line("labelled line") << "|" << in.textField("name") << "|";
        items << in.bareInt("a") << "|" << in.bareInt("b") << "|" << in.bareInt("c") << "|"
              << in.bareInt("d") << "|";
        items << in.countField("a negative count") << "|" << in.countField("a count") << "|";
        EXPECT_FALSE(in.failed()) << in.failure();
        items << in.bareInt("a frame list") << "|" << in.intField("more") << "|" << in.line("path")
              << in.token("more");
        EXPECT_EQ(items.str(), "Hero|3||Images/my hero.png|10|-20|frame height: 12|Bob|7|-12|42|" +
                                   std::to_string(INT_MAX) + "|0|5|0|0|");
        EXPECT_EQ(in.failure(), "missing a frame list");
    }
}

// Each case: the list, then what was made ("file volume" each) and the failure.
TEST(SoundListReader, ReadsCountedRecordsAndStopsAtTheFirstMissingItem) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"count:2\nS/a.ogg volume:0.5\nS/b.ogg volume:2\n", "S/a.ogg 0.5 S/b.ogg 1 ", ""},
        {"count:3\nS/a.ogg volume:0.5\nS/b.ogg", "S/a.ogg 0.5 ", "missing a wave sound volume"},
        {"count:2000000000\nS/a.ogg volume:0.5\n", "S/a.ogg 0.5 ", "missing a wave sound path"},
        {"count:-4\nS/a.ogg volume:0.5\n", "", ""}}; // a negative count reads nothing
    for (const auto& [text, made, failure] : cases) {
        RecordReader in(writeTempFile("sounds.ini", text));
        std::vector<Sound*> sounds;
        SoundListReader::read(in, "wave sound", false, sounds);
        std::ostringstream seen;
        for (Sound* sound : sounds) {
            seen << sound->getFileName() << " " << sound->getVolume() << " ";
            delete sound;
        }
        EXPECT_EQ(seen.str(), made) << text; // a volume out of range keeps the default
        EXPECT_EQ(in.failure(), failure) << text;
    }
}
