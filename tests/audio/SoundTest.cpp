#include <SDL/SDL.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "audio/Sound.h"
#include "audio/SoundChannel.h"
#include "audio/SoundStream.h"
#include "support/SoundCapture.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

const unsigned int kOnce = SoundSystem::ModeSoftware | SoundSystem::Mode2D |
                           SoundSystem::ModeLoopOff | SoundSystem::ModeStream;
const unsigned int kLooping = kOnce ^ SoundSystem::ModeLoopOff ^ SoundSystem::ModeLoopNormal;
const SoundStream::UserFormat kSecond = {96000, 1, 48000};
// Updates (800 frames each at 48 kHz) per second of audio.
const int kPerSecond = 60;

// Sounds played through a four-channel loopback mix. Tones are 1 kHz: a whole
// number of cycles in every length used, so a clean loop keeps a perfect sine.
class AudioTest : public testing::Test {
protected:
    std::string tone(const std::string& name, double seconds, int channels = 1) {
        return SoundCapture::writeTone(dir + "/" + name, channels, seconds);
    }
    Sound& start(const std::string& path, bool software, bool loop, float volume = 1,
                 float pan = 0) {
        sounds.push_back(std::make_unique<Sound>(path, volume, pan));
        sounds.back()->load(software, loop);
        sounds.back()->play();
        return *sounds.back();
    }
    SoundStream* make(const std::string& path, unsigned int mode) {
        SoundStream* stream = nullptr;
        capture.system().createSound(path, mode, nullptr, &stream);
        return stream;
    }
    std::unique_ptr<SoundChannel> play(SoundStream* stream, bool paused = false) {
        SoundChannel* channel = nullptr;
        capture.system().playSound(stream, paused, &channel);
        return std::unique_ptr<SoundChannel>(channel);
    }

    std::string dir = TestImage::tempDir();
    SoundCapture capture{4};
    std::vector<std::unique_ptr<Sound>> sounds;
};

TEST(SoundFields, OutOfRangeVolumeOrPanKeepsTheDefault) {
    const float cases[][4] = {
        {1.5f, 1.01f, 1, 0}, {-0.1f, -1.01f, 1, 0}, {0, 1, 0, 1}, {0.3f, -1, 0.3f, -1}};
    for (const auto& c : cases) {
        const Sound sound("a.ogg", c[0], c[1]);
        EXPECT_EQ(std::make_pair(sound.getVolume(), sound.getPan()), std::make_pair(c[2], c[3]));
    }
}

TEST_F(AudioTest, LoadPicksTheModeOfItsArgumentsAndNoSystemOrAMissingFileGivesNothing) {
    const std::string path = tone("t.wav", 0.1);
    const struct {
        bool software, loop;
        unsigned int mode;
    } cases[] = {
        {false, false, 0xA9}, {false, true, 0xA9}, {true, false, 0xC9}, {true, true, 0xCA}};
    for (const auto& c : cases) {
        Sound sound(path, 1.0f, 0.0f);
        sound.load(c.software, c.loop);
        ASSERT_NE(sound.getSound(), nullptr);
        EXPECT_EQ(sound.getSound()->getMode(), c.mode) << c.software << c.loop;
    }
    GameManager::setSoundSystem(nullptr); // nothing is made or played without a system
    Sound& orphan = start(path, true, true);
    orphan.togglePause();
    orphan.stop();
    EXPECT_EQ(orphan.getSound(), nullptr);
    EXPECT_EQ(orphan.getChannel(), nullptr);
    GameManager::setSoundSystem(&capture.system());
    Sound& missing = start(dir + "/missing.ogg", true, true);
    missing.togglePause();
    missing.stop();
    missing.play();
    capture.run(10);
    EXPECT_EQ(missing.getSound(), nullptr);
    EXPECT_TRUE(capture.isSilent(0, 1));
}

