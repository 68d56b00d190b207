#include "support/ScriptedClock.h"

#include "app/GameClock.h"

namespace {

unsigned int clockNow = 0;
unsigned int oversleep = 0;
std::vector<unsigned int> waits;

} // namespace

ScriptedClock::ScriptedClock(unsigned int start) {
    clockNow = start;
    oversleep = 0;
    waits.clear();
    GameClock::setSource(now);
    GameClock::setSleeper(sleep);
}

ScriptedClock::~ScriptedClock() {
    GameClock::setSource(nullptr);
    GameClock::setSleeper(nullptr);
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

void ScriptedClock::setOversleep(unsigned int ms) {
    oversleep = ms;
}

const std::vector<unsigned int>& ScriptedClock::sleeps() {
    return waits;
}

void ScriptedClock::sleep(unsigned int ms) {
    waits.push_back(ms);
    clockNow += ms + oversleep;
}
