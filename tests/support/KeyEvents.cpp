#include "support/KeyEvents.h"

#include <cstring>

namespace KeyEvents {

void push(Uint8 type, SDLKey key) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

void drain() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

} // namespace KeyEvents
