#pragma once

#include <SDL/SDL.h>
#include <cstring>

// Input as the screens read it: events on SDL's queue.
namespace KeyEvents {

inline void push(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

inline void drain() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

} // namespace KeyEvents
