#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/GameCheckpoint.h"
#include "replay/DemoPlayer.h"
#include "support/ScriptedClock.h"
#include "support/SdlEvent.h"
#include "support/TempFile.h"

namespace {

Checkpoint soundsOnly(const std::vector<std::string>& sounds) {
    return GameCheckpoint::of("none", nullptr, nullptr, sounds);
}

struct Frame {
    std::vector<unsigned int> ticks;
    std::vector<SDL_Event> events;
    std::vector<std::string> sounds;
};

// Readings repeat, go back and wrap around the 32-bit counter.
const std::vector<Frame> kPlay = {
    {{5, 5, 5, 7}, {sdlEvent(SDL_KEYDOWN, 0, SDLK_RIGHT)}, {"Sounds/a.ogg"}},
    {{4294967290u, 4294967290u, 3},
     {sdlEvent(SDL_JOYAXISMOTION, 1, -32768), sdlEvent(SDL_JOYHATMOTION, 0, SDL_HAT_LEFTUP),
      sdlEvent(SDL_JOYBUTTONDOWN, 6, 0), sdlEvent(SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS)},
     {}},
    {{3, 1},
     {sdlEvent(SDL_KEYUP, 0, SDLK_UNDO), SDL_Event{SDL_QUIT}},
     {"Sounds/b.ogg", ""}}, // last key
};

std::string recorded(const std::vector<Frame>& play, unsigned long frames) {
    std::string path = writeTempFile("play.demo", "");
    DemoRecorder recorder(soundsOnly, GameClock::realNow);
    EXPECT_TRUE(recorder.open(path, "digest", ""));
    for (unsigned long n = 0; n < frames; ++n) {
        const Frame& frame = play[n % play.size()];
        for (unsigned int tick : frame.ticks)
            recorder.tick(tick);
        for (const SDL_Event& event : frame.events)
            recorder.eventTaken(event);
        for (const std::string& sound : frame.sounds)
            recorder.soundStarted(sound);
        recorder.frameEnded();
    }
    EXPECT_TRUE(recorder.finish(true));
    return path;
}

// Replays frames up to the last as the game would; frame readsMore reads the clock once more,
// frame leaves leaves its last event untaken.
void replay(DemoPlayer& player, unsigned long last, unsigned long readsMore = 0,
            unsigned long leaves = 0) {
    for (unsigned long n = 1; n <= last && player.outcome() == DemoPlayer::Outcome::Playing; ++n) {
        const Frame& frame = kPlay[(n - 1) % kPlay.size()];
        for (unsigned int tick : frame.ticks)
            EXPECT_EQ(player.tick(0), tick) << "frame " << n;
        if (n == readsMore)
            player.tick(0);
        SDL_Event event;
        for (const SDL_Event& expected : frame.events) {
            if (n == leaves && &expected == &frame.events.back())
                break;
            ASSERT_TRUE(player.nextEvent(event));
            // Both were zeroed before being filled, so their padding compares equal too.
            // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
            EXPECT_EQ(std::memcmp(&event, &expected, sizeof event), 0) << int(expected.type);
        }
        EXPECT_TRUE(n == leaves || !player.nextEvent(event));
        for (const std::string& sound : frame.sounds)
            player.soundStarted(sound);
        player.frameEnded();
    }
}

TEST(Demo, ARecordedPlayReplaysToItsEndAndNamesTheFrameWhereItDiverges) {
    // Whole (two checkpoints then the end; one ending on a checkpoint), stopped early, changed at
    // its last frame; each interrupted after: a signal after an end or a divergence changes
    // neither.
    const struct {
        unsigned long recorded, played;
        int exitCode;
        unsigned long readsMore, leaves;
        std::string message;
    } cases[] = {
        {130, 130, 0, 0, 0, ""},
        {120, 120, 0, 0, 0, ""},
        {130, 30, DemoPlayer::kInterrupted, 0, 0, "the replay was interrupted at frame 30 of 130"},
        {130, 62, 3, 62, 0,
         "replay diverges at frame 62: the clock is read more often than the 3 times recorded"},
        {130, 63, 3, 0, 63, "replay diverges at frame 63: 1 recorded input events are not taken"}};
    for (const auto& c : cases) {
        DemoPlayer player(soundsOnly);
        ASSERT_TRUE(player.open(recorded(kPlay, c.recorded), "digest")) << player.failure();
        replay(player, c.played, c.readsMore, c.leaves);
        player.interrupt();
        EXPECT_EQ(player.exitCode(), c.exitCode) << c.message;
        EXPECT_EQ(player.message(), c.message);
        EXPECT_EQ(player.framesPlayed(), c.played);
    }
}

TEST(Demo, AFileThatCannotBeReplayedIsRefusedWithItsReason) {
    const std::string good = readFile(recorded(kPlay, 70));
    const size_t firstBlock = good.find("\n\n") + 2;
    std::string flipped = good, trailing = good + "x", format = good, hat, flood, longer = good;
    unsigned int tick = 0;
    DemoFormat::putFrame(hat, {{sdlEvent(SDL_JOYHATMOTION, 0, 5)}, {}}, tick); // up and down
    hat = good.substr(0, firstBlock) + DemoFormat::block('F', "\x01" + hat, "");
    flipped[firstBlock + 20] ^= 0x10;
    std::string crowded{1, 0, 2}; // one frame, no event, runs of 60,000 and 50,000 readings
    for (uint64_t number : {0, 60000, 0, 50000})
        DemoFormat::putNumber(crowded, number);
    format.replace(good.find("format 2"), 8, "format \x1b[7");
    for (int frame = 0; frame < 20; ++frame) // each frame 100,000 readings in 6 bytes
        for (uint64_t number : {0, 1, 0, 100000})
            DemoFormat::putNumber(flood, number);
    flood = good.substr(0, firstBlock) + DemoFormat::block('F', "\x14" + flood, "");
    longer[firstBlock + 3] = '\x01'; // the first block's length, 64 KB more: past the end
    const std::string fifo = tempDir() + "/fifo.demo", block = std::to_string(firstBlock);
    mkfifo(fifo.c_str(), 0600);
    const std::string malformed = "damaged: the block at byte " + block + " is malformed";
    const struct {
        std::string bytes, digest, failure;
    } cases[] = {
        {flipped, "digest", "damaged: the block at byte " + block + " fails its check"},
        {trailing, "digest", "damaged: bytes follow its end record"},
        {format, "digest", "recorded in play format \\x1b[7; this game reads formats 1 to 2"},
        {flood, "digest", malformed},
        {longer, "digest",
         "damaged: the block at byte " + block + " runs past the end of the file"},
        {good, "other", "recorded over other content (content digest, here other)"},
        {hat, "digest", malformed},
        {good.substr(0, firstBlock) + DemoFormat::block('F', std::string(10, '\x80') + '\0', ""),
         "digest", malformed}, // a frame count of 0 spelt in 11 bytes: more than 64 bits take
        {good.substr(0, firstBlock) + DemoFormat::block('F', crowded, ""), "digest", malformed},
        {"hello\n", "digest", "not a recorded play"},
        {good.substr(0, firstBlock - 1), "digest", "damaged: its header is incomplete"},
        {good.substr(0, firstBlock) + "Z", "digest", "damaged: no block starts at byte " + block},
        {"/nonexistent/play.demo", "", "cannot be read"}, // files named, not written
        {fifo, "", "not a file"},
        {"/dev/zero", "", "not a file"}};
    for (const auto& c : cases) {
        DemoPlayer player(soundsOnly);
        const bool named = c.digest.empty();
        EXPECT_FALSE(player.open(named ? c.bytes : writeTempFile("bad.demo", c.bytes),
                                 named ? "digest" : c.digest));
        EXPECT_EQ(player.failure(), c.failure);
    }

    // Killed while writing: what was flushed replays, then the play says it was cut.
    DemoPlayer cut(soundsOnly);
    ASSERT_TRUE(cut.open(writeTempFile("cut.demo", good.substr(0, good.size() - 3)), "digest"));
    replay(cut, 70);
    EXPECT_EQ(cut.framesPlayed(), 60u);
    EXPECT_EQ(cut.exitCode(), 1);
    EXPECT_EQ(cut.message(),
              "the recording ends without its end record (cut short?); replayed its 60 frames");
}

// Over an existing file the old play stays whole until the new one ends well.
TEST(Demo, ARecordingTakesItsFilesPlaceOnlyWhenItEndsWell) {
    for (const std::string how : {"kept", "not kept", "discarded"}) {
        const std::string path = writeTempFile("over.demo", "old play");
        DemoRecorder recorder(soundsOnly, GameClock::realNow);
        ASSERT_TRUE(recorder.open(path, "digest", "") && recorder.frameEnded());
        EXPECT_EQ(readFile(path), "old play");
        if (how == "discarded")
            recorder.discard();
        else
            EXPECT_EQ(recorder.finish(how == "kept"), how == "kept");
        EXPECT_EQ(readFile(path) == "old play", how != "kept") << how;
        EXPECT_EQ(std::filesystem::exists(recorder.writtenTo()), how == "not kept") << how;
    }
    for (const auto& [path, failure] :
         {std::pair{"/dev/full", "No space left on device"}, {"/tmp", "it is a folder"}}) {
        DemoRecorder recorder(soundsOnly, GameClock::realNow);
        EXPECT_FALSE(recorder.open(path, "digest", ""));
        EXPECT_EQ(recorder.failure(), std::string("cannot write: ") + failure);
    }
}

// A killed recording loses at most its last second; a full disk is said once, the rest replays.
TEST(Demo, AKilledRecordingLosesAtMostItsLastSecondAndAWriteErrorIsSaid) {
    ScriptedClock clock;
    DemoRecorder live(soundsOnly, GameClock::realNow);
    ASSERT_TRUE(live.open(writeTempFile("live.demo", ""), "digest", ""));
    for (int frame = 0; frame < 25; ++frame) { // ten frames a second
        ScriptedClock::advance(100);
        live.frameEnded();
    }
    DemoPlayer killed(soundsOnly); // reads the file as a kill would leave it
    ASSERT_TRUE(killed.open(live.writtenTo(), "digest"));
    while (killed.outcome() == DemoPlayer::Outcome::Playing)
        killed.frameEnded();
    EXPECT_EQ(killed.framesPlayed(), 20u);
    // From here no second passes: blocks end at checkpoints only.
    const size_t firstBlock = readFile(recorded(std::vector<Frame>(1), 60)).size();
    const std::string path = tempDir() + "/full.demo";
    const auto fillTheDisk = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{firstBlock + 10, firstBlock + 10}; // the next block gets 10 bytes
        setrlimit(RLIMIT_FSIZE, &limit);
        DemoRecorder recorder(soundsOnly, GameClock::realNow);
        bool ok = recorder.open(path, "digest", "");
        for (int frame = 0; frame < 180; ++frame)
            recorder.frameEnded();
        ok = ok && !recorder.finish(true) && !std::filesystem::exists(path);
        DemoPlayer player(soundsOnly);
        ok = ok && player.open(recorder.writtenTo(), "digest");
        while (ok && player.frameEnded()) {
        }
        _exit(ok && player.framesPlayed() == 60 && player.exitCode() == 1 ? 0 : 1);
    };
    EXPECT_EXIT(fillTheDisk(), testing::ExitedWithCode(0),
                "full.demo: cannot write: File too large; the recording stops at frame 60; what it "
                "holds is in .*full.demo.part");
}

