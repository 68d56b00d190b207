#pragma once

// The game's millisecond tick count and its wait: SDL's, unless a test has
// put its own in place.
class GameClock {
public:
    using Source = unsigned int (*)();
    using Sleeper = void (*)(unsigned int ms);

    // The game's time: every reading passes through the play tap, if any.
    static unsigned int now();
    // The machine's time, for pacing frames; never recorded.
    static unsigned int realNow();
    static void sleep(unsigned int ms);
    // The level's pause: while held, now() stands still; released, it runs on
    // from where it stood, so every timer waits out the pause. Both read the
    // clock through the tap, so a pause in a recorded play replays exactly.
    static void hold();
    static void release();
    static bool isHeld() { return held; }
    // Null puts SDL's counter (or SDL_Delay) back.
    static void setSource(Source source);
    static void setSleeper(Sleeper sleeper);

private:
    static unsigned int reading();

    static Source source;
    static Sleeper sleeper;
    static inline bool held = false;
    static inline unsigned int heldAt = 0;
    static inline unsigned int heldFor = 0; // all pauses so far
};
