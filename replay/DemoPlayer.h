#pragma once

#include <string>
#include <utility>
#include <vector>

#include "replay/Checkpoint.h"
#include "replay/DemoFormat.h"
#include "replay/DemoRecorder.h"
#include "replay/PlayTap.h"

// Gives a recorded play back to the game, frame by frame, and compares each
// checkpoint with the game's own state. The whole file is read and checked
// before the first frame, so damage is never mistaken for a divergence.
class DemoPlayer : public PlayTap {
public:
    enum class Outcome { Playing, Finished, Diverged, Cut, Interrupted };
    // Exit codes besides 0 (its end reached, every checkpoint matched) and 1
    // (the file cannot be replayed, or was cut).
    static constexpr int kDiverged = 3, kInterrupted = 4;
    // Far beyond any play (an hour takes under 2 MB). What a file holds is
    // kept as compactly as it is written, so its memory stays within about
    // twelve times its size.
    static constexpr size_t kLargestDemo = 16u << 20;

    explicit DemoPlayer(DemoRecorder::Snapshot snapshot);

    // False, with failure() telling why, when the file cannot be replayed.
    bool open(const std::string& path, const std::string& contentDigest);
    const std::string& failure() const { return openFailure; }
    // The settings the play was recorded with ("" for a play older than them:
    // the game's own).
    const std::string& settings() const { return recordedSettings; }
    // Passes the play on to a recorder, which writes it with the checkpoints
    // the game gives now: re-recording after an intended change. The replay
    // then forgives readings and events that no longer line up.
    void echoTo(PlayTap* recorder) { echo = recorder; }
    // The camera reads the frame just drawn back from GL.
    struct Camera {
        bool (*save)(const std::string& path, int width, int height);
        void (*setRasterising)(bool on);
    };
    // Writes the picture of every checkpoint's frame into the folder as
    // frame-N.bmp; with onlyThose, no other frame is rasterised.
    void setShots(const std::string& folder, int width, int height, bool onlyThose, Camera camera);
    // The game was ended from outside (a signal): the replay did not reach its end.
    void interrupt() { interrupted = true; }

    // After the game loop: the outcome, its one-line message and exit code.
    Outcome outcome() const;
    std::string message() const;
    int exitCode() const;
    unsigned long framesPlayed() const { return current; }

    bool replaying() const override { return true; }
    unsigned int tick(unsigned int real) override;
    bool nextEvent(SDL_Event& event) override;
    void eventTaken(const SDL_Event&) override {}
    void soundStarted(const std::string& fileName) override;
    bool frameEnded() override;

private:
    // Where a frame's events and readings lie in the play's shared lists.
    struct FrameSpan {
        uint32_t firstEvent, eventCount, firstRun, runCount;
    };

    bool readHeader(const std::string& bytes, size_t& at, const std::string& contentDigest);
    bool readSettings(const std::string& bytes, size_t& at);
    bool readBlocks(const std::string& bytes, size_t at);
    bool readPayload(const std::string& bytes, size_t at, size_t end, bool last);
    bool isCut(const std::string& bytes, size_t at) const;
    uint64_t readingsOf(const FrameSpan& frame) const;
    bool checkpointAt(unsigned long frame) const;
    void diverge(unsigned long frame, const std::string& what);
    void shoot();

    DemoRecorder::Snapshot snapshot;
    PlayTap* echo = nullptr;
    std::string openFailure;
    std::string recordedSettings;
    int version = DemoFormat::kVersion;
    std::vector<FrameSpan> frames;
    std::vector<SDL_Event> events;
    std::vector<DemoFormat::Run> runs;
    uint64_t mostReadings = 0; // what the file's size warrants
    uint64_t readings = 0;
    // In file order, by the frame they follow; two may follow one frame.
    std::vector<std::pair<unsigned long, Checkpoint>> checkpoints;
    size_t nextCheckpoint = 0;
    bool ended = false; // the file has its end record
    unsigned long current = 0;
    uint64_t readingsTaken = 0;
    size_t runAt = 0;
    unsigned int takenOfRun = 0;
    size_t nextEventIndex = 0;
    unsigned int parsedTick = 0; // the delta coding's running value while reading
    unsigned int lastTick = 0;
    bool interrupted = false;
    bool stopping = false;
    std::string divergence;
    std::string shotFailure;
    std::vector<std::string> sounds;
    std::string shotFolder;
    int shotWidth = 0;
    int shotHeight = 0;
    bool rasteriseOnlyShots = false;
    Camera camera{};
};
