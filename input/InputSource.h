#pragma once

#include <SDL/SDL.h>

#include <functional>

// The one place the screens take input from: SDL's queue, or a recorded play.
// Only the kinds of event the game reacts to come out; the rest are dropped.
// F11 and Alt+Enter switch between full screen and a window here, on every
// screen, and never reach a screen or a recording.
class InputSource {
public:
    static bool poll(SDL_Event& event);
    // What the window owner does: switch between full screen and a window
    // (told the key that asked), and say whether a new window is still
    // settling. Unset, neither happens.
    using Switcher = std::function<void(const SDL_keysym& key)>;
    using Settling = std::function<bool()>;
    static void setWindow(Switcher switcher, Settling settling);
    static bool reactsTo(const SDL_Event& event);
    // Alt+Enter (Return or the keypad's Enter) or F11, pressed.
    static bool switchesWindow(const SDL_Event& event);

private:
    // False for events the game drops after a look: the window switch, other
    // joysticks, focus changes while a new window settles.
    static bool take(SDL_Event& event);

    static inline Switcher switcher;
    static inline Settling settling;
};
