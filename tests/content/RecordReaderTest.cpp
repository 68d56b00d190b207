#include <climits>
#include <gtest/gtest.h>
#include <sstream>

#include "audio/Sound.h"
#include "content/FieldReader.h"
#include "content/RecordReader.h"
#include "content/SoundListReader.h"
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
                           "frame height: 12\n\n\n  name:Bob\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {lf, crlf, lf.substr(0, lf.size() - 1)}) {
        RecordReader in(writeTempFile("mixed.ini", text));
        std::string items;
        auto add = [&](const std::string& item) { items += item + "|"; };
        add(in.token("heading"));
        add(std::to_string(in.intField("count")));
        add(in.line("rest")); // right after an item: the rest of its line
        add(in.line("path"));
        add(std::to_string(in.bareInt("x")));
        add(std::to_string(in.bareInt("y")));
        in.skipRestOfLine(); // drops the words after the items
        add(in.line("labelled line"));
        add(in.textField("name"));
        EXPECT_EQ(items, "Hero|3||Images/my hero.png|10|-20|frame height: 12|Bob|");
        EXPECT_FALSE(in.failed()) << in.failure();
    }
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
    EXPECT_EQ(RecordReader("/nonexistent/Heros.ini").failure(), "cannot open the file");
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
