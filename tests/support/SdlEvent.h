#pragma once

#include <SDL/SDL.h>

// An event as SDL gives it: index the axis, hat, button or gain; value key, position or state.
inline SDL_Event sdlEvent(Uint8 type, Uint8 index, int value = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        event.key.keysym.sym = static_cast<SDLKey>(value);
    } else if (type == SDL_JOYAXISMOTION) {
        event.jaxis.axis = index;
        event.jaxis.value = static_cast<Sint16>(value);
    } else if (type == SDL_JOYHATMOTION) {
        event.jhat.hat = index;
        event.jhat.value = static_cast<Uint8>(value);
    } else if (type == SDL_ACTIVEEVENT) {
        event.active.gain = index;
        event.active.state = static_cast<Uint8>(value);
    } else {
        event.jbutton.button = index;
        event.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    }
    return event;
}

inline void pushEvent(SDL_Event event) {
    SDL_PushEvent(&event);
}
