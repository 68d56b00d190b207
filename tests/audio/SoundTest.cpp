#include <cmath>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include "app/GameManager.h"
#include "audio/Sound.h"
#include "audio/SoundChannel.h"
#include "audio/SoundPrefetcher.h"
#include "audio/SoundSystem.h"
#include "support/TempFile.h"

// libsndfile watched: which threads decode, and how many are inside an open at once.
static thread_local long decodesOnThisThread = 0;
static std::atomic<int> insideOpen{0}, mostInsideOpen{0};
static std::atomic<bool> widenOpens{false}; // an open then waits a while for a second thread

template <typename Function> static Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

extern "C" sf_count_t sf_readf_float(SNDFILE* file, float* out, sf_count_t frames) {
    static const auto read = real<decltype(&sf_readf_float)>("sf_readf_float");
    ++decodesOnThisThread;
    return read(file, out, frames);
}

extern "C" SNDFILE* sf_open_virtual(SF_VIRTUAL_IO* io, int mode, SF_INFO* info, void* data) {
    static const auto open = real<decltype(&sf_open_virtual)>("sf_open_virtual");
    ++insideOpen;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (widenOpens && insideOpen < 2 && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
    mostInsideOpen = std::max(mostInsideOpen.load(), insideOpen.load());
    SNDFILE* file = open(io, mode, info, data);
    --insideOpen;
    return file;
}

static std::atomic<bool> hideLoopback{false};
extern "C" ALCvoid* alcGetProcAddress(ALCdevice* device, const ALCchar* name) {
    static const auto get = real<decltype(&alcGetProcAddress)>("alcGetProcAddress");
    return hideLoopback ? nullptr : get(device, name);
}

namespace {

// A loopback sound system installed as the game's: what the player would hear.
struct SoundCapture {
    static const int kFrequency = 48000, kWav = SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                     kOgg = SF_FORMAT_OGG | SF_FORMAT_VORBIS;

    explicit SoundCapture(int channels, bool floatBuffers = true) {
        system.initLoopback(channels, kFrequency, floatBuffers);
        GameManager::setSoundSystem(&system);
    }
    ~SoundCapture() { GameManager::setSoundSystem(previous); }

    SoundSystem system;
    // Each step: update(), then a frame of audio (a 60th of a second) recorded.
    void run(int updates, int framesPerUpdate = 800) {
        for (int i = 0; i < updates; ++i, mix(framesPerUpdate))
            system.update();
    }
    void mix(int count) { // with no update
        const size_t start = recording.size();
        recording.resize(start + static_cast<size_t>(count) * 2);
        system.render(recording.data() + start, count);
    }
    void clear() { recording.clear(); }
    double rms(int side, double from, double to) const {
        const int a = frameAt(from), b = frameAt(to);
        double sum = 0.0;
        for (int i = a; i < b; ++i)
            sum += static_cast<double>(at(i, side)) * at(i, side);
        return b > a ? std::sqrt(sum / (b - a)) : 0.0;
    }
    int longestSilence(double from, double to) const {
        int longest = 0, silent = 0;
        for (int i = frameAt(from); i < frameAt(to); ++i) {
            silent = std::fabs(at(i, 0)) < 1e-4f && std::fabs(at(i, 1)) < 1e-4f ? silent + 1 : 0;
            longest = std::max(longest, silent);
        }
        return longest;
    }
    float steepest(int side, double from, double to) const {
        float step = 0;
        for (int i = std::max(1, frameAt(from)); i < frameAt(to); ++i)
            step = std::max(step, std::fabs(at(i, side) - at(i - 1, side)));
        return step;
    }

    // Ten-ms windows from 0 to `to` where the left side sounds.
    int soundingWindows(double to) const {
        int count = 0;
        for (int w = 0; w < to * 100; ++w)
            count += rms(0, w / 100.0, (w + 1) / 100.0) > 0.1;
        return count;
    }

    // A 1 kHz sine, the same on every channel, as 16-bit WAV unless told.
    static std::string writeTone(const std::string& path, int channels, double seconds,
                                 double amplitude = 0.5, int format = kWav, int rate = kFrequency) {
        SF_INFO info = {0, rate, channels, format, 0, 0};
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        const int total = static_cast<int>(seconds * rate);
        std::vector<float> samples(static_cast<size_t>(total) * channels);
        for (int frame = 0; frame < total; ++frame)
            std::fill_n(samples.begin() + frame * channels, channels,
                        static_cast<float>(amplitude * std::sin(2 * M_PI * 1000 * frame / rate)));
        sf_writef_float(file, samples.data(), total);
        sf_close(file);
        return path;
    }

private:
    float at(int frame, int side) const { return recording[static_cast<size_t>(frame) * 2 + side]; }
    int frameAt(double seconds) const {
        const int frames = static_cast<int>(recording.size() / 2);
        return std::max(0, std::min(frames, static_cast<int>(seconds * kFrequency)));
    }

    SoundSystem* previous = GameManager::getSoundSystem();
    std::vector<float> recording;
};

const unsigned int kOnce = SoundSystem::ModeSoftware | SoundSystem::Mode2D |
                           SoundSystem::ModeLoopOff | SoundSystem::ModeStream;
const unsigned int kLooping = kOnce ^ SoundSystem::ModeLoopOff ^ SoundSystem::ModeLoopNormal;

// A four-channel loopback mix; 1 kHz tones: whole cycles in every length, so loops stay sines.
struct AudioTest : testing::Test {
    std::string tone(const std::string& name, double seconds, int channels = 1) {
        return SoundCapture::writeTone(dir + "/" + name, channels, seconds);
    }
    Sound& start(const std::string& path, bool soft, bool loop, float volume = 1, float pan = 0,
                 SoundGroup group = SoundGroup::Effects) {
        sounds.push_back(std::make_unique<Sound>(path, volume, pan));
        sounds.back()->load(soft, loop);
        sounds.back()->setGroup(group);
        sounds.back()->play();
        return *sounds.back();
    }
    std::unique_ptr<SoundChannel> play(const std::string& path, unsigned int mode) {
        SoundStream* stream = nullptr;
        SoundChannel* channel = nullptr;
        capture.system.createSound(path, mode, nullptr, &stream);
        capture.system.playSound(stream, false, &channel);
        return std::unique_ptr<SoundChannel>(channel);
    }

    std::string dir = tempDir();
    SoundCapture capture{4};
    std::vector<std::unique_ptr<Sound>> sounds;
};

TEST_F(AudioTest, PanAndVolumeHoldForMonoAndStereoAndOnEveryPlay) {
    for (int channels = 1; channels <= 2; ++channels) {
        const std::string path = tone(std::to_string(channels) + ".wav", 1.0, channels);
        capture.clear(); // each played, stopped, played; out of range keeps full volume, centre
        for (const auto& [volume, pan] :
             {std::pair{1.0f, -1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.5f, 0.0f}, {1.5f, 1.01f}}) {
            Sound& sound = start(path, false, false, volume, pan);
            sound.stop();
            sound.play();
            capture.run(20);
            sound.stop();
        }
        const auto level = [this](int side, int play) {
            return capture.rms(side, play / 3.0 + 0.05, (play + 1) / 3.0);
        };
        EXPECT_GT(level(0, 0) + level(1, 1), 0.4) << channels;
        EXPECT_LT(level(1, 0) + level(0, 1), 0.004) << channels;
        EXPECT_NEAR(level(0, 2), level(1, 2), 0.01 * level(0, 2)) << channels;
        for (int side = 0; side < 2; ++side) {
            EXPECT_NEAR(level(side, 3) / level(side, 2), 0.5, 0.01) << channels;
            EXPECT_NEAR(level(side, 4), level(side, 2), 0.01) << channels;
        }
    }
}

TEST_F(AudioTest, AStopReachesTheLatestPlayOfALoop) {
    Sound& loop = start(tone("loop.wav", 0.25), true, true);
    loop.play(); // two plays started on the same frame: in phase
    capture.run(15);
    loop.stop();
    capture.run(15);
    EXPECT_NEAR(capture.rms(0, 0.05, 0.25) / capture.rms(0, 0.3, 0.5), 2.0, 0.02);
}

TEST_F(AudioTest, TogglePauseResumesWhereItWas) {
    Sound& sound = start(tone("long.wav", 1.0), false, true); // hardware ignores the loop
    capture.run(15);
    sound.togglePause();
    capture.run(30);
    EXPECT_EQ(capture.rms(0, 0.25, 0.75), 0.0);
    sound.togglePause();
    capture.run(90);
    EXPECT_NEAR(capture.soundingWindows(3.5), 100, 2); // heard once, whole: nothing twice
    start("", false, false);                           // no file: a second of true silence
    capture.clear();
    capture.run(10);
    EXPECT_EQ(capture.rms(0, 0, 0.16), 0.0);
}

TEST_F(AudioTest, CallsOnAPlayThatEndedDoNothingNotEvenOnTheSlotsNextPlay) {
    Sound& blip = start(tone("blip.wav", 0.05), false, false);
    EXPECT_TRUE(blip.getSound()->isHeadWhole()); // short and played once: all in memory
    capture.mix(8000);                           // ran out before any update
    blip.togglePause();
    EXPECT_FALSE(blip.getChannel()->isPlaying() || blip.getChannel()->setVolume(0.5f));
    blip.togglePause(); // must not replay the buffers still queued
    capture.clear();
    capture.run(10);
    EXPECT_EQ(capture.rms(0, 0, 1), 0.0);
    std::unique_ptr<SoundChannel> current = play(tone("l.wav", 0.25), kLooping);
    int sources = 0; // on blip's slot, with its source
    for (ALuint id = 1; id < 100; ++id)
        sources += alIsSource(id);
    EXPECT_EQ(sources, 1);
    EXPECT_FALSE(blip.getChannel()->stop() || blip.getChannel()->setPaused(true) ||
                 blip.getChannel()->getPaused(nullptr));
    EXPECT_TRUE(current->isPlaying());
    blip.getChannel()->setVolume(0.0f);
    capture.run(10);
    EXPECT_GT(capture.rms(0, 0.2, 0.3), 0.2);
}

// Peaks past full scale: a wrapped one jumps far steeper than the sine steps.
TEST_F(AudioTest, DecodedStereoOvershootIsClippedNotWrappedInFloatAnd16BitBuffers) {
    const std::string path =
        SoundCapture::writeTone(dir + "/loud.ogg", 2, 0.5, 1.2, SoundCapture::kOgg);
    const std::unique_ptr<SoundChannel> here = play(tone("h.wav", 0.1), kOnce);
    for (bool floats : {true, false}) {
        SoundCapture out(1, floats);
        EXPECT_TRUE(here->isPlaying()) << floats; // asked while the other system is current
        EXPECT_EQ(out.system.hasFloatBuffers(), floats);
        start(path, false, false); // outlives its system: the stale handle stays harmless
        out.run(40);
        EXPECT_EQ(out.rms(0, 0.51, 0.66), 0.0) << floats; // stereo: ends on time
        EXPECT_GT(out.rms(0, 0, 0.5), 0.5) << floats;
        EXPECT_LT(out.steepest(0, 0, 0.5), 0.5f) << floats;
    }
}

TEST_F(AudioTest, PlaysTakeFreeSlotsAndBadFilesOrStreamsAreRefused) {
    const std::string path = tone("t.wav", 0.5);
    std::unique_ptr<SoundChannel> channels[4];
    for (auto& channel : channels)
        ASSERT_NE(channel = play(path, kLooping), nullptr);
    EXPECT_EQ(play(path, kLooping), nullptr);
    channels[2]->stop();
    EXPECT_NE(play(path, kLooping), nullptr);
    EXPECT_EQ(capture.system.getPlayingCount(), 4);
    channels[0]->stop();
    Sound& music = start(SoundCapture::writeTone(dir + "/m.ogg", 2, 1.0, 0.5, SoundCapture::kOgg),
                         true, false);
    const size_t held = mallinfo2().uordblks; // a refused file is closed, not leaked
    for (int i = 0; i < 100; ++i)
        for (const std::string& bad : {writeTempFile("x.wav", "not audio"), tone("3.wav", 0.1, 3)})
            EXPECT_EQ(play(bad, kOnce), nullptr); // mono and stereo only
    for (int i = 0; i < 40; ++i)                  // nor is a system's device left open when it goes
        SoundSystem().initLoopback(2, SoundCapture::kFrequency);
    hideLoopback = true; // a library without loopback, or a rate it refuses: no system
    EXPECT_FALSE(SoundSystem().initLoopback(2, SoundCapture::kFrequency));
    hideLoopback = false;
    EXPECT_FALSE(SoundSystem().initLoopback(2, 1));
    for (int i = 0; i < 20; ++i, capture.run(70)) // nor are decoders kept for plays long gone
        music.play();
    SoundPrefetcher::shared().waitIdle(); // every spare it was asked for made
    EXPECT_LT(mallinfo2().uordblks, held + 1000000);
    SoundStream* none = nullptr; // a file that is not there
    EXPECT_FALSE(capture.system.createSound(dir + "/no.ogg", kOnce, nullptr, &none) || none);
}

TEST_F(AudioTest, StreamsAreFedOffTheMainThreadThroughStallsOfSecondsAndFramesASecondLong) {
    // Frames of 60 Hz, 250 ms and a second, each after the main thread stalls once (0.5 to 5 s).
    for (const auto& [period, stall] :
         {std::pair{800, 24000}, {800, 48000}, {800, 240000}, {12000, 96000}, {48000, 0}}) {
        capture.run(2, period);
        capture.clear();
        std::unique_ptr<SoundChannel> left = play(tone("music.ogg", 2.0, 2), kLooping),
                                      right = play(tone("e.wav", 0.3), kLooping);
        EXPECT_TRUE(left->setPan(-1.0f) && right->setPan(1.0f) && left->setPaused(false));
        const long loaded = decodesOnThisThread; // only loading decodes here
        // The main thread stalls (no update) while the device plays on its own thread.
        std::thread([&, frames = stall] { capture.mix(frames); }).join();
        capture.run(2 * SoundCapture::kFrequency / period + 1, period);
        const double end = stall / 48000.0 + 2.0;
        SCOPED_TRACE(testing::Message() << period << " " << stall);
        EXPECT_GT(std::min(capture.rms(0, end - 0.4, end), capture.rms(1, end - 0.4, end)), 0.15);
        EXPECT_LE(capture.longestSilence(0.01, end), 1);
        EXPECT_LT(capture.steepest(0, 0, end), 0.2f); // the music alone: no jump past its head
        EXPECT_EQ(capture.system.getUnderrunCount(), 0);
        EXPECT_TRUE(left->stop() && right->stop() && decodesOnThisThread == loaded);
    }
}

// A browser gives no threads: then each frame's update feeds the streams, and a mix that
// runs on without updates runs dry.
TEST(SoundWithoutThreads, EachUpdateFeedsTheStreamsPastTheirHeadsAndNothingElseDoes) {
    SoundSystem::setThreaded(false);
    {
        SoundCapture capture(2);
        SoundStream* stream = nullptr;
        SoundChannel* channel = nullptr;
        const std::string music =
            SoundCapture::writeTone(tempDir() + "/music.ogg", 2, 2.0, 0.5, SoundCapture::kOgg);
        ASSERT_TRUE(capture.system.createSound(music, kLooping, nullptr, &stream) &&
                    capture.system.playSound(stream, false, &channel));
        std::unique_ptr<SoundChannel> owned(channel);
        capture.run(5 * 60);
        EXPECT_LE(capture.longestSilence(0.01, 5.0), 1);
        EXPECT_LT(capture.steepest(0, 0, 5.0), 0.2f);
        EXPECT_EQ(capture.system.getUnderrunCount(), 0);
        capture.mix(SoundCapture::kFrequency);
        capture.run(1);
        EXPECT_GT(capture.system.getUnderrunCount(), 0);
        owned->stop(); // its decoder goes with it: the next play opens its own
        ASSERT_TRUE(capture.system.playSound(stream, false, &channel));
        owned.reset(channel);
        capture.clear();
        capture.run(60);
        EXPECT_GT(capture.rms(0, 0.8, 1.0), 0.15);
    }
    SoundSystem::setThreaded(true);
}

TEST_F(AudioTest, GroupVolumesScaleTheirPlaysWithinAFrameAndASilentGroupKeepsTime) {
    start(tone("m.wav", 0.25), true, true, 1, -1, SoundGroup::Music);
    start(tone("e.wav", 0.25), true, true, 1, 1);
    capture.run(6);
    const double music = capture.rms(0, 0.05, 0.1), effects = capture.rms(1, 0.05, 0.1);
    for (const auto& [musicVolume, effectsVolume] :
         {std::pair{0.5f, 1.0f}, {1.0f, 0.25f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}}) {
        capture.system.setGroupVolume(SoundGroup::Music, musicVolume);
        capture.system.setGroupVolume(SoundGroup::Effects, effectsVolume);
        capture.clear();
        capture.run(2); // the frame the change is made in fades to it, the next one has it
        EXPECT_NEAR(capture.rms(0, 0.017, 0.033), music * musicVolume, 0.005) << musicVolume;
        EXPECT_NEAR(capture.rms(1, 0.017, 0.033), effects * effectsVolume, 0.005) << effectsVolume;
    }
    sounds.clear();                                    // the music silent, as the last row left it
    play(tone("e.wav", 0.25), kLooping)->setPan(1.0f); // an effect, where a music play was
    // Started silent, turned up: heard as far into the sound as it would have been.
    start(tone("once.wav", 1.0), false, false, 1, -1, SoundGroup::Music);
    capture.clear();
    capture.run(36);
    capture.system.setGroupVolume(SoundGroup::Music, 1.0f);
    capture.run(30);
    EXPECT_LT(capture.rms(0, 0, 0.6) + capture.rms(0, 1.01, 1.1), 0.004);
    EXPECT_GT(std::min(capture.rms(0, 0.62, 0.99), capture.rms(1, 0, 0.6)), 0.3);
}

TEST(SoundDecoderTest, NoTwoThreadsAreInsideTheLibrarysOpenAtOnce) {
    auto bytes = std::make_shared<const std::string>(
        readFile(SoundCapture::writeTone(tempDir() + "/t.wav", 1, 0.1)));
    widenOpens = true;
    const auto opens = [&bytes] { delete SoundDecoder::open(bytes); };
    std::thread other(opens);
    opens();
    other.join();
    widenOpens = false;
    EXPECT_EQ(mostInsideOpen, 1);
}

TEST_F(AudioTest, ASoundPlaysWholeAsLoadedAfterItsFileIsRemovedOrReplaced) {
    for (bool removed : {true, false}) {
        const std::string path = tone("gone.wav", 2.0);
        sounds.push_back(std::make_unique<Sound>(path, 1.0f, 0.0f));
        sounds.back()->load(false, false);
        if (removed)
            std::remove(path.c_str());
        else // at a third of the rate: read as loaded, it would sound three times higher
            SoundCapture::writeTone(path, 1, 0.5, 0.5, SoundCapture::kWav, 16000);
        capture.clear();
        for (int play = 0; play < 2; ++play) {
            sounds.back()->play();
            capture.run(150);
        }
        EXPECT_NEAR(capture.soundingWindows(5.0), 400, 2) << removed;
        EXPECT_LT(capture.steepest(0, 0, 5.0), 0.08f) << removed;
    }
}

TEST(SoundDecoderTest, GeneratedStereoIsAllSilence) {
    SoundDecoder silence(2, 48000, 100);
    std::vector<float> out(200, 1.0f);
    EXPECT_EQ(silence.read(out.data(), 100, false), 100);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0.0f), 200);
    EXPECT_EQ(std::unique_ptr<SoundStream>(SoundStream::openUser({400, 2, 48000}, 0))->getFrames(),
              100); // 2 bytes a sample
}

