#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "app/OptionsScreen.h"
#include "input/GamePad.h"
#include "settings/PlayerSettings.h"

namespace {

SDL_keysym keysym(SDLKey sym, int position = 0, int mod = 0) {
    SDL_keysym key{};
    key.sym = sym;
    key.scancode = static_cast<Uint8>(position);
    key.mod = static_cast<SDLMod>(mod);
    return key;
}

int actionOf(const Bindings& bindings, const SDL_keysym& key) {
    Action action = Action::Left;
    return bindings.actionOfKey(key, action) ? static_cast<int>(action) : -1;
}

using Change = Bindings::Change;
const int kPad = OptionsScreen::kPadColumn, kClear = -1;

// What a step gives: a key, a pad button, or kClear.
struct Input {
    SDL_keysym key;
    int button;
};
Input keyInput(SDLKey sym, int position = 0, int mod = 0) {
    return {keysym(sym, position, mod), 0};
}
Input button(int number) {
    return {keysym(SDLK_UNKNOWN), number};
}

} // namespace

// Each row changes the bindings left by the rows before it.
TEST(Bindings, AKeyOrButtonBelongsToOneActionPauseKeepsOneAndFixedOnesStayFixed) {
    const struct {
        Action action;
        int slot;
        Input input;
        Change change;
        Action from;
    } steps[] = {
        {Action::Jump, 1, keyInput(SDLK_z, 52), Change::Bound, {}},
        {Action::Spray, 0, keyInput(SDLK_z, 52), Change::Moved, Action::Jump},
        {Action::Spray, 0, keyInput(SDLK_z, 52), Change::Unchanged, {}},
        {Action::Jump, 0, keyInput(SDLK_ESCAPE), Change::Fixed, {}},
        {Action::Jump, 0, keyInput(SDLK_F11), Change::Fixed, {}},
        {Action::Jump, 0, keyInput(SDLK_RETURN, 36, KMOD_LALT), Change::Fixed, {}},
        {Action::Jump, 1, keyInput(SDLK_RETURN, 36), Change::Bound, {}},
        {Action::Left, 1, keyInput(SDLK_p, 33), Change::Moved, Action::Pause},
        {Action::Pause, kPad, button(kClear), Change::LastPause, {}},
        {Action::Jump, kPad, button(GamePad::kStartButton), Change::LastPause, {}},
        {Action::Jump, kPad, button(GamePad::kBackButton), Change::Fixed, {}},
        {Action::Spray, kPad, button(GamePad::kJumpButton), Change::Moved, Action::Jump},
        {Action::Pause, 1, keyInput(SDLK_o, 32), Change::Bound, {}},
        {Action::Pause, kPad, button(kClear), Change::Bound, {}},
        {Action::Pause, 1, button(kClear), Change::LastPause, {}},
        {Action::Jump, 0, button(kClear), Change::Bound, {}},
    };
    Bindings bindings;
    for (const auto& s : steps) {
        const int what = s.input.button;
        const Change change = s.slot == kPad   ? what == kClear ? bindings.clearButton(s.action)
                                                                : bindings.bindButton(s.action, what)
                                : what == kClear ? bindings.clearKey(s.action, s.slot)
                                               : bindings.bindKey(s.action, s.slot, s.input.key);
        EXPECT_EQ(change, s.change) << Bindings::name(s.action) << " " << what;
        if (change == Change::Moved) {
            EXPECT_EQ(bindings.from(), s.from);
        }
    }
    // A key bound where it sits answers there under any layout, and not elsewhere; a key
    // bound by name answers wherever it is.
    EXPECT_EQ(actionOf(bindings, keysym(SDLK_y, 52)), static_cast<int>(Action::Spray));
    EXPECT_EQ(actionOf(bindings, keysym(SDLK_z, 29)), -1);
    EXPECT_EQ(actionOf(bindings, keysym(SDLK_RIGHT, 114)), static_cast<int>(Action::Right));
    EXPECT_EQ(actionOf(bindings, keysym(SDLK_RETURN, 36)), static_cast<int>(Action::Jump));
    Action padAction = Action::Left;
    EXPECT_TRUE(bindings.actionOfButton(GamePad::kJumpButton, padAction));
    EXPECT_EQ(padAction, Action::Spray);
    EXPECT_FALSE(bindings.actionOfButton(GamePad::kStartButton, padAction));
    // Kept in the file and read back alike.
    Settings kept;
    kept.bindings = bindings;
    Settings read;
    ASSERT_TRUE(read.readText(kept.text()));
    EXPECT_TRUE(read == kept) << kept.text();
}

