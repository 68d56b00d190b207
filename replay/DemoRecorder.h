#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "replay/Checkpoint.h"
#include "replay/DemoFormat.h"
#include "replay/PlayTap.h"

// Writes a play as it goes. A block is written and flushed every
// checkpoint, and at least once a second, so a killed game loses at most
// its last second.
class DemoRecorder : public PlayTap {
public:
    // The state of the game with the sounds started since the last checkpoint.
    using Snapshot = std::function<Checkpoint(const std::vector<std::string>& sounds)>;

    // The machine's millisecond clock, which says when a second has passed.
    using Clock = unsigned int (*)();

    DemoRecorder(Snapshot snapshot, Clock clock);
    ~DemoRecorder() override;

    // False, with failure() telling why, when the file cannot be written.
    bool open(const std::string& path, const std::string& contentDigest);
    const std::string& failure() const { return openFailure; }
    // Writes the end record with the final checkpoint and closes the file.
    void finish();

    bool replaying() const override { return false; }
    unsigned int tick(unsigned int real) override;
    bool nextEvent(SDL_Event&) override { return false; }
    void eventTaken(const SDL_Event& event) override;
    void soundStarted(const std::string& fileName) override;
    bool frameEnded() override;

private:
    void writeBlock(char kind, bool withCheckpoint);

    Snapshot snapshot;
    Clock clock;
    std::FILE* file = nullptr;
    std::string openFailure;
    DemoFormat::Frame frame;
    std::string pendingFrames;
    size_t pendingCount = 0;
    unsigned int previousTick = 0;
    unsigned long frameCount = 0;
    unsigned int lastWrite = 0;
    std::vector<std::string> sounds;
};
