#include "web/BrowserKeyboard.h"

#include <array>
#include <cstring>
#include <string>

namespace {

struct Place {
    const char* code;
    SDLKey sym;
    Uint8 scancode;
};

// What sdl12-compat 1.2.60 to 1.2.68 gives under X11 for each key: the X
// keycode as scancode, except 0 for the keys its table leaves out (arrows,
// the block above them, the right Ctrl and Alt, the keypad's Enter, Divide
// and Equals, Pause, F13 to F15). Keys it gives no symbol (the menu key) are
// not here: an event for them would be "unknown key" and mean nothing.
const Place kPlaces[] = {
    {"Escape", SDLK_ESCAPE, 9},
    {"Digit1", SDLK_1, 10},
    {"Digit2", SDLK_2, 11},
    {"Digit3", SDLK_3, 12},
    {"Digit4", SDLK_4, 13},
    {"Digit5", SDLK_5, 14},
    {"Digit6", SDLK_6, 15},
    {"Digit7", SDLK_7, 16},
    {"Digit8", SDLK_8, 17},
    {"Digit9", SDLK_9, 18},
    {"Digit0", SDLK_0, 19},
    {"Minus", SDLK_MINUS, 20},
    {"Equal", SDLK_EQUALS, 21},
    {"Backspace", SDLK_BACKSPACE, 22},
    {"Tab", SDLK_TAB, 23},
    {"KeyQ", SDLK_q, 24},
    {"KeyW", SDLK_w, 25},
    {"KeyE", SDLK_e, 26},
    {"KeyR", SDLK_r, 27},
    {"KeyT", SDLK_t, 28},
    {"KeyY", SDLK_y, 29},
    {"KeyU", SDLK_u, 30},
    {"KeyI", SDLK_i, 31},
    {"KeyO", SDLK_o, 32},
    {"KeyP", SDLK_p, 33},
    {"BracketLeft", SDLK_LEFTBRACKET, 34},
    {"BracketRight", SDLK_RIGHTBRACKET, 35},
    {"Enter", SDLK_RETURN, 36},
    {"ControlLeft", SDLK_LCTRL, 37},
    {"KeyA", SDLK_a, 38},
    {"KeyS", SDLK_s, 39},
    {"KeyD", SDLK_d, 40},
    {"KeyF", SDLK_f, 41},
    {"KeyG", SDLK_g, 42},
    {"KeyH", SDLK_h, 43},
    {"KeyJ", SDLK_j, 44},
    {"KeyK", SDLK_k, 45},
    {"KeyL", SDLK_l, 46},
    {"Semicolon", SDLK_SEMICOLON, 47},
    {"Quote", SDLK_QUOTE, 48},
    {"Backquote", SDLK_BACKQUOTE, 49},
    {"ShiftLeft", SDLK_LSHIFT, 50},
    {"Backslash", SDLK_BACKSLASH, 51},
    {"KeyZ", SDLK_z, 52},
    {"KeyX", SDLK_x, 53},
    {"KeyC", SDLK_c, 54},
    {"KeyV", SDLK_v, 55},
    {"KeyB", SDLK_b, 56},
    {"KeyN", SDLK_n, 57},
    {"KeyM", SDLK_m, 58},
    {"Comma", SDLK_COMMA, 59},
    {"Period", SDLK_PERIOD, 60},
    {"Slash", SDLK_SLASH, 61},
    {"ShiftRight", SDLK_RSHIFT, 62},
    {"NumpadMultiply", SDLK_KP_MULTIPLY, 63},
    {"AltLeft", SDLK_LALT, 64},
    {"Space", SDLK_SPACE, 65},
    {"CapsLock", SDLK_CAPSLOCK, 66},
    {"F1", SDLK_F1, 67},
    {"F2", SDLK_F2, 68},
    {"F3", SDLK_F3, 69},
    {"F4", SDLK_F4, 70},
    {"F5", SDLK_F5, 71},
    {"F6", SDLK_F6, 72},
    {"F7", SDLK_F7, 73},
    {"F8", SDLK_F8, 74},
    {"F9", SDLK_F9, 75},
    {"F10", SDLK_F10, 76},
    {"NumLock", SDLK_NUMLOCK, 77},
    {"ScrollLock", SDLK_SCROLLOCK, 78},
    {"Numpad7", SDLK_KP7, 79},
    {"Numpad8", SDLK_KP8, 80},
    {"Numpad9", SDLK_KP9, 81},
    {"NumpadSubtract", SDLK_KP_MINUS, 82},
    {"Numpad4", SDLK_KP4, 83},
    {"Numpad5", SDLK_KP5, 84},
    {"Numpad6", SDLK_KP6, 85},
    {"NumpadAdd", SDLK_KP_PLUS, 86},
    {"Numpad1", SDLK_KP1, 87},
    {"Numpad2", SDLK_KP2, 88},
    {"Numpad3", SDLK_KP3, 89},
    {"Numpad0", SDLK_KP0, 90},
    {"NumpadDecimal", SDLK_KP_PERIOD, 91},
    {"IntlBackslash", SDLK_LESS, 94},
    {"F11", SDLK_F11, 95},
    {"F12", SDLK_F12, 96},
    {"NumpadEnter", SDLK_KP_ENTER, 0},
    {"ControlRight", SDLK_RCTRL, 0},
    {"NumpadDivide", SDLK_KP_DIVIDE, 0},
    {"PrintScreen", SDLK_PRINT, 107},
    {"AltRight", SDLK_RALT, 0},
    {"Home", SDLK_HOME, 0},
    {"ArrowUp", SDLK_UP, 0},
    {"PageUp", SDLK_PAGEUP, 0},
    {"ArrowLeft", SDLK_LEFT, 0},
    {"ArrowRight", SDLK_RIGHT, 0},
    {"End", SDLK_END, 0},
    {"ArrowDown", SDLK_DOWN, 0},
    {"PageDown", SDLK_PAGEDOWN, 0},
    {"Insert", SDLK_INSERT, 0},
    {"Delete", SDLK_DELETE, 0},
    {"Power", SDLK_POWER, 0},
    {"NumpadEqual", SDLK_KP_EQUALS, 0},
    {"Pause", SDLK_PAUSE, 0},
    {"MetaLeft", SDLK_LMETA, 133},
    {"MetaRight", SDLK_RMETA, 134},
    {"Undo", SDLK_UNDO, 0},
    {"F13", SDLK_F13, 0},
    {"F14", SDLK_F14, 0},
    {"F15", SDLK_F15, 0},
    // Older browsers' names for the Meta keys.
    {"OSLeft", SDLK_LMETA, 133},
    {"OSRight", SDLK_RMETA, 134},
};

struct Named {
    SDLKey sym;
    const char* name;
};

// sdl12-compat's names where they are not the symbol's own character
// (its name for the semicolon included).
const Named kNames[] = {
    {SDLK_BACKSPACE, "backspace"},
    {SDLK_TAB, "tab"},
    {SDLK_CLEAR, "clear"},
    {SDLK_RETURN, "return"},
    {SDLK_PAUSE, "pause"},
    {SDLK_ESCAPE, "escape"},
    {SDLK_SPACE, "space"},
    {SDLK_SEMICOLON, ");"},
    {SDLK_DELETE, "delete"},
    {SDLK_KP0, "[0]"},
    {SDLK_KP1, "[1]"},
    {SDLK_KP2, "[2]"},
    {SDLK_KP3, "[3]"},
    {SDLK_KP4, "[4]"},
    {SDLK_KP5, "[5]"},
    {SDLK_KP6, "[6]"},
    {SDLK_KP7, "[7]"},
    {SDLK_KP8, "[8]"},
    {SDLK_KP9, "[9]"},
    {SDLK_KP_PERIOD, "[.]"},
    {SDLK_KP_DIVIDE, "[/]"},
    {SDLK_KP_MULTIPLY, "[*]"},
    {SDLK_KP_MINUS, "[-]"},
    {SDLK_KP_PLUS, "[+]"},
    {SDLK_KP_ENTER, "enter"},
    {SDLK_KP_EQUALS, "equals"},
    {SDLK_UP, "up"},
    {SDLK_DOWN, "down"},
    {SDLK_RIGHT, "right"},
    {SDLK_LEFT, "left"},
    {SDLK_INSERT, "insert"},
    {SDLK_HOME, "home"},
    {SDLK_END, "end"},
    {SDLK_PAGEUP, "page up"},
    {SDLK_PAGEDOWN, "page down"},
    {SDLK_F1, "f1"},
    {SDLK_F2, "f2"},
    {SDLK_F3, "f3"},
    {SDLK_F4, "f4"},
    {SDLK_F5, "f5"},
    {SDLK_F6, "f6"},
    {SDLK_F7, "f7"},
    {SDLK_F8, "f8"},
    {SDLK_F9, "f9"},
    {SDLK_F10, "f10"},
    {SDLK_F11, "f11"},
    {SDLK_F12, "f12"},
    {SDLK_F13, "f13"},
    {SDLK_F14, "f14"},
    {SDLK_F15, "f15"},
    {SDLK_NUMLOCK, "numlock"},
    {SDLK_CAPSLOCK, "caps lock"},
    {SDLK_SCROLLOCK, "scroll lock"},
    {SDLK_RSHIFT, "right shift"},
    {SDLK_LSHIFT, "left shift"},
    {SDLK_RCTRL, "right ctrl"},
    {SDLK_LCTRL, "left ctrl"},
    {SDLK_RALT, "right alt"},
    {SDLK_LALT, "left alt"},
    {SDLK_RMETA, "right meta"},
    {SDLK_LMETA, "left meta"},
    {SDLK_LSUPER, "left super"},
    {SDLK_RSUPER, "right super"},
    {SDLK_MODE, "alt gr"},
    {SDLK_COMPOSE, "compose"},
    {SDLK_HELP, "help"},
    {SDLK_PRINT, "print screen"},
    {SDLK_SYSREQ, "sys req"},
    {SDLK_BREAK, "break"},
    {SDLK_MENU, "menu"},
    {SDLK_POWER, "power"},
    {SDLK_EURO, "euro"},
    {SDLK_UNDO, "undo"},
};

// The printable symbols SDL 1.2 defines, each named by its character.
const char kCharacters[] = "!\"#$&'()*+,-./0123456789:<=>?@[\\]^_`abcdefghijklmnopqrstuvwxyz";

const std::array<std::string, SDLK_LAST>& names() {
    static const std::array<std::string, SDLK_LAST> table = [] {
        std::array<std::string, SDLK_LAST> made;
        made.fill("unknown key");
        for (const char* c = kCharacters; *c; ++c)
            made[static_cast<unsigned char>(*c)] = std::string(1, *c);
        for (int sym = SDLK_WORLD_0; sym <= SDLK_WORLD_95; ++sym)
            made[sym] = "world " + std::to_string(sym - SDLK_WORLD_0);
        for (const Named& named : kNames)
            made[named.sym] = named.name;
        return made;
    }();
    return table;
}

} // namespace

bool BrowserKeyboard::lookUp(const char* code, SDL_keysym& keysym) {
    for (const Place& place : kPlaces)
        if (std::strcmp(place.code, code) == 0) {
            keysym.sym = place.sym;
            keysym.scancode = place.scancode;
            return true;
        }
    return false;
}

const char* BrowserKeyboard::name(int sym) {
    return sym >= 0 && sym < SDLK_LAST ? names()[sym].c_str() : "unknown key";
}

SDLMod BrowserKeyboard::modifierOf(SDLKey sym) {
    switch (sym) {
    case SDLK_LSHIFT:
        return KMOD_LSHIFT;
    case SDLK_RSHIFT:
        return KMOD_RSHIFT;
    case SDLK_LCTRL:
        return KMOD_LCTRL;
    case SDLK_RCTRL:
        return KMOD_RCTRL;
    case SDLK_LALT:
        return KMOD_LALT;
    case SDLK_RALT:
        return KMOD_RALT;
    case SDLK_LMETA:
        return KMOD_LMETA;
    case SDLK_RMETA:
        return KMOD_RMETA;
    default:
        return KMOD_NONE;
    }
}