// Every binding reachable in three changes from the game's own, over keys and buttons the
// menus and the window use: Pause keeps a key or a button, nothing is bound twice or fixed,
// and the Options answer their own keys through to Back.
TEST(Bindings, NoBindingLocksThePlayerOutOfTheMenus) {
    const std::vector<SDL_keysym> keys = {keysym(SDLK_p),  keysym(SDLK_o, 32),  keysym(SDLK_RETURN),
                                          keysym(SDLK_UP), keysym(SDLK_ESCAPE), keysym(SDLK_F11)};
    const int buttons[] = {GamePad::kStartButton, OptionsScreen::kOpenButton, GamePad::kJumpButton,
                           GamePad::kBackButton, GamePad::kDpadUp};
    std::vector<Bindings> level = {Bindings()};
    std::map<std::string, Bindings> seen;
    for (int depth = 0; depth < 3; ++depth) {
        std::vector<Bindings> next;
        for (const Bindings& from : level)
            for (int a = 0; a < Bindings::kActionCount; ++a) {
                const Action action = static_cast<Action>(a);
                std::vector<Bindings> made(1, from);
                made.back().clearButton(action);
                for (int button : buttons)
                    made.push_back(from), made.back().bindButton(action, button);
                for (int slot = 0; slot < Bindings::kKeysPerAction; ++slot) {
                    made.push_back(from), made.back().clearKey(action, slot);
                    for (const SDL_keysym& key : keys)
                        made.push_back(from), made.back().bindKey(action, slot, key);
                }
                for (const Bindings& bindings : made) {
                    Settings settings;
                    settings.bindings = bindings;
                    if (seen.emplace(settings.text(), bindings).second)
                        next.push_back(bindings);
                }
            }
        level = std::move(next);
    }
    EXPECT_GT(seen.size(), 1000u);
    for (const auto& [text, b] : seen) {
        Settings settings;
        settings.bindings = b;
        int pauseBound = b.button(Action::Pause) != Bindings::kNoButton, bound = 0;
        std::set<int> buttonsBound;
        for (int a = 0; a < Bindings::kActionCount; ++a) {
            const Action action = static_cast<Action>(a);
            bound += b.button(action) != Bindings::kNoButton;
            buttonsBound.insert(b.button(action));
            EXPECT_FALSE(Bindings::isFixedButton(b.button(action)));
            for (int slot = 0; slot < Bindings::kKeysPerAction; ++slot) {
                const BoundKey& key = b.key(action, slot);
                pauseBound += action == Action::Pause && !key.empty();
                if (key.empty())
                    continue;
                const SDL_keysym pressed = keysym(key.sym, key.position);
                EXPECT_FALSE(Bindings::isFixedKey(pressed)) << text;
                EXPECT_EQ(actionOf(b, pressed), a) << text; // no earlier action has it
            }
        }
        buttonsBound.erase(Bindings::kNoButton);
        EXPECT_EQ(static_cast<int>(buttonsBound.size()), bound) << text;
        ASSERT_GT(pauseBound, 0) << text;
        PlayerSettings kept(settings);
        OptionsScreen options(&kept, {}, 1024, 768);
        options.open();
        for (const SDLKey key : {SDLK_UP, SDLK_RETURN}) {
            options.handleKey(keysym(key), true);
            options.handleKey(keysym(key), false);
        }
        EXPECT_FALSE(options.isOpen()) << text;
    }
}
