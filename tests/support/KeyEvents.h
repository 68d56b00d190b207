#pragma once

#include <SDL/SDL.h>

// Input as the screens read it: events on SDL's queue.
namespace KeyEvents {

inline void push(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

} // namespace KeyEvents
