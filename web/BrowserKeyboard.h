#pragma once

#include <SDL/SDL_keyboard.h>

// The keys of a US keyboard as the desktop game sees them (SDL 1.2 through
// sdl12-compat under X11), found by the browser's key code: the key's place,
// whatever the player's layout. A play or a settings file from one then means
// the same keys on the other.
class BrowserKeyboard {
public:
    // sym and scancode of the key at that place; false for one not in the table.
    static bool lookUp(const char* code, SDL_keysym& keysym);
    // SDL 1.2's name, "unknown key" for a symbol it does not name.
    static const char* name(int sym);
    // The bit a modifier key holds in the modifier state; KMOD_NONE for others.
    static SDLMod modifierOf(SDLKey sym);
};
