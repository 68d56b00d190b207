#include "settings/Bindings.h"

#include <strings.h>

#include <cstdlib>

#include "input/GamePad.h"

namespace {

const char* const kActionNames[] = {"Left", "Right", "Jump", "Spray", "Pause"};
const int kPause = static_cast<int>(Action::Pause);

int index(Action action) {
    return static_cast<int>(action);
}

// Two keys one press could match: by place when both know theirs, else by symbol.
bool sameKey(const BoundKey& a, const BoundKey& b) {
    if (a.empty() || b.empty())
        return false;
    return a.position && b.position ? a.position == b.position : a.sym == b.sym;
}

bool isNone(const std::string& text) {
    return text.empty() || strcasecmp(text.c_str(), "none") == 0;
}

} // namespace

bool BoundKey::matches(const SDL_keysym& pressed) const {
    return sameKey(*this, of(pressed));
}

bool BoundKey::operator==(const BoundKey& other) const {
    return sym == other.sym && position == other.position;
}

BoundKey BoundKey::of(const SDL_keysym& pressed) {
    return {pressed.sym, pressed.scancode};
}

std::string BoundKey::text() const {
    if (empty())
        return "";
    std::string name = SDL_GetKeyName(sym);
    return position ? name + "@" + std::to_string(position) : name;
}

bool BoundKey::parse(const std::string& text, BoundKey& key) {
    if (isNone(text)) {
        key = BoundKey();
        return true;
    }
    std::string name = text;
    int position = 0;
    const size_t at = text.rfind('@');
    if (at != std::string::npos && at > 0 && at + 1 < text.size() && at + 4 >= text.size() &&
        text.find_first_not_of("0123456789", at + 1) == std::string::npos) {
        position = std::atoi(text.c_str() + at + 1);
        name = text.substr(0, at);
        if (position > 255)
            return false;
    }
    for (int sym = 1; sym < SDLK_LAST; ++sym)
        if (strcasecmp(SDL_GetKeyName(static_cast<SDLKey>(sym)), name.c_str()) == 0 &&
            name != "unknown key") {
            key = {static_cast<SDLKey>(sym), position};
            return true;
        }
    return false;
}

Bindings::Bindings()
    : keys{{{SDLK_LEFT, 0}, {}},
           {{SDLK_RIGHT, 0}, {}},
           {{SDLK_LCTRL, 0}, {}},
           {{SDLK_SPACE, 0}, {}},
           {{SDLK_p, 0}, {}}},
      buttons{GamePad::kDpadLeft, GamePad::kDpadRight, GamePad::kJumpButton, GamePad::kSprayButton,
              GamePad::kStartButton} {}

const BoundKey& Bindings::key(Action action, int slot) const {
    return keys[index(action)][slot];
}

int Bindings::button(Action action) const {
    return buttons[index(action)];
}

bool Bindings::operator==(const Bindings& other) const {
    for (int a = 0; a < kActionCount; ++a) {
        if (buttons[a] != other.buttons[a])
            return false;
        for (int slot = 0; slot < kKeysPerAction; ++slot)
            if (!(keys[a][slot] == other.keys[a][slot]))
                return false;
    }
    return true;
}

bool Bindings::actionOfKey(const SDL_keysym& pressed, Action& action) const {
    for (int a = 0; a < kActionCount; ++a)
        for (const BoundKey& bound : keys[a])
            if (bound.matches(pressed)) {
                action = static_cast<Action>(a);
                return true;
            }
    return false;
}

bool Bindings::actionOfButton(int number, Action& action) const {
    for (int a = 0; a < kActionCount; ++a)
        if (number != kNoButton && buttons[a] == number) {
            action = static_cast<Action>(a);
            return true;
        }
    return false;
}

bool Bindings::leavesPauseEmpty(Action losing, int keySlot, bool losesButton) const {
    if (losing != Action::Pause)
        return false;
    for (int slot = 0; slot < kKeysPerAction; ++slot)
        if (slot != keySlot && !keys[kPause][slot].empty())
            return false;
    return losesButton || buttons[kPause] == kNoButton;
}

Bindings::Change Bindings::bindKey(Action action, int slot, const SDL_keysym& pressed) {
    if (isFixedKey(pressed))
        return Change::Fixed;
    const BoundKey bound = BoundKey::of(pressed);
    if (keys[index(action)][slot] == bound)
        return Change::Unchanged;
    // The key leaves wherever else it was bound: one key, one action.
    int fromAction = -1, fromSlot = -1;
    for (int a = 0; a < kActionCount; ++a)
        for (int s = 0; s < kKeysPerAction; ++s)
            if ((a != index(action) || s != slot) && sameKey(keys[a][s], bound)) {
                fromAction = a;
                fromSlot = s;
            }
    if (fromAction >= 0 && fromAction != index(action) &&
        leavesPauseEmpty(static_cast<Action>(fromAction), fromSlot, false))
        return Change::LastPause;
    if (fromAction >= 0)
        keys[fromAction][fromSlot] = BoundKey();
    keys[index(action)][slot] = bound;
    if (fromAction < 0 || fromAction == index(action))
        return Change::Bound;
    movedFrom = static_cast<Action>(fromAction);
    return Change::Moved;
}

Bindings::Change Bindings::bindButton(Action action, int number) {
    if (isFixedButton(number))
        return Change::Fixed;
    if (buttons[index(action)] == number)
        return Change::Unchanged;
    Action taken = action;
    const bool bound = actionOfButton(number, taken);
    if (bound && leavesPauseEmpty(taken, -1, true))
        return Change::LastPause;
    if (bound)
        buttons[index(taken)] = kNoButton;
    buttons[index(action)] = number;
    movedFrom = taken;
    return bound ? Change::Moved : Change::Bound;
}

Bindings::Change Bindings::clearKey(Action action, int slot) {
    if (keys[index(action)][slot].empty())
        return Change::Unchanged;
    if (leavesPauseEmpty(action, slot, false))
        return Change::LastPause;
    keys[index(action)][slot] = BoundKey();
    return Change::Bound;
}

Bindings::Change Bindings::clearButton(Action action) {
    if (buttons[index(action)] == kNoButton)
        return Change::Unchanged;
    if (leavesPauseEmpty(action, -1, true))
        return Change::LastPause;
    buttons[index(action)] = kNoButton;
    return Change::Bound;
}

bool Bindings::isFixedKey(const SDL_keysym& pressed) {
    const bool enter = pressed.sym == SDLK_RETURN || pressed.sym == SDLK_KP_ENTER;
    return pressed.sym == SDLK_ESCAPE || pressed.sym == SDLK_F11 ||
           (enter && (pressed.mod & KMOD_ALT));
}

bool Bindings::isFixedButton(int number) {
    return number == GamePad::kBackButton;
}

const char* Bindings::name(Action action) {
    return kActionNames[index(action)];
}

bool Bindings::setKey(Action action, int slot, const std::string& text) {
    BoundKey bound;
    if (!BoundKey::parse(text, bound))
        return false;
    SDL_keysym pressed{};
    pressed.sym = bound.sym;
    if (!bound.empty() && isFixedKey(pressed))
        return false;
    keys[index(action)][slot] = bound;
    return true;
}

bool Bindings::setButton(Action action, const std::string& text) {
    if (isNone(text)) {
        buttons[index(action)] = kNoButton;
        return true;
    }
    for (int number = 0; number < GamePad::kButtonCount; ++number)
        if (strcasecmp(GamePad::buttonName(number), text.c_str()) == 0 && !isFixedButton(number)) {
            buttons[index(action)] = number;
            return true;
        }
    return false;
}
