#include "app/GameClock.h"

#include <SDL/SDL.h>

GameClock::Source GameClock::source = nullptr;
GameClock::Sleeper GameClock::sleeper = nullptr;

unsigned int GameClock::now() {
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
