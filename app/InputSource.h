#pragma once

#include <SDL/SDL.h>

// The one place the screens take input from: SDL's queue, or a recorded play.
// Only the kinds of event the game reacts to come out; the rest are dropped.
class InputSource {
public:
    static bool poll(SDL_Event& event);
    static bool reactsTo(const SDL_Event& event);
};
