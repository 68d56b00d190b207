#pragma once

#include <vector>

#include "app/GameClock.h"

// The game's clock for a test: time moves when the test advances it or the game waits.
struct ScriptedClock {
    explicit ScriptedClock(unsigned int start = 1000) {
        clock = start;
        oversleep = 0;
        waits.clear();
        GameClock::setSource(now);
        GameClock::setSleeper([](unsigned int ms) {
            waits.push_back(ms);
            clock += ms + oversleep; // a real wait may last longer than asked
        });
    }
    ~ScriptedClock() {
        GameClock::setSource(nullptr);
        GameClock::setSleeper(nullptr);
    }
    static void advance(unsigned int ms) { clock += ms; }
    static unsigned int now() { return clock; }
    static inline unsigned int clock = 0, oversleep = 0;
    static inline std::vector<unsigned int> waits;
};
