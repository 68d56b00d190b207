#pragma once

#include <SDL/SDL.h>

#include <string>

// What the player does in the level, each bound to up to two keys and one
// pad button.
enum class Action { Left, Right, Jump, Spray, Pause };

// A key as the player pressed it. position is where it sits on the keyboard
// (SDL's scancode; 0 where SDL gives none, as for the arrows under X): a key
// bound with one is the key at that place whatever the layout calls it, so a
// binding survives a change of keyboard layout. Without one, the symbol.
struct BoundKey {
    SDLKey sym = SDLK_UNKNOWN;
    int position = 0;

    bool empty() const { return sym == SDLK_UNKNOWN && position == 0; }
    bool matches(const SDL_keysym& pressed) const;
    bool operator==(const BoundKey& other) const;
    // SDL's name for it, with "@position" when it has one: "z@52", "left ctrl".
    std::string text() const;
    // The reverse of text(); "" and "none" are no key. False for a name SDL does not know.
    static bool parse(const std::string& text, BoundKey& key);
    static BoundKey of(const SDL_keysym& pressed);
};

// The level's keys and pad buttons. The menus answer their own fixed keys,
// whatever is bound here, so no binding can lock the player out of them.
class Bindings {
public:
    static constexpr int kActionCount = 5;
    static constexpr int kKeysPerAction = 2;
    static constexpr int kNoButton = -1;

    // What a change did. Moved: the key or button left another action, which
    // from() names. Fixed: a key the game keeps for itself. LastPause: Pause
    // would be left with neither key nor button, and no way to reach the menus.
    enum class Change { Bound, Moved, Unchanged, Fixed, LastPause };

    Bindings(); // the game's own keys

    const BoundKey& key(Action action, int slot) const;
    int button(Action action) const;
    bool operator==(const Bindings& other) const;

    // Which action a key or a pad button (GamePad's layout number) does; false for none.
    bool actionOfKey(const SDL_keysym& pressed, Action& action) const;
    bool actionOfButton(int button, Action& action) const;

    Change bindKey(Action action, int slot, const SDL_keysym& pressed);
    Change bindButton(Action action, int button);
    Change clearKey(Action action, int slot);
    Change clearButton(Action action);
    // The action a key or button was taken from by the last Moved change.
    Action from() const { return movedFrom; }

    // Pause has neither key nor button: a file edited by hand can say so.
    bool pauseUnbound() const { return leavesPauseEmpty(Action::Pause, -1, false); }

    // Escape and the window switch (F11, Alt+Enter), and the pad's Back.
    static bool isFixedKey(const SDL_keysym& pressed);
    static bool isFixedButton(int button);
    static const char* name(Action action);

    // Read from the settings file's text; false for a value that names no
    // key or button, which then stays as it was.
    bool setKey(Action action, int slot, const std::string& text);
    bool setButton(Action action, const std::string& text);

private:
    bool leavesPauseEmpty(Action losing, int keySlot, bool losesButton) const;

    BoundKey keys[kActionCount][kKeysPerAction];
    int buttons[kActionCount];
    Action movedFrom = Action::Left;
};
