#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "replay/Checkpoint.h"
#include "replay/DemoFormat.h"
#include "replay/PlayTap.h"

// Writes a play as it goes. A block is written and flushed every checkpoint,
// and at least once a second, so a killed game loses at most its last second.
// Over a file, or where none is yet, the play is written beside it, to
// FILE.part, and put in its place only when the play ends well: a run that
// fails, a full disk or a kill leaves the old FILE whole.
class DemoRecorder : public PlayTap {
public:
    // The state of the game with the sounds started since the last checkpoint.
    using Snapshot = std::function<Checkpoint(const std::vector<std::string>& sounds)>;
    // The machine's millisecond clock, which says when a second has passed.
    using Clock = unsigned int (*)();

    DemoRecorder(Snapshot snapshot, Clock clock);
    ~DemoRecorder() override;

    // False, with failure() telling why, when the file cannot be written.
    bool open(const std::string& path, const std::string& contentDigest,
              const std::string& settings);
    const std::string& failure() const { return failureText; }
    // Nothing was played (the start failed): no recording is left behind.
    void discard();
    // Writes the end block and closes the file; with keep, puts it in place.
    // False, with failure() telling why (empty when the write error was
    // already said), when the play is not in place whole.
    bool finish(bool keep);
    // Where the play is written until finish() puts it in place.
    const std::string& writtenTo() const { return writing; }

    bool replaying() const override { return false; }
    unsigned int tick(unsigned int real) override;
    bool nextEvent(SDL_Event&) override { return false; }
    void eventTaken(const SDL_Event& event) override;
    void soundStarted(const std::string& fileName) override;
    bool frameEnded() override;

private:
    void writeBlock(char kind, bool withCheckpoint);
    // Writes and flushes; the first failure is said at once, and nothing is
    // written after it, so what was written stays a replayable (cut) play.
    bool write(const std::string& bytes);
    bool close();

    Snapshot snapshot;
    Clock clock;
    std::FILE* file = nullptr;
    std::string target;
    std::string writing;
    bool beside = false;
    bool writeFailed = false;
    std::string failureText;
    DemoFormat::Frame frame;
    std::string pendingFrames;
    size_t pendingCount = 0;
    unsigned int previousTick = 0;
    unsigned long frameCount = 0;
    unsigned int lastWrite = 0;
    std::vector<std::string> sounds;
};