TEST(Demo, OptionsAreReadOrRefusedWithTheirReason) {
    const struct {
        std::vector<const char*> args;
        std::string error;
    } cases[] = {
        {{"--record", "a.demo", "--replay", "b.demo", "--fast", "--shots", "d", "--help"}, ""},
        {{"--fast"}, "option '--fast' goes with '--replay'"},
        {{"--shots", "dir"}, "option '--shots' goes with '--replay'"},
        {{"--record"}, "option '--record' needs a file"},
        {{"--record", "--window"}, "option '--record' needs a file"},
        {{"--replay", ""}, "option '--replay' needs a file"},
        {{"--window", "--record", "a.demo"}, ""},
        {{"--windowed"}, "unknown option '--windowed'"},
        {{"--music-volume", "11"}, "option '--music-volume' needs a volume from 0 to 10"},
        {{"--music-volume", "10", "--effects-volume", "0"}, ""},
        {{"--effects-volume", "5x"}, "option '--effects-volume' needs a volume from 0 to 10"},
        {{"--music-volume"}, "option '--music-volume' needs a volume from 0 to 10"},
        {{"--version"}, ""}};
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"tolvek"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        CommandLine options;
        EXPECT_EQ(options.parse(static_cast<int>(argv.size()), argv.data()), c.error.empty());
        EXPECT_EQ(options.error(), c.error);
        EXPECT_EQ(options.showVersion, std::string(c.args.front()) == "--version");
    }
}

} // namespace
