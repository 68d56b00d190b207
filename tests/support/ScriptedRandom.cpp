#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include "app/GameRandom.h"

namespace {

std::deque<int> script;

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
