#pragma once

// The game's millisecond tick count: SDL's counter, unless a test has put
// its own clock in place.
class GameClock {
public:
    using Source = unsigned int (*)();

    static unsigned int now();
    // Null puts SDL's counter back.
    static void setSource(Source source);

private:
    static Source source;
};
