#pragma once

#include <SDL/SDL_events.h>
#include <emscripten/html5.h>

#include <deque>
#include <vector>

// SDL 1.2's event queue, filled from the page's events as the desktop game
// would get them: keys without repeats, a focus lost as the held keys let go
// and then SDL_ACTIVEEVENT, the pad's changes at each poll.
class BrowserEvents {
public:
    // Listens to the page; once is enough.
    static void install();
    // The oldest event, after the pad's latest changes; false when none.
    static bool poll(SDL_Event* event);
    static void push(const SDL_Event& event);
    static void clear();

private:
    static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* key, void* data);
    static EM_BOOL onFocus(int type, const EmscriptenFocusEvent* focus, void* data);
    static EM_BOOL onVisibility(int type, const EmscriptenVisibilityChangeEvent* change,
                                void* data);
    static void pushKey(Uint8 type, const SDL_keysym& keysym);
    static void releaseAll();
    static void active(Uint8 gain, Uint8 state);
    static bool isHeld(const SDL_keysym& keysym);

    static inline bool installed = false;
    static std::deque<SDL_Event> queue;
    static std::vector<SDL_keysym> held;
    static inline int modifiers = KMOD_NONE;
    static inline Uint8 appState = SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE;
};
