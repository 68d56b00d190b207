#pragma once

#include <deque>
#include <gtest/gtest.h>

#include "app/GameRandom.h"

// Feeds the game's random generator a scripted sequence (then zeros) for the length of a test.
class ScriptedRandom {
public:
    ScriptedRandom() {
        script.clear();
        GameRandom::setSource(next);
    }
    ~ScriptedRandom() { GameRandom::setSource(nullptr); }
    void push(std::initializer_list<int> values) {
        // A script may only say what the real generator can.
        for (int value : values)
            EXPECT_TRUE(value >= 0 && value <= GameRandom::max) << value << " is out of range";
        script.insert(script.end(), values.begin(), values.end());
    }

private:
    static int next() {
        const int value = script.empty() ? 0 : script.front();
        if (!script.empty())
            script.pop_front();
        return value;
    }
    static inline std::deque<int> script;
};
