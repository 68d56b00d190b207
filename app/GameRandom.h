#pragma once

// The one random generator of the game: the C library's rand(), unless a
// test has put its own sequence in place.
class GameRandom {
public:
    using Source = int (*)();

    static int next();
    static void seed(unsigned int value);
    // Null puts rand() back.
    static void setSource(Source source);

private:
    static Source source;
};
