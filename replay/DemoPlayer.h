#pragma once

#include <map>
#include <string>
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

    explicit DemoPlayer(DemoRecorder::Snapshot snapshot);

    // False, with failure() telling why, when the file cannot be replayed.
    bool open(const std::string& path, const std::string& contentDigest);
    const std::string& failure() const { return openFailure; }
    // Passes the play on to a recorder, which writes it with the checkpoints
    // the game gives now: re-recording after an intended change. The replay
    // then forgives readings and events that no longer line up.
    void echoTo(PlayTap* recorder) { echo = recorder; }
    // Writes the picture of every checkpoint's frame into the folder as
    // frame-N.bmp; with onlyThose, no other frame is rasterised.
    // The camera reads the frame just drawn back from GL.
    struct Camera {
        bool (*save)(const std::string& path, int width, int height);
        void (*setRasterising)(bool on);
    };
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
    bool readHeader(const std::string& bytes, size_t& at, const std::string& contentDigest);
    bool readBlocks(const std::string& bytes, size_t at);
    bool readPayload(const std::string& payload, bool last);
    void diverge(unsigned long frame, const std::string& what);
    void stopGame();
    void shoot();

    DemoRecorder::Snapshot snapshot;
    PlayTap* echo = nullptr;
    std::string openFailure;
    std::vector<DemoFormat::Frame> frames;
    std::map<unsigned long, Checkpoint> checkpoints; // by the frame they follow
    bool ended = false;                              // the file has its end record
    unsigned long current = 0;
    size_t nextTick = 0;
    size_t nextEventIndex = 0;
    unsigned int parsedTick = 0; // the delta coding's running value while reading
    unsigned int lastTick = 0;
    bool interrupted = false;
    bool stopping = false;
    std::string divergence;
    std::vector<std::string> sounds;
    std::string shotFolder;
    int shotWidth = 0;
    int shotHeight = 0;
    bool rasteriseOnlyShots = false;
    Camera camera{};
};
