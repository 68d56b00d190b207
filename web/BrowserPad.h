#pragma once

#include <SDL/SDL_joystick.h>

// The first pad the browser maps in its standard layout (Gamepad API), shown
// as SDL joystick 0 whose buttons are already numbered as SDL 2's game
// controllers number them, the layout the game's events use: the game takes
// it as sdl12-compat's controller path. Axes 0 and 1 are the left stick; no
// hats. A browser shows a pad only once one of its buttons is pressed, so its
// events come whether or not the game found it at start.
class BrowserPad {
public:
    static constexpr int kButtons = 15;

    static void start();
    static void stop();
    // 1 with such a pad, else 0.
    static int count();
    static SDL_Joystick* open(int index);
    static void close(const SDL_Joystick* stick);
    static bool isOpen(const SDL_Joystick* stick);
    // SDL_QUERY answers; SDL_ENABLE and SDL_IGNORE set.
    static int eventState(int state);
    // Queues the pad's changes since the last look.
    static void update();

private:
    static int find();
    static void button(int button, bool down);
    static void axis(int axis, Sint16 value);
    static void releaseAll();

    static inline bool started = false;
    static inline bool eventsOn = true;
    static inline bool opened = false;
    static inline int padIndex = -1; // the browser's index of the pad shown
    static inline bool pressed[kButtons] = {};
    static inline Sint16 axes[2] = {};
};
