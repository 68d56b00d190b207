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
    // Null puts SDL's counter (or SDL_Delay) back.
    static void setSource(Source source);
    static void setSleeper(Sleeper sleeper);

private:
    static Source source;
    static Sleeper sleeper;
};
