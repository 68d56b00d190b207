#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <type_traits>

#include "app/GameManager.h"
#include "audio/Sound.h"
#include "audio/SoundChannel.h"
#include "audio/SoundStream.h"
#include "audio/SoundSystem.h"
#include "support/SoundCapture.h"
#include "support/TestImage.h"

namespace {

const int kWav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
// Updates (800 frames each at 48 kHz) per second of audio.
const int kPerSecond = 60;

class SoundTest : public testing::Test {
protected:
    // 1 kHz: a whole number of cycles in every length used, so a loop that
    // joins cleanly keeps a perfect sine across the seam.
    std::string tone(const char* name, int channels, double seconds) {
        return SoundCapture::writeTone(dir, name, channels, seconds, 1000.0, 0.5, kWav);
    }

    std::string dir = TestImage::tempDir();
    SoundCapture capture;
};

// A copy would stop and delete the same channel handle twice.
static_assert(!std::is_copy_constructible_v<Sound> && !std::is_copy_assignable_v<Sound>);

TEST(SoundFields, ConstructorKeepsDefaultsForOutOfRangeVolumeAndPan) {
    const Sound defaults;
    EXPECT_EQ(defaults.getFileName(), "");
    EXPECT_FLOAT_EQ(defaults.getVolume(), 1.0f);
    EXPECT_FLOAT_EQ(defaults.getPan(), 0.0f);
    EXPECT_EQ(defaults.getSound(), nullptr);
    EXPECT_EQ(defaults.getChannel(), nullptr);
    EXPECT_STREQ(defaults.getClassName(), "Sound");

    EXPECT_FLOAT_EQ(Sound("a.ogg", 1.5f, 0.0f).getVolume(), 1.0f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", -0.1f, 0.0f).getVolume(), 1.0f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", 0.0f, 0.0f).getVolume(), 0.0f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", 0.3f, 0.0f).getVolume(), 0.3f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", 0.5f, 1.0f).getPan(), 1.0f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", 0.5f, -1.0f).getPan(), -1.0f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", 0.5f, 1.01f).getPan(), 0.0f);
    EXPECT_FLOAT_EQ(Sound("a.ogg", 0.5f, -1.01f).getPan(), 0.0f);

    Sound named("a.ogg", 0.5f, 0.5f);
    EXPECT_EQ(named.getFileName(), "a.ogg");
    named.setFileName("b.ogg");
    EXPECT_EQ(named.getFileName(), "b.ogg");
}

TEST(SoundFields, WithoutASystemNothingIsCreatedOrPlayed) {
    SoundSystem* const before = GameManager::getSoundSystem();
    GameManager::setSoundSystem(nullptr);
    Sound sound("anything.wav", 1.0f, 0.0f);
    sound.load(true, true);
    sound.play();
    sound.togglePause();
    sound.stop();
    EXPECT_EQ(sound.getSound(), nullptr);
    EXPECT_EQ(sound.getChannel(), nullptr);
    GameManager::setSoundSystem(before);
}

TEST_F(SoundTest, LoadPicksTheModeOfItsArguments) {
    const std::string path = tone("t.wav", 1, 0.1);
    const unsigned int stream = SoundSystem::ModeStream;
    const struct {
        bool software, loop;
        unsigned int mode;
    } cases[] = {
        {false, false, 0x29}, {false, true, 0x29}, {true, false, 0x49}, {true, true, 0x4A}};
    for (const auto& c : cases) {
        Sound sound(path, 1.0f, 0.0f);
        sound.load(c.software, c.loop);
        ASSERT_NE(sound.getSound(), nullptr);
        EXPECT_EQ(sound.getSound()->getMode(), c.mode | stream) << c.software << c.loop;
    }
}

