#include <SDL/SDL.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sndfile.h>

#include "audio/SoundChannel.h"
#include "audio/SoundStream.h"
#include "audio/SoundSystem.h"
#include "support/SoundCapture.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

const int kWav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
const unsigned int kOnce = SoundSystem::ModeSoftware | SoundSystem::Mode2D |
                           SoundSystem::ModeLoopOff | SoundSystem::ModeStream;
const unsigned int kLooping = SoundSystem::ModeSoftware | SoundSystem::Mode2D |
                              SoundSystem::ModeLoopNormal | SoundSystem::ModeStream;
const SoundStream::UserFormat kSecond = {96000, 1, 48000};

class SoundSystemTest : public testing::Test {
protected:
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
};

TEST_F(SoundSystemTest, PlaysTakeFreeSlotsUntilNoneIsLeft) {
    SoundStream* tone =
        make(SoundCapture::writeTone(dir, "t.wav", 1, 0.5, 440, 0.1, kWav), kLooping);
    ASSERT_NE(tone, nullptr);
    std::unique_ptr<SoundChannel> channels[4];
    for (auto& channel : channels) {
        channel = play(tone);
        ASSERT_NE(channel, nullptr);
    }
    EXPECT_EQ(play(tone), nullptr);
    channels[2]->stop();
    EXPECT_FALSE(channels[2]->isPlaying());
    EXPECT_NE(play(tone), nullptr);
    EXPECT_EQ(capture.system().getPlayingCount(), 4);
}

TEST_F(SoundSystemTest, AHandleOfAnEndedPlayDoesNotReachTheSlotsNextPlay) {
    SoundStream* blip =
        make(SoundCapture::writeTone(dir, "b.wav", 1, 0.05, 1000, 0.5, kWav), kOnce);
    SoundStream* loop =
        make(SoundCapture::writeTone(dir, "l.wav", 1, 0.25, 1000, 0.5, kWav), kLooping);
    std::unique_ptr<SoundChannel> old = play(blip);
    capture.run(10);
    ASSERT_FALSE(old->isPlaying());
    std::unique_ptr<SoundChannel> current = play(loop);
    old->stop();
    old->setPaused(true);
    old->setVolume(0.0f);
    capture.clear();
    capture.run(10);
    EXPECT_TRUE(current->isPlaying());
    EXPECT_GT(capture.rms(0, 0.0, 0.15), 0.2);
}

TEST_F(SoundSystemTest, SeveralStreamsOggAndWavSoundTogetherAtSteadyFrameRates) {
    const std::string ogg = SoundCapture::writeTone(dir, "music.ogg", 2, 2.0, 500, 0.4,
                                                    SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    SoundStream* music = make(ogg, kLooping);
    SoundStream* effect =
        make(SoundCapture::writeTone(dir, "e.wav", 1, 0.3, 1000, 0.4, kWav), kLooping);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->getChannels(), 2);
    // 60 updates a second, then 140 and 250 ms between updates.
    for (int period : {800, 6720, 12000}) {
        SCOPED_TRACE(period);
        capture.run(2, period);
        capture.clear();
        const long underruns = capture.system().getUnderrunCount();
        std::unique_ptr<SoundChannel> left = play(music, true);
        std::unique_ptr<SoundChannel> right = play(effect, true);
        left->setPan(-1.0f);
        right->setPan(1.0f);
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

TEST_F(SoundSystemTest, AStreamReadsItsFileAsItPlays) {
    const std::string path = SoundCapture::writeTone(dir, "long.wav", 1, 5.0, 1000, 0.5, kWav);
    std::unique_ptr<SoundChannel> channel = play(make(path, kOnce));
    capture.run(30);
    ASSERT_TRUE(channel->isPlaying());
    // Cut the file down to its first tenth of a second: a sound decoded at
    // load would not notice, a stream runs out.
    std::filesystem::resize_file(path, 44 + 9600);
    capture.run(60);
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_TRUE(capture.isSilent(1.0, 1.5));
}

TEST_F(SoundSystemTest, ASourceStarvedOfUpdatesCountsAnUnderrunAndGoesOn) {
    std::unique_ptr<SoundChannel> channel =
        play(make(SoundCapture::writeTone(dir, "t.wav", 1, 3.0, 1000, 0.5, kWav), kOnce));
    capture.run(30);
    EXPECT_EQ(capture.system().getUnderrunCount(), 0);
    // A second of mix with no update: the queued buffers run out.
    capture.mix(48000);
    capture.clear();
    capture.run(6);
    EXPECT_EQ(capture.system().getUnderrunCount(), 1);
    EXPECT_TRUE(channel->isPlaying());
    EXPECT_GT(capture.rms(0, 0.0, 0.1), 0.2);
}

TEST_F(SoundSystemTest, UnreadableFilesAndFormatlessUserSoundsAreNotCreated) {
    SoundStream* stream = reinterpret_cast<SoundStream*>(&capture);
    EXPECT_FALSE(
        capture.system().createSound(writeTempFile("x.wav", "not audio"), kOnce, nullptr, &stream));
    EXPECT_EQ(stream, nullptr);
    EXPECT_FALSE(capture.system().createSound("", kOnce | SoundSystem::ModeUser, nullptr, &stream));
    EXPECT_EQ(play(nullptr), nullptr);
}

TEST(SoundSystemOutput, AnUninitialisedSystemIsSilentAndHarmless) {
    SoundSystem system;
    EXPECT_EQ(system.getOutput(), SoundSystem::NoOutput);
    SoundStream* stream = nullptr;
    system.createSound("", SoundSystem::ModeUser, &kSecond, &stream);
    SoundChannel* channel = reinterpret_cast<SoundChannel*>(&system);
    EXPECT_FALSE(system.playSound(stream, false, &channel));
    EXPECT_EQ(channel, nullptr);
    float sample[2];
    EXPECT_EQ(system.render(sample, 1), 0);
}

TEST(SoundSystemOutput, HandlesOutlivingTheirSystemDoNothing) {
    SoundCapture* capture = new SoundCapture(2);
    SoundStream* stream = nullptr;
    capture->system().createSound("", SoundSystem::ModeUser, &kSecond, &stream);
    SoundChannel* channel = nullptr;
    ASSERT_TRUE(capture->system().playSound(stream, false, &channel));
    EXPECT_TRUE(channel->isPlaying());
    delete capture;
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_FALSE(channel->stop());
    EXPECT_FALSE(channel->setPaused(true));
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
