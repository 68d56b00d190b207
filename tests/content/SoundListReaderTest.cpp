#include <gtest/gtest.h>
#include <sstream>

#include "audio/Sound.h"
#include "content/RecordReader.h"
#include "content/SoundListReader.h"
#include "support/TempFile.h"

// Each case: the list, then what was made ("file volume" each) and the failure.
TEST(SoundListReader, ReadsCountedRecordsAndStopsAtTheFirstMissingItem) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"count:2\nSound/a.ogg volume:0.5\nSound/b.ogg volume:2\n",
         "Sound/a.ogg 0.5 Sound/b.ogg 1 ", ""}, // out of range keeps the default
        {"count:3\nSound/a.ogg volume:0.5\nSound/b.ogg", "Sound/a.ogg 0.5 ",
         "missing a wave sound volume"},
        {"count:2000000000\nSound/a.ogg volume:0.5\n", "Sound/a.ogg 0.5 ",
         "missing a wave sound path"},
        {"count:-4\nSound/a.ogg volume:0.5\n", "", ""}};
    for (const auto& [text, made, failure] : cases) {
        RecordReader in(writeTempFile("sounds.ini", text));
        std::vector<Sound*> sounds;
        SoundListReader::read(in, "wave sound", false, sounds);
        std::ostringstream seen;
        for (Sound* sound : sounds) {
            seen << sound->getFileName() << " " << sound->getVolume() << " ";
            delete sound;
        }
        EXPECT_EQ(seen.str(), made) << text;
        EXPECT_EQ(in.failure(), failure) << text;
    }
}
