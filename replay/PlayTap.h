#pragma once

#include <SDL/SDL.h>

#include <string>

// Where a recorded play meets the game: every clock reading, every input
// event, every sound start and every frame's end passes through the one tap
// in place, which records them or gives back recorded ones.
class PlayTap {
public:
    PlayTap() = default;
    PlayTap(const PlayTap&) = delete;
    PlayTap& operator=(const PlayTap&) = delete;
    virtual ~PlayTap() = default;

    // True when inputs come from the tap instead of SDL's queue.
    virtual bool replaying() const = 0;
    // The reading the game sees, given the real one.
    virtual unsigned int tick(unsigned int real) = 0;
    // Replaying: the next recorded event of this frame, false when none is left.
    virtual bool nextEvent(SDL_Event& event) = 0;
    // Live: an event the game took from SDL's queue.
    virtual void eventTaken(const SDL_Event& event) = 0;
    virtual void soundStarted(const std::string& fileName) = 0;
    // False when the game should end after this frame (a replay at its end).
    virtual bool frameEnded() = 0;

    static PlayTap* current() { return installed; }
    // Null takes the tap out.
    static void install(PlayTap* tap) { installed = tap; }

private:
    inline static PlayTap* installed = nullptr;
};