// The library reads its log level at its first use: the game's init quiets it first.
TEST(SoundSystemOutput, OpeningTheDeviceLeavesStandardErrorToTheGame) {
    unsetenv("ALSOFT_LOGLEVEL");
    testing::internal::CaptureStderr();
    SoundSystem system;
    float sample[2];
    EXPECT_TRUE(system.getOutput() == SoundSystem::NoOutput && system.render(sample, 1) == 0);
    const bool opened = system.init(8);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(opened);
    if (system.getOutput() == SoundSystem::DeviceOutput)
        GTEST_SKIP() << "this machine has a sound device";
    EXPECT_EQ(system.getOutput(), SoundSystem::SilentOutput);
    const SoundStream::UserFormat tenth = {9600, 1, 48000};
    SoundStream* stream = nullptr;
    system.createSound("", SoundSystem::ModeUser, &tenth, &stream);
    SoundChannel* channel = nullptr;
    ASSERT_TRUE(system.playSound(stream, false, &channel));
    // No device, no update: the feeder drains the mix in real time (less one 50 ms pass).
    const auto started = std::chrono::steady_clock::now();
    while (channel->isPlaying() &&
           std::chrono::steady_clock::now() - started < std::chrono::seconds(30))
        SDL_Delay(5);
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(50));
    delete channel;
}

} // namespace
