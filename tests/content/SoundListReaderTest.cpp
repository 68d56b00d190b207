#include <gtest/gtest.h>

#include "audio/Sound.h"
#include "content/RecordReader.h"
#include "content/SoundListReader.h"
#include "support/TempFile.h"

namespace {

struct ReadList {
    std::vector<Sound*> sounds;
    std::string failure;
    ~ReadList() {
        for (Sound* sound : sounds)
            delete sound;
    }
};

void readList(const std::string& text, ReadList& result) {
    RecordReader in(writeTempFile("sounds.ini", text));
    SoundListReader::read(in, "wave sound", false, result.sounds);
    result.failure = in.failure();
}

} // namespace

TEST(SoundListReader, ReadsCountedRecordsAndStopsAtTheFirstMissingItem) {
    ReadList whole;
    readList("count:2\nSound/a.ogg volume:0.5\nSound/b.ogg volume:2\n", whole);
    ASSERT_EQ(whole.sounds.size(), 2u);
    EXPECT_EQ(whole.sounds[0]->getFileName(), "Sound/a.ogg");
    EXPECT_FLOAT_EQ(whole.sounds[0]->getVolume(), 0.5f);
    EXPECT_EQ(whole.sounds[1]->getFileName(), "Sound/b.ogg");
    EXPECT_FLOAT_EQ(whole.sounds[1]->getVolume(), 1.0f); // out of range keeps the default
    EXPECT_EQ(whole.failure, "");

    // A record cut before its volume is not made; the failure names the item.
    ReadList cut;
    readList("count:3\nSound/a.ogg volume:0.5\nSound/b.ogg", cut);
    EXPECT_EQ(cut.sounds.size(), 1u);
    EXPECT_NE(cut.failure.find("a wave sound volume"), std::string::npos) << cut.failure;

    // A huge count in a short file makes only what is there.
    ReadList huge;
    readList("count:2000000000\nSound/a.ogg volume:0.5\n", huge);
    EXPECT_EQ(huge.sounds.size(), 1u);
    EXPECT_NE(huge.failure.find("a wave sound path"), std::string::npos) << huge.failure;

    ReadList none;
    readList("count:-4\nSound/a.ogg volume:0.5\n", none);
    EXPECT_TRUE(none.sounds.empty());
    EXPECT_EQ(none.failure, "");
}
