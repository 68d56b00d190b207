#pragma once

#include <deque>

// Feeds the game's random generator a scripted sequence (then zeros) for the
// length of a test.
class ScriptedRandom {
public:
    ScriptedRandom();
    ~ScriptedRandom();
    void push(std::initializer_list<int> values);
    bool exhausted() const;

private:
    static int next();
};