TEST_F(SoundTest, AMissingFileLoadsAndPlaysNothing) {
    Sound sound(dir + "/missing.ogg", 1.0f, 0.0f);
    sound.load(true, true);
    sound.play();
    sound.togglePause();
    sound.stop();
    sound.play();
    capture.run(10);
    EXPECT_EQ(sound.getSound(), nullptr);
    EXPECT_EQ(capture.system().getPlayingCount(), 0);
    EXPECT_EQ(capture.rms(0, 0, 1) + capture.rms(1, 0, 1), 0.0);
}

TEST_F(SoundTest, AnEmptyFileNameGivesOneSecondOfGeneratedSilence) {
    Sound sound;
    sound.load(false, false);
    ASSERT_NE(sound.getSound(), nullptr);
    EXPECT_TRUE(sound.getSound()->getMode() & SoundSystem::ModeUser);
    EXPECT_EQ(sound.getSound()->getChannels(), 1);
    EXPECT_EQ(sound.getSound()->getFrequency(), 48000);
    EXPECT_EQ(sound.getSound()->getFrames(), 48000);
    sound.play();
    capture.run(kPerSecond * 9 / 10);
    EXPECT_TRUE(sound.getChannel()->isPlaying());
    capture.run(kPerSecond / 5);
    EXPECT_FALSE(sound.getChannel()->isPlaying());
    EXPECT_TRUE(capture.isSilent(0, 2));
}

TEST_F(SoundTest, PanAndVolumeTakeEffectForMonoAndStereo) {
    for (int channels = 1; channels <= 2; ++channels) {
        const std::string path = tone(channels == 1 ? "m.wav" : "s.wav", channels, 1.0);
        Sound left(path, 1.0f, -1.0f), right(path, 1.0f, 1.0f), centre(path, 1.0f, 0.0f),
            half(path, 0.5f, 0.0f);
        capture.clear();
        for (Sound* sound : {&left, &right, &centre, &half}) {
            sound->load(false, false);
            sound->play();
            capture.run(20);
            sound->stop();
        }
        SCOPED_TRACE(channels == 1 ? "mono" : "stereo");
        const auto level = [this](int side, int play) {
            const double third = 20.0 / kPerSecond;
            return capture.rms(side, play * third + 0.05, (play + 1) * third);
        };
        EXPECT_GT(level(0, 0), 0.2);
        EXPECT_LT(level(1, 0), 0.002);
        EXPECT_LT(level(0, 1), 0.002);
        EXPECT_GT(level(1, 1), 0.2);
        EXPECT_GT(level(0, 2), 0.1);
        EXPECT_NEAR(level(0, 2), level(1, 2), 0.01 * level(0, 2));
        for (int side = 0; side < 2; ++side)
            EXPECT_NEAR(level(side, 3) / level(side, 2), 0.5, 0.01);
    }
}

TEST_F(SoundTest, ALoopingSoundJoinsWithoutAGapUntilStopped) {
    Sound sound(tone("loop.wav", 1, 0.25), 1.0f, 0.0f);
    sound.load(true, true);
    sound.play();
    capture.run(kPerSecond);
    // Four passes through a quarter-second file: a seam with a gap or a
    // jump would show as a run of zeros or a step steeper than the sine.
    const double smooth = capture.largestStep(0, 0.01, 0.2);
    ASSERT_GT(smooth, 0.0);
    EXPECT_LE(capture.largestStep(0, 0.2, 1.0), smooth * 1.01);
    EXPECT_LE(capture.longestSilence(0.01, 1.0), 1);
    EXPECT_NEAR(capture.rms(0, 0.8, 1.0), capture.rms(0, 0.0, 0.2), 0.01);
    sound.stop();
    capture.clear();
    capture.run(10);
    EXPECT_TRUE(capture.isSilent(0, 1));
    EXPECT_EQ(capture.system().getPlayingCount(), 0);
}

TEST_F(SoundTest, ANonLoopingSoundPlaysOnceAndEnds) {
    // Hardware mode ignores the loop request.
    Sound sound(tone("once.wav", 1, 0.25), 1.0f, 0.0f);
    sound.load(false, true);
    sound.play();
    capture.run(kPerSecond / 2);
    EXPECT_GT(capture.rms(0, 0.0, 0.24), 0.2);
    EXPECT_TRUE(capture.isSilent(0.26, 0.5));
    EXPECT_FALSE(sound.getChannel()->isPlaying());
    EXPECT_EQ(capture.system().getPlayingCount(), 0);
}

