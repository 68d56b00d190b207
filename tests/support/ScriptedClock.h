#pragma once

#include <vector>

// The game's clock and its waits for the length of a test: time moves only
// when the test advances it or the game waits, and each wait is recorded.
class ScriptedClock {
public:
    explicit ScriptedClock(unsigned int start = 1000);
    ~ScriptedClock();
    static void set(unsigned int now);
    static void advance(unsigned int ms);
    static unsigned int now();
    // Every wait lasts this much longer than asked, as a real one may.
    static void setOversleep(unsigned int ms);
    static const std::vector<unsigned int>& sleeps();

private:
    static void sleep(unsigned int ms);
};
