#pragma once

#include <SDL/SDL.h>

#include <vector>

// The first joystick with at least two buttons, and what its events mean.
// Whatever the pad, its events reach the game (and recorded plays) in one
// layout, SDL 2's game controller numbering: button 0 is the bottom face
// button, 2 the left one, 4 Back, 6 Start, 11 to 14 the D-pad (up, down,
// left, right); axes 0 and 1 are the left stick; hat 0 is a D-pad.
class GamePad {
public:
    enum Control { Left, Right, Up, Down, Jump, Spray, Start, Back, OtherButton };
    // button: the layout's number for what was pressed; a direction from the
    // stick or a hat comes as the D-pad's button for it, so a binding of the
    // D-pad follows the stick too.
    struct Press {
        Control control;
        bool down;
        int button;
    };

    static constexpr int kJumpButton = 0, kSprayButton = 2, kBackButton = 4, kStartButton = 6;
    static constexpr int kDpadUp = 11, kDpadDown = 12, kDpadLeft = 13, kDpadRight = 14;
    static constexpr int kBButton = 1, kYButton = 3, kButtonCount = 15;
    // The button's name on the pad ("A", "LB", "D-pad left"); "" for none.
    static const char* buttonName(int button);
    // The stick walks from 30% of its throw and stops under 24% (XInput's
    // dead zone, wider than a worn stick's rest). The gap keeps a stick held
    // near the edge from chattering, each release restarting the walk.
    static constexpr int kStickPress = 10000, kStickRelease = 7849;

    // Opens the pad at start; false when there is none.
    static bool open();
    static bool isPadEvent(const SDL_Event& event);
    // Brings an event of the open pad to the one layout; false for what the
    // game never uses (other joysticks, other axes and hats, a raw pad's
    // buttons its layout does not name).
    static bool normalize(SDL_Event& event);
    // What a pad event does, in order: a D-pad swung from left to right
    // releases Left, then presses Right.
    static std::vector<Press> translate(const SDL_Event& event);
    // Forgets the directions held (tests).
    static void forget();

private:
    enum Source { Hat, Buttons, Stick };
    static unsigned int directions();

    static inline SDL_Joystick* pad = nullptr;
    static inline bool rawLayout = false;
    static inline unsigned int held[3] = {0, 0, 0}; // direction bits by source
};