TEST_F(AudioTest, AnEmptyFileNameGivesOneSecondOfGeneratedSilence) {
    Sound& sound = start("", false, false);
    ASSERT_NE(sound.getSound(), nullptr);
    EXPECT_TRUE(sound.getSound()->getMode() & SoundSystem::ModeUser);
    EXPECT_EQ(sound.getSound()->getChannels(), 1);
    EXPECT_EQ(sound.getSound()->getFrequency(), 48000);
    EXPECT_EQ(sound.getSound()->getFrames(), 48000);
    capture.run(kPerSecond * 9 / 10);
    EXPECT_TRUE(sound.getChannel()->isPlaying());
    capture.run(kPerSecond / 5);
    EXPECT_FALSE(sound.getChannel()->isPlaying());
    EXPECT_TRUE(capture.isSilent(0, 2));
}

TEST_F(AudioTest, PanAndVolumeHoldForMonoAndStereoAndOnEveryPlay) {
    for (int channels = 1; channels <= 2; ++channels) {
        SCOPED_TRACE(channels);
        const std::string path = tone(std::to_string(channels) + ".wav", 1.0, channels);
        capture.clear();
        // Left, right, centre and half volume; each played, stopped, played again.
        for (const auto& [volume, pan] :
             {std::pair{1.0f, -1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.5f, 0.0f}}) {
            Sound& sound = start(path, false, false, volume, pan);
            sound.stop();
            sound.play();
            capture.run(20);
            sound.stop();
        }
        const auto level = [this](int side, int play) {
            return capture.rms(side, play / 3.0 + 0.05, (play + 1) / 3.0);
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

TEST_F(AudioTest, ALoopingSoundJoinsWithoutAGapUntilStoppedAndAnotherPlaysOnce) {
    Sound& loop = start(tone("loop.wav", 0.25), true, true);
    capture.run(kPerSecond);
    // Four passes through a quarter-second file: a seam with a gap or a
    // jump would show as a run of zeros or a step steeper than the sine.
    const double smooth = capture.largestStep(0, 0.01, 0.2);
    ASSERT_GT(smooth, 0.0);
    EXPECT_LE(capture.largestStep(0, 0.2, 1.0), smooth * 1.01);
    EXPECT_LE(capture.longestSilence(0.01, 1.0), 1);
    EXPECT_NEAR(capture.rms(0, 0.8, 1.0), capture.rms(0, 0.0, 0.2), 0.01);
    loop.stop();
    capture.clear();
    // Stereo, once: hardware mode ignores the loop.
    Sound& once = start(tone("once.wav", 0.25, 2), false, true);
    capture.run(kPerSecond / 2);
    EXPECT_GT(capture.rms(0, 0.0, 0.24), 0.2);
    EXPECT_TRUE(capture.isSilent(0.26, 0.5));
    EXPECT_FALSE(once.getChannel()->isPlaying());
    EXPECT_EQ(capture.system().getPlayingCount(), 0);
}

TEST_F(AudioTest, StopAndDestroyingReachOnlyTheLatestOfTwoPlays) {
    Sound& sound = start(tone("loop.wav", 0.25), true, true);
    sound.play();
    capture.run(20);
    const double both = capture.rms(0, 0.05, 0.3);
    sound.stop();
    capture.clear();
    capture.run(20);
    const double first = capture.rms(0, 0.0, 0.3);
    EXPECT_GT(first, 0.1);
    EXPECT_NEAR(both / first, 2.0, 0.02); // started on the same frame: in phase
    sound.stop();
    sound.play();
    capture.run(1);
    EXPECT_EQ(capture.system().getPlayingCount(), 2);
    sounds.clear();
    capture.run(1);
    EXPECT_EQ(capture.system().getPlayingCount(), 1);
}

TEST_F(AudioTest, TogglePausePausesAndResumesWhereItWas) {
    Sound& sound = start(tone("long.wav", 1.0), false, false);
    capture.run(15);
    sound.togglePause();
    capture.run(30);
    EXPECT_GT(capture.rms(0, 0.0, 0.25), 0.2);
    EXPECT_TRUE(capture.isSilent(0.25, 0.75));
    sound.togglePause();
    capture.run(60); // the rest of the second still sounds
    EXPECT_GT(capture.rms(0, 0.75, 1.49), 0.2);
    EXPECT_TRUE(capture.isSilent(1.51, 10.0));
}

TEST_F(AudioTest, CallsOnAPlayThatEndedDoNothingNotEvenOnTheSlotsNextPlay) {
    Sound& blip = start(tone("blip.wav", 0.05), false, false);
    capture.mix(8000); // ran out before any update
    blip.togglePause();
    EXPECT_FALSE(blip.getChannel()->isPlaying());
    EXPECT_FALSE(blip.getChannel()->setVolume(0.5f));
    blip.togglePause(); // must not replay the buffers still queued
    capture.clear();
    capture.run(10);
    EXPECT_TRUE(capture.isSilent(0, 1));
    EXPECT_EQ(capture.system().getPlayingCount(), 0);
    std::unique_ptr<SoundChannel> current = play(make(tone("l.wav", 0.25), kLooping));
    EXPECT_FALSE(blip.getChannel()->stop() || blip.getChannel()->setPaused(true));
    blip.getChannel()->setVolume(0.0f);
    capture.run(10);
    EXPECT_TRUE(current->isPlaying());
    EXPECT_GT(capture.rms(0, 0.2, 0.3), 0.2);
}

TEST_F(AudioTest, DecodedOvershootIsClippedNotWrappedInFloatAnd16BitBuffers) {
    // Louder than full scale, so the decoded peaks go past 1.
    const std::string path = SoundCapture::writeTone(dir + "/loud.ogg", 1, 0.5, 1000, 1.2,
                                                     SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
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
        EXPECT_EQ(flipped, 0) << floats;
    }
}

TEST_F(AudioTest, PlaysTakeFreeSlotsUntilNoneIsLeft) {
    SoundStream* tone = make(this->tone("t.wav", 0.5), kLooping);
    std::unique_ptr<SoundChannel> channels[4];
    for (auto& channel : channels)
        ASSERT_NE(channel = play(tone), nullptr);
    EXPECT_EQ(play(tone), nullptr);
    channels[2]->stop();
    EXPECT_FALSE(channels[2]->isPlaying());
    EXPECT_NE(play(tone), nullptr);
    EXPECT_EQ(capture.system().getPlayingCount(), 4);
}

TEST_F(AudioTest, StreamsOfOggAndWavSoundTogetherWithUpdatesUpToAQuarterSecondApart) {
    SoundStream* music = make(tone("music.ogg", 2.0, 2), kLooping);
    SoundStream* effect = make(tone("e.wav", 0.3), kLooping);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->getChannels(), 2);
    for (int period : {800, 6720, 12000}) { // 60 updates a second, then 140 and 250 ms apart
        SCOPED_TRACE(period);
        capture.run(2, period);
        capture.clear();
        const long underruns = capture.system().getUnderrunCount();
        std::unique_ptr<SoundChannel> left = play(music, true), right = play(effect, true);
        EXPECT_TRUE(left->setPan(-1.0f) && right->setPan(1.0f));
        capture.run(1, period);
        EXPECT_TRUE(capture.isSilent(0, 1));
        bool paused = false;
        EXPECT_TRUE(left->getPaused(&paused) && paused);
        left->setPaused(false);
        right->setPaused(false);
        // Past the end of the two-second music: it wrapped and still sounds.
        capture.run(SoundCapture::kFrequency * 5 / 2 / period + 1, period);
        const double start = static_cast<double>(period) / SoundCapture::kFrequency;
        EXPECT_GT(capture.rms(0, start + 2.1, start + 2.5), 0.15);
        EXPECT_GT(capture.rms(1, start + 2.1, start + 2.5), 0.15);
        EXPECT_LE(capture.longestSilence(start + 0.01, start + 2.5), 1);
        EXPECT_EQ(capture.system().getUnderrunCount(), underruns);
        left->stop();
        right->stop();
    }
}

TEST_F(AudioTest, AStreamReadsItsFileAsItPlaysAndAStarvedOneCountsAnUnderrun) {
    const std::string path = tone("long.wav", 5.0);
    std::unique_ptr<SoundChannel> cut = play(make(path, kOnce)),
                                  starved = play(make(tone("t.wav", 3.0), kOnce));
    capture.run(30);
    EXPECT_EQ(capture.system().getUnderrunCount(), 0);
    // Cut the file down to its first tenth of a second: a sound decoded at
    // load would not notice, a stream runs out.
    std::filesystem::resize_file(path, 44 + 9600);
    capture.mix(48000); // a second with no update: the queued buffers run out
    capture.clear();
    capture.run(6);
    EXPECT_FALSE(cut->isPlaying());
    EXPECT_EQ(capture.system().getUnderrunCount(), 2); // one each
    EXPECT_TRUE(starved->isPlaying());
    EXPECT_GT(capture.rms(0, 0.0, 0.1), 0.2);
}

TEST_F(AudioTest, UnreadableFilesFormatlessUserSoundsAndNullStreamsAreRefused) {
    SoundStream* stream = reinterpret_cast<SoundStream*>(&capture);
    EXPECT_FALSE(
        capture.system().createSound(writeTempFile("x.wav", "not audio"), kOnce, nullptr, &stream));
    EXPECT_EQ(stream, nullptr);
    EXPECT_FALSE(capture.system().createSound("", kOnce | SoundSystem::ModeUser, nullptr, &stream));
    EXPECT_EQ(play(nullptr), nullptr);
    EXPECT_EQ(make(tone("3.wav", 0.1, 3), kOnce), nullptr); // mono and stereo only
}

TEST(SoundSystemOutput, UninitialisedOrGoneTheSystemIsSilentAndItsHandlesHarmless) {
    SoundSystem system;
    EXPECT_EQ(system.getOutput(), SoundSystem::NoOutput);
    SoundStream* stream = nullptr;
    system.createSound("", SoundSystem::ModeUser, &kSecond, &stream);
    SoundChannel* channel = reinterpret_cast<SoundChannel*>(&system);
    EXPECT_FALSE(system.playSound(stream, false, &channel));
    EXPECT_EQ(channel, nullptr);
    float sample[2];
    EXPECT_EQ(system.render(sample, 1), 0);
    auto capture = std::make_unique<SoundCapture>(2);
    capture->system().createSound("", SoundSystem::ModeUser, &kSecond, &stream);
    ASSERT_TRUE(capture->system().playSound(stream, false, &channel));
    EXPECT_TRUE(channel->isPlaying());
    capture.reset();
    EXPECT_FALSE(channel->isPlaying() || channel->stop() || channel->setPaused(true) ||
                 channel->setPan(0.0f));
    delete channel;
}

TEST(SoundSystemOutput, WithoutADeviceUpdateAdvancesASilentMixInRealTime) {
    SoundSystem system;
    ASSERT_TRUE(system.init(8));
    if (system.getOutput() == SoundSystem::DeviceOutput)
        GTEST_SKIP() << "this machine has a sound device";
    EXPECT_EQ(system.getOutput(), SoundSystem::SilentOutput);
    EXPECT_EQ(system.getChannelCount(), 8);
    const SoundStream::UserFormat tenth = {9600, 1, 48000};
    SoundStream* stream = nullptr;
    system.createSound("", SoundSystem::ModeUser, &tenth, &stream);
    SoundChannel* channel = nullptr;
    ASSERT_TRUE(system.playSound(stream, false, &channel));
    // At least 0.3 s passes over these updates, three times the sound.
    for (int i = 0; i < 15 && channel->isPlaying(); ++i) {
        SDL_Delay(20);
        system.update();
    }
    EXPECT_FALSE(channel->isPlaying());
    delete channel;
}

// In a process of its own: the sound library reads its log level once, at
// its first use, which in this one was an earlier test's.
TEST(SoundSystemOutput, OpeningTheDeviceLeavesStandardErrorToTheGame) {
    unsetenv("ALSOFT_LOGLEVEL");
    testing::internal::CaptureStderr();
    {
        SoundSystem system;
        system.init(2);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
