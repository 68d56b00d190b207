#include <cstring>
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/GameCheckpoint.h"
#include "app/GameClock.h"
#include "app/GameManager.h"
#include "replay/DemoPlayer.h"
#include "replay/DemoRecorder.h"
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
    EXPECT_TRUE(recorder.open(path, "digest"));
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
    recorder.finish();
    return path;
}

enum class Change { ReadsMore, LeavesAnEvent };

// Plays the recorded frames back as the game would, but for the changed frame.
void replay(DemoPlayer& player, unsigned long frames, unsigned long changedFrame = 0,
            Change change = Change::ReadsMore) {
    for (unsigned long n = 0; n < frames && player.outcome() == DemoPlayer::Outcome::Playing; ++n) {
        const Frame& frame = kPlay[n % kPlay.size()];
        for (unsigned int tick : frame.ticks)
            EXPECT_EQ(player.tick(0), tick) << "frame " << n + 1;
        const bool changed = n + 1 == changedFrame;
        if (changed && change == Change::ReadsMore)
            player.tick(0);
        SDL_Event event;
        for (const SDL_Event& expected : frame.events) {
            if (changed && change == Change::LeavesAnEvent && &expected == &frame.events.back())
                break;
            ASSERT_TRUE(player.nextEvent(event));
            // Both were zeroed before being filled, so their padding compares equal too.
            // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
            EXPECT_EQ(std::memcmp(&event, &expected, sizeof event), 0) << int(expected.type);
        }
        EXPECT_TRUE((changed && change == Change::LeavesAnEvent) || !player.nextEvent(event));
        for (const std::string& sound : frame.sounds)
            player.soundStarted(sound);
        player.frameEnded();
    }
}

TEST(Demo, ARecordedPlayReplaysToItsEndAndNamesTheFrameWhereItDiverges) {
    const std::string path = recorded(kPlay, 130); // two checkpoints, then the end
    DemoPlayer player(soundsOnly);
    ASSERT_TRUE(player.open(path, "digest")) << player.failure();
    replay(player, 130);
    EXPECT_EQ(player.outcome(), DemoPlayer::Outcome::Finished);
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(player.framesPlayed(), 130u);

    DemoPlayer changed(soundsOnly);
    ASSERT_TRUE(changed.open(path, "digest"));
    replay(changed, 130, 62);
    EXPECT_EQ(changed.exitCode(), 3);
    EXPECT_EQ(changed.message(),
              "replay diverges at frame 62: the clock is read more often than the 3 times "
              "recorded");
    DemoPlayer untaken(soundsOnly);
    ASSERT_TRUE(untaken.open(path, "digest"));
    replay(untaken, 130, 63, Change::LeavesAnEvent);
    EXPECT_EQ(untaken.message(),
              "replay diverges at frame 63: 1 recorded input events are not taken");
}

TEST(Demo, AFileThatCannotBeReplayedIsRefusedWithItsReason) {
    const std::string good = readFile(recorded(kPlay, 70));
    const size_t firstBlock = good.find("\n\n") + 2;
    std::string flipped = good, trailing = good + "x", format = good, hat;
    unsigned int tick = 0;
    DemoFormat::putFrame(hat, {{sdlEvent(SDL_JOYHATMOTION, 0, 5)}, {}},
                         tick); // up and down at once
    hat = good.substr(0, firstBlock) + DemoFormat::block('F', "\x01" + hat, "");
    flipped[firstBlock + 20] ^= 0x10;
    std::string crowded{1, 0, 2}; // one frame, no event, runs of 60,000 and 50,000 readings
    for (uint64_t number : {0, 60000, 0, 50000})
        DemoFormat::putNumber(crowded, number);
    format.replace(good.find("format 1"), 8, "format 7");
    const struct {
        std::string bytes, digest, failure;
    } cases[] = {
        {flipped, "digest",
         "damaged: the block at byte " + std::to_string(firstBlock) + " fails its check"},
        {trailing, "digest", "damaged: bytes follow its end record"},
        {format, "digest", "recorded in play format 7; this game reads format 1"},
        {good, "other", "recorded over other content (content digest, here other)"},
        {hat, "digest",
         "damaged: the block at byte " + std::to_string(firstBlock) + " is malformed"},
        {good.substr(0, firstBlock) + DemoFormat::block('F', std::string(10, '\x80') + '\0', ""),
         "digest", // a frame count of 0 spelt in 11 bytes: more than a 64-bit number takes
         "damaged: the block at byte " + std::to_string(firstBlock) + " is malformed"},
        {good.substr(0, firstBlock) + DemoFormat::block('F', crowded, ""), "digest",
         "damaged: the block at byte " + std::to_string(firstBlock) + " is malformed"},
        {"hello\n", "digest", "not a recorded play"},
        {good.substr(0, firstBlock - 1), "digest", "damaged: its header is incomplete"},
        {good.substr(0, firstBlock) + "Z", "digest",
         "damaged: no block starts at byte " + std::to_string(firstBlock)},
    };
    for (const auto& c : cases) {
        DemoPlayer player(soundsOnly);
        EXPECT_FALSE(player.open(writeTempFile("bad.demo", c.bytes), c.digest));
        EXPECT_EQ(player.failure(), c.failure);
    }
    DemoPlayer missing(soundsOnly);
    EXPECT_FALSE(missing.open("/nonexistent/play.demo", "digest"));
    EXPECT_EQ(missing.failure(), "cannot be read");

    // Killed while writing: what was flushed replays, then the play says it was cut.
    DemoPlayer cut(soundsOnly);
    ASSERT_TRUE(cut.open(writeTempFile("cut.demo", good.substr(0, good.size() - 3)), "digest"));
    replay(cut, 70);
    EXPECT_EQ(cut.framesPlayed(), 60u);
    EXPECT_EQ(cut.exitCode(), 1);
    EXPECT_EQ(cut.message(),
              "the recording ends without its end record (cut short?); replayed its 60 frames");
}

TEST(Demo, AKilledRecordingLosesAtMostItsLastSecond) {
    ScriptedClock clock;
    const std::string path = writeTempFile("live.demo", "");
    DemoRecorder recorder(soundsOnly, GameClock::realNow);
    ASSERT_TRUE(recorder.open(path, "digest"));
    for (int frame = 0; frame < 25; ++frame) { // ten frames a second
        ScriptedClock::advance(100);
        recorder.frameEnded();
    }
    DemoPlayer killed(soundsOnly); // reads the file as a kill would leave it
    ASSERT_TRUE(killed.open(path, "digest"));
    while (killed.outcome() == DemoPlayer::Outcome::Playing)
        killed.frameEnded();
    EXPECT_EQ(killed.framesPlayed(), 20u);
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
        {{"--replay", ""}, "option '--replay' needs a file"},
        {{"--window", "--record", "a.demo"}, ""},
        {{"--windowed"}, "unknown option '--windowed'"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"tolvek"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        CommandLine options;
        EXPECT_EQ(options.parse(static_cast<int>(argv.size()), argv.data()), c.error.empty());
        EXPECT_EQ(options.error(), c.error);
    }
}

} // namespace
