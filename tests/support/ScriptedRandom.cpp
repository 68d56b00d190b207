#include "support/ScriptedRandom.h"

#include "app/GameClock.h"
#include "app/GameRandom.h"

#include <gtest/gtest.h>

namespace {

std::deque<int> script;
unsigned int clockNow = 0;

} // namespace

ScriptedRandom::ScriptedRandom() {
    script.clear();
    GameRandom::setSource(next);
}

ScriptedRandom::~ScriptedRandom() {
    GameRandom::setSource(nullptr);
}

void ScriptedRandom::push(std::initializer_list<int> values) {
    // A script may only say what the real generator can.
    for (int value : values)
        EXPECT_TRUE(value >= 0 && value <= GameRandom::max) << value << " is out of range";
    script.insert(script.end(), values.begin(), values.end());
}

bool ScriptedRandom::exhausted() const {
    return script.empty();
}

int ScriptedRandom::next() {
    if (script.empty())
        return 0;
    const int value = script.front();
    script.pop_front();
    return value;
}

ScriptedClock::ScriptedClock(unsigned int start) {
    clockNow = start;
    GameClock::setSource(now);
}

ScriptedClock::~ScriptedClock() {
    GameClock::setSource(nullptr);
}

void ScriptedClock::set(unsigned int value) {
    clockNow = value;
}

void ScriptedClock::advance(unsigned int ms) {
    clockNow += ms;
}

unsigned int ScriptedClock::now() {
    return clockNow;
}
