#pragma once

// The one random generator of the game: the C library's rand(), scaled to
// 0..32767 because every formula built on it assumes that range, unless a
// test has put its own sequence in place.
class GameRandom {
public:
    using Source = int (*)();
    static constexpr int max = 32767;

    static int next();
    static void seed(unsigned int value);
    // Null puts rand() back. A source must stay within 0..max.
    static void setSource(Source source);

private:
    static Source source;
};
