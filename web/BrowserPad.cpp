#include "web/BrowserPad.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include <SDL/SDL_events.h>

#include "web/BrowserEvents.h"

// SDL 1.2 leaves the handle's insides to its implementation: there is one pad.
struct _SDL_Joystick {
    // cppcheck-suppress unusedStructMember ; only the handle's address is compared
    int index;
};

namespace {

_SDL_Joystick theStick{0};

// The standard layout's buttons (A, B, X, Y, LB, RB, LT, RT, Back, Start,
// stick clicks, D-pad up, down, left, right, Guide) in the game's layout;
// -1 for the triggers, which SDL 2's controllers give as axes.
const int kStandardToLayout[] = {0, 1, 2, 3, 9, 10, -1, -1, 4, 6, 7, 8, 11, 12, 13, 14, 5};

bool suits(const EmscriptenGamepadEvent& pad) {
    return pad.connected && pad.numButtons >= 2 && std::strcmp(pad.mapping, "standard") == 0;
}

bool suits(int index) {
    EmscriptenGamepadEvent pad{};
    return emscripten_get_gamepad_status(index, &pad) == EMSCRIPTEN_RESULT_SUCCESS && suits(pad);
}

// The browser's -1..1 to SDL's whole range.
Sint16 scaled(double value) {
    const double full = value < 0 ? 32768.0 : 32767.0;
    return static_cast<Sint16>(std::lround(std::fmax(-32768.0, std::fmin(32767.0, value * full))));
}

} // namespace

void BrowserPad::start() {
    started = true;
}

void BrowserPad::stop() {
    releaseAll();
    started = false;
    opened = false;
    padIndex = -1;
}

int BrowserPad::count() {
    return started && find() >= 0 ? 1 : 0;
}

SDL_Joystick* BrowserPad::open(int index) {
    if (index != 0 || count() == 0)
        return nullptr;
    opened = true;
    return &theStick;
}

void BrowserPad::close(const SDL_Joystick* stick) {
    if (stick == &theStick)
        opened = false;
}

bool BrowserPad::isOpen(const SDL_Joystick* stick) {
    return opened && stick == &theStick;
}

int BrowserPad::eventState(int state) {
    if (state == SDL_ENABLE || state == SDL_IGNORE)
        eventsOn = state == SDL_ENABLE;
    return eventsOn ? SDL_ENABLE : SDL_IGNORE;
}

void BrowserPad::update() {
    if (!started || !eventsOn)
        return;
    const int index = find();
    if (index != padIndex) {
        releaseAll(); // a pad gone lets go of what it held
        padIndex = index;
    }
    EmscriptenGamepadEvent pad{};
    if (padIndex < 0 || emscripten_get_gamepad_status(padIndex, &pad) != EMSCRIPTEN_RESULT_SUCCESS)
        return;
    const int buttons = std::min(pad.numButtons, static_cast<int>(std::size(kStandardToLayout)));
    for (int b = 0; b < buttons; ++b) {
        const int layout = kStandardToLayout[b];
        if (layout >= 0 && pressed[layout] != static_cast<bool>(pad.digitalButton[b]))
            button(layout, pad.digitalButton[b]);
    }
    for (int a = 0; a < 2 && a < pad.numAxes; ++a)
        axis(a, scaled(pad.axis[a]));
}

// The pad shown so far while it stays, else the first that suits.
int BrowserPad::find() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS)
        return -1;
    if (padIndex >= 0 && suits(padIndex))
        return padIndex;
    const int pads = emscripten_get_num_gamepads();
    for (int i = 0; i < pads; ++i)
        if (suits(i))
            return i;
    return -1;
}

void BrowserPad::button(int button, bool down) {
    pressed[button] = down;
    SDL_Event event{};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.type = event.type;
    event.jbutton.which = 0;
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    BrowserEvents::push(event);
}

void BrowserPad::axis(int axis, Sint16 value) {
    if (axes[axis] == value)
        return;
    axes[axis] = value;
    SDL_Event event{};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.type = SDL_JOYAXISMOTION;
    event.jaxis.which = 0;
    event.jaxis.axis = static_cast<Uint8>(axis);
    event.jaxis.value = value;
    BrowserEvents::push(event);
}

void BrowserPad::releaseAll() {
    for (int b = 0; b < kButtons; ++b)
        if (pressed[b])
            button(b, false);
    axis(0, 0);
    axis(1, 0);
}
