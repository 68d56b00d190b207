#pragma once

#include <SDL/SDL.h>

// Input as the screens read it: events on SDL's queue.
namespace KeyEvents {

void push(Uint8 type, SDLKey key = SDLK_UNKNOWN);
void drain();

} // namespace KeyEvents