TEST_F(SoundTest, StopAndDestroyingReachOnlyTheLatestOfTwoPlays) {
    {
        Sound sound(tone("loop.wav", 1, 0.25), 1.0f, 0.0f);
        sound.load(true, true);
        sound.play();
        sound.play();
        capture.run(20);
        const double both = capture.rms(0, 0.05, 0.3);
        sound.stop();
        capture.clear();
        capture.run(20);
        const double first = capture.rms(0, 0.0, 0.3);
        EXPECT_GT(first, 0.1);
        // The two plays start on the same frame, so they add in phase.
        EXPECT_NEAR(both / first, 2.0, 0.02);
        sound.stop();
        sound.play();
        capture.run(1);
        EXPECT_EQ(capture.system().getPlayingCount(), 2);
    }
    capture.run(1);
    EXPECT_EQ(capture.system().getPlayingCount(), 1);
}

TEST_F(SoundTest, TogglePausePausesAndResumesWhereItWas) {
    Sound sound(tone("long.wav", 1, 1.0), 1.0f, 0.0f);
    sound.load(false, false);
    sound.play();
    capture.run(15);
    sound.togglePause();
    capture.run(30);
    const double quarter = 15.0 / kPerSecond;
    EXPECT_GT(capture.rms(0, 0.0, quarter), 0.2);
    EXPECT_TRUE(capture.isSilent(quarter, 3 * quarter));
    sound.togglePause();
    // Resumed from where it paused: the rest of the second still sounds.
    capture.run(60);
    EXPECT_GT(capture.rms(0, 3 * quarter, 3 * quarter + 0.74), 0.2);
    EXPECT_TRUE(capture.isSilent(3 * quarter + 0.76, 10.0));
}

TEST_F(SoundTest, CallsOnAPlayThatRanOutBeforeTheUpdateDoNothing) {
    Sound sound(tone("blip.wav", 1, 0.05), 1.0f, 0.0f);
    sound.load(false, false);
    sound.play();
    capture.mix(8000);
    sound.togglePause();
    EXPECT_FALSE(sound.getChannel()->isPlaying());
    EXPECT_FALSE(sound.getChannel()->setVolume(0.5f));
    // Resuming must not replay the buffers still queued.
    sound.togglePause();
    capture.clear();
    capture.run(10);
    EXPECT_TRUE(capture.isSilent(0, 1));
    EXPECT_EQ(capture.system().getPlayingCount(), 0);
}

TEST_F(SoundTest, DecodedOvershootIsClippedNotWrappedInFloatAnd16BitBuffers) {
    // Louder than full scale, so the decoded peaks go past 1.
    const std::string path = SoundCapture::writeTone(dir, "loud.ogg", 1, 0.5, 1000, 1.2,
                                                     SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> decoded(static_cast<size_t>(info.frames));
    sf_readf_float(file, decoded.data(), info.frames);
    sf_close(file);
    ASSERT_GT(std::count_if(decoded.begin(), decoded.end(), [](float x) { return x > 1.0f; }), 100);
    for (bool floats : {true, false}) {
        SoundCapture out(1, floats);
        EXPECT_EQ(out.system().hasFloatBuffers(), floats);
        Sound loud(path, 1.0f, 0.0f);
        loud.load(false, false);
        loud.play();
        out.run(30);
        int flipped = 0;
        for (size_t i = 0; i < decoded.size(); ++i)
            flipped += std::fabs(decoded[i]) > 0.5f &&
                       (decoded[i] > 0) != (out.at(static_cast<int>(i), 0) > 0);
        EXPECT_EQ(flipped, 0) << (floats ? "float" : "16-bit");
    }
}

} // namespace
