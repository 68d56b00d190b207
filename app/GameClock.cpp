#include "app/GameClock.h"

#include <SDL/SDL.h>

GameClock::Source GameClock::source = nullptr;

unsigned int GameClock::now() { return source ? source() : SDL_GetTicks(); }

void GameClock::setSource(Source value) { source = value; }
