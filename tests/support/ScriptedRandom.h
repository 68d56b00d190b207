#pragma once

#include <deque>

// Feeds the game's random generator a scripted sequence (then zeros), and
// its clock a settable time, for the length of a test.
class ScriptedRandom {
public:
    ScriptedRandom();
    ~ScriptedRandom();
    void push(std::initializer_list<int> values);
    bool exhausted() const;

private:
    static int next();
};

class ScriptedClock {
public:
    explicit ScriptedClock(unsigned int start = 1000);
    ~ScriptedClock();
    static void set(unsigned int now);
    static void advance(unsigned int ms);
    static unsigned int now();
};
