#pragma once

#include <deque>
#include <gtest/gtest.h>

#include "app/GameRandom.h"

// Feeds the game's random generator a scripted sequence (then zeros) for the length of a test.
struct ScriptedRandom {
    ScriptedRandom() {
        script.clear();
        GameRandom::setSource([] {
            const int value = script.empty() ? 0 : script.front();
            if (!script.empty())
                script.pop_front();
            return value;
        });
    }
    ~ScriptedRandom() { GameRandom::setSource(nullptr); }
    void push(std::initializer_list<int> values) {
        for (int value : values) // only what the real generator can give
            EXPECT_TRUE(value >= 0 && value <= GameRandom::max) << value;
        script.insert(script.end(), values.begin(), values.end());
    }
    static inline std::deque<int> script;
};
