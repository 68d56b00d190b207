#include "app/GameClock.h"

#include <SDL/SDL.h>

#include "replay/PlayTap.h"

GameClock::Source GameClock::source = nullptr;
GameClock::Sleeper GameClock::sleeper = nullptr;

unsigned int GameClock::reading() {
    PlayTap* tap = PlayTap::current();
    return tap ? tap->tick(realNow()) : realNow();
}

unsigned int GameClock::now() {
    const unsigned int value = reading();
    return (held ? heldAt : value) - heldFor;
}

void GameClock::hold() {
    if (held)
        return;
    heldAt = reading();
    held = true;
}

void GameClock::release() {
    if (!held)
        return;
    heldFor += reading() - heldAt;
    held = false;
}

unsigned int GameClock::realNow() {
    return source ? source() : SDL_GetTicks();
}

void GameClock::sleep(unsigned int ms) {
    if (sleeper)
        sleeper(ms);
    else
        SDL_Delay(ms);
}

void GameClock::setSource(Source value) {
    source = value;
}

void GameClock::setSleeper(Sleeper value) {
    sleeper = value;
}
