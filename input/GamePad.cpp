#include "input/GamePad.h"

#include <cstddef>
#include <cstdlib>
#include <iterator>

namespace {

const unsigned int kLeft = 1, kRight = 2, kUp = 4, kDown = 8;
// By direction bit: left, right, up, down.
const int kDirectionButtons[] = {GamePad::kDpadLeft, GamePad::kDpadRight, GamePad::kDpadUp,
                                 GamePad::kDpadDown};
const char* const kButtonNames[GamePad::kButtonCount] = {
    "A",           "B",  "X",  "Y",        "Back",       "Guide",      "Start",      "Left stick",
    "Right stick", "LB", "RB", "D-pad up", "D-pad down", "D-pad left", "D-pad right"};
const char* const kControllerHint = "SDL12COMPAT_USE_GAME_CONTROLLERS";

// SDL's raw numbering of an Xbox 360 pad on Linux (A, B, X, Y, LB, RB, Back,
// Start, Guide, stick clicks), the order most pads without a mapping follow.
const int kRawToLayout[] = {0, 1, 2, 3, 9, 10, 4, 6, 5, 7, 8};
// A small raw pad (under eight buttons): its first two jump and spray.
const int kSmallRawToLayout[] = {GamePad::kJumpButton, GamePad::kSprayButton};

SDL_Joystick* firstWithTwoButtons() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        SDL_Joystick* stick = SDL_JoystickOpen(i);
        if (stick && SDL_JoystickNumButtons(stick) >= 2)
            return stick;
        if (stick)
            SDL_JoystickClose(stick);
    }
    return nullptr;
}

// One stick axis: a press beyond kStickPress, a release back under kStickRelease.
void stickAxis(unsigned int& bits, unsigned int negative, unsigned int positive, int value) {
    if (value <= -GamePad::kStickPress)
        bits = (bits & ~positive) | negative;
    else if (value >= GamePad::kStickPress)
        bits = (bits & ~negative) | positive;
    if (value > -GamePad::kStickRelease)
        bits &= ~negative;
    if (value < GamePad::kStickRelease)
        bits &= ~positive;
}

} // namespace

// Through sdl12-compat, SDL 2's controller database numbers every pad it
// knows the same way (and on Linux it maps any pad with the standard gamepad
// buttons itself). A pad it has no mapping for is not listed at all that
// way, so the raw joystick is looked at next. A player's own setting wins.
bool GamePad::open() {
    const bool ours = std::getenv(kControllerHint) == nullptr;
    if (ours)
        setenv(kControllerHint, "1", 1);
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    const SDL_version* linked = SDL_Linked_Version();
    const bool compat = linked && linked->patch >= 50; // sdl12-compat counts from 1.2.50
    pad = firstWithTwoButtons();
    const char* hint = std::getenv(kControllerHint);
    rawLayout = !compat || !hint || !std::atoi(hint);
    if (!pad && ours && compat) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        setenv(kControllerHint, "0", 1);
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        pad = firstWithTwoButtons();
        rawLayout = true;
    }
    if (ours)
        unsetenv(kControllerHint);
    if (pad)
        SDL_JoystickEventState(SDL_ENABLE);
    return pad != nullptr;
}

bool GamePad::isPadEvent(const SDL_Event& event) {
    return event.type == SDL_JOYAXISMOTION || event.type == SDL_JOYHATMOTION ||
           event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP;
}

bool GamePad::normalize(SDL_Event& event) {
    // Without an open pad the events are already in the layout (tests).
    if (pad && event.jbutton.which != SDL_JoystickIndex(pad))
        return false;
    event.jbutton.which = 0;
    if (event.type == SDL_JOYAXISMOTION)
        return event.jaxis.axis < 2;
    if (event.type == SDL_JOYHATMOTION)
        return event.jhat.hat == 0;
    if (!pad || !rawLayout)
        return true;
    // A raw button the layout does not name is dropped: passed on, it would
    // read as some button of the layout (11 to 14 walk).
    const bool small = SDL_JoystickNumButtons(pad) < 8;
    const std::size_t raw = event.jbutton.button;
    if (raw >= (small ? std::size(kSmallRawToLayout) : std::size(kRawToLayout)))
        return false;
    event.jbutton.button = static_cast<Uint8>(small ? kSmallRawToLayout[raw] : kRawToLayout[raw]);
    return true;
}

unsigned int GamePad::directions() {
    return held[Hat] | held[Buttons] | held[Stick];
}

std::vector<GamePad::Press> GamePad::translate(const SDL_Event& event) {
    std::vector<Press> presses;
    const unsigned int before = directions();
    if (event.type == SDL_JOYHATMOTION) {
        const Uint8 hat = event.jhat.value;
        held[Hat] = ((hat & SDL_HAT_LEFT) ? kLeft : 0) | ((hat & SDL_HAT_RIGHT) ? kRight : 0) |
                    ((hat & SDL_HAT_UP) ? kUp : 0) | ((hat & SDL_HAT_DOWN) ? kDown : 0);
    } else if (event.type == SDL_JOYAXISMOTION) {
        if (event.jaxis.axis == 0)
            stickAxis(held[Stick], kLeft, kRight, event.jaxis.value);
        else if (event.jaxis.axis == 1) // y grows downwards
            stickAxis(held[Stick], kUp, kDown, event.jaxis.value);
    } else if (event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP) {
        const bool down = event.type == SDL_JOYBUTTONDOWN;
        const int button = event.jbutton.button;
        if (button >= kDpadUp && button <= kDpadRight) {
            const unsigned int bit = 1u << (button == kDpadUp     ? 2
                                            : button == kDpadDown ? 3
                                            : button == kDpadLeft ? 0
                                                                  : 1);
            held[Buttons] = down ? held[Buttons] | bit : held[Buttons] & ~bit;
        } else {
            const Control control = button == kJumpButton    ? Jump
                                    : button == kSprayButton ? Spray
                                    : button == kStartButton ? Start
                                    : button == kBackButton  ? Back
                                                             : OtherButton;
            presses.push_back({control, down, button});
        }
    }
    // Releases first: a swing from one side to the other ends the one walk
    // before the other starts.
    const unsigned int after = directions();
    for (const bool down : {false, true})
        for (unsigned int bit = 0; bit < 4; ++bit)
            if ((before ^ after) & (1u << bit) && ((after >> bit) & 1u) == down)
                presses.push_back({static_cast<Control>(bit), down, kDirectionButtons[bit]});
    return presses;
}

void GamePad::forget() {
    held[Hat] = held[Buttons] = held[Stick] = 0;
}

const char* GamePad::buttonName(int button) {
    return button >= 0 && button < kButtonCount ? kButtonNames[button] : "";
}
