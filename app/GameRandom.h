#pragma once

#include <cstdint>

// The one random generator of the game: glibc's rand() sequence, scaled to
// 0..32767 because every formula built on it assumes that range, unless a
// test has put its own sequence in place. The sequence is computed here, not
// taken from the C library, so a play recorded on one C library replays on
// another (the browser's has its own rand()).
class GameRandom {
public:
    using Source = int (*)();
    static constexpr int max = 32767;
    // glibc's RAND_MAX.
    static constexpr long long rawMax = 2147483647;

    static int next();
    static void seed(unsigned int value);
    // The unscaled value, as glibc's rand() after srand() gives it.
    static int raw();
    // Null puts the generator back. A source must stay within 0..max.
    static void setSource(Source source);

private:
    static Source source;
    // glibc's additive feedback generator: 31 words, taps 3 apart.
    static constexpr int kDegree = 31, kSeparation = 3;
    static std::int32_t state[kDegree];
    static int front, rear;
};
