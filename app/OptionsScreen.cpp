#include "app/OptionsScreen.h"

#include <GL/gl.h>

#include <algorithm>

#include "audio/Sound.h"
#include "graphics/BitmapFont.h"
#include "input/GamePad.h"
#include "settings/PlayerSettings.h"

namespace {

const char* const kFontFile = "Fonts/font.png";
const char* const kSampleFile = "Sounds/menu-move.ogg";
const char* const kHint = "O or the pad's Y: Options";
const char* const kHelp = "Up, Down: choose   Left, Right: change   Return: set   Escape: back";
const float kPlain[4] = {0.85f, 0.85f, 0.85f, 1.0f};
const float kChosen[4] = {1.0f, 0.82f, 0.2f, 1.0f};
const float kNote[4] = {0.55f, 0.8f, 1.0f, 1.0f};
const int kTop = 90, kRowsTop = 170, kRowHeight = 38, kLabelX = 150, kValueX = 470,
          kColumnWidth = 150;

std::string keyName(const SDL_keysym& key) {
    return key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER ? "Alt+Enter"
                                                              : SDL_GetKeyName(key.sym);
}

} // namespace

OptionsScreen::OptionsScreen(PlayerSettings* settings, Hooks hooks, int width, int height)
    : settings(settings), hooks(std::move(hooks)), width(width), height(height) {}

OptionsScreen::~OptionsScreen() {
    delete font;
    delete sample;
}

void OptionsScreen::load() {
    font = new BitmapFont(kFontFile);
    font->load();
    sample = new Sound(kSampleFile, 1.0f, 0.0f);
    sample->load(false, false);
}

void OptionsScreen::open() {
    shown = true;
    row = 0;
    column = 0;
    state = Capture::None;
    message.clear();
    keysDown.clear(); // let go while the screen was closed, unheard
}

void OptionsScreen::handleKey(const SDL_keysym& key, bool down) {
    const auto held = std::find(keysDown.begin(), keysDown.end(), key.sym);
    if (!down) {
        if (held != keysDown.end())
            keysDown.erase(held);
        if (state == Capture::WaitRelease && key.sym == heldKey)
            state = Capture::Listening;
        return;
    }
    if (held != keysDown.end())
        return; // the key's repeat
    keysDown.push_back(key.sym);
    if (state == Capture::Listening || state == Capture::Confirm) {
        capture(&key, Bindings::kNoButton);
        return;
    }
    if (state == Capture::WaitRelease)
        return;
    switch (key.sym) {
    case SDLK_UP:
        move(-1);
        break;
    case SDLK_DOWN:
        move(1);
        break;
    case SDLK_LEFT:
        step(-1);
        break;
    case SDLK_RIGHT:
        step(1);
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        activate(false, key.sym);
        break;
    case SDLK_ESCAPE:
        shown = false;
        break;
    default:
        break;
    }
}

void OptionsScreen::handleButton(int button, bool down) {
    if (button < 0 || button >= GamePad::kButtonCount)
        return; // a button the layout has no name for cannot be shown or kept
    if (!down) {
        if (state == Capture::WaitRelease && button == heldButton)
            state = Capture::Listening;
        return;
    }
    if (state == Capture::Listening || state == Capture::Confirm) {
        capture(nullptr, button);
        return;
    }
    if (state == Capture::WaitRelease)
        return;
    if (button == GamePad::kDpadUp || button == GamePad::kDpadDown)
        move(button == GamePad::kDpadUp ? -1 : 1);
    else if (button == GamePad::kDpadLeft || button == GamePad::kDpadRight)
        step(button == GamePad::kDpadLeft ? -1 : 1);
    else if (button == GamePad::kJumpButton || button == GamePad::kStartButton)
        activate(true, button);
    else if (button == GamePad::kBButton || button == GamePad::kBackButton)
        shown = false;
}

void OptionsScreen::refuse(const SDL_keysym& key) {
    if (shown && state == Capture::Listening)
        message = changeMessage(Bindings::Change::Fixed, keyName(key), Action::Left);
}

void OptionsScreen::move(int rows) {
    row = (row + rows + kRowCount) % kRowCount;
    message.clear();
}

void OptionsScreen::step(int delta) {
    Settings changed = settings->current();
    if (row == MusicRow || row == EffectsRow) {
        int& volume = row == MusicRow ? changed.musicVolume : changed.effectsVolume;
        volume = std::clamp(volume + delta, 0, Settings::kMostVolume);
        commit(changed);
        if (row == EffectsRow && sample) {
            sample->stop();
            sample->play();
        }
    } else if (row == WindowRow) {
        activate(false, SDLK_UNKNOWN);
    } else if (row >= FirstActionRow && row < RestoreRow) {
        column = std::clamp(column + delta, 0, kPadColumn);
    }
}

void OptionsScreen::activate(bool byPad, int held) {
    message.clear();
    if (row == WindowRow) {
        if (!hooks.switchWindow || !hooks.switchWindow())
            message = "The window could not be switched";
    } else if (row >= FirstActionRow && row < RestoreRow) {
        state = Capture::WaitRelease;
        heldKey = byPad ? SDLK_UNKNOWN : held;
        heldButton = byPad ? held : Bindings::kNoButton;
        message =
            std::string(column == kPadColumn ? "Press a pad button for " : "Press a key for ") +
            Bindings::name(rowAction()) + " \u2014 Escape cancels, Backspace clears";
    } else if (row == RestoreRow) {
        state = Capture::Confirm;
        message = "Restore every key, button and volume? Return: yes, Escape: no";
    } else if (row == BackRow) {
        shown = false;
    }
}

// A press while capturing (key or pad button) or confirming.
void OptionsScreen::capture(const SDL_keysym* key, int button) {
    const bool cancel = key ? key->sym == SDLK_ESCAPE
                            : button == GamePad::kBButton || button == GamePad::kBackButton;
    if (state == Capture::Confirm) {
        state = Capture::None;
        const bool yes = key ? key->sym == SDLK_RETURN || key->sym == SDLK_KP_ENTER
                             : button == GamePad::kJumpButton || button == GamePad::kStartButton;
        Settings defaults;
        defaults.fullscreen = settings->current().fullscreen;
        if (yes)
            commit(defaults);
        message = yes ? "Every key, button and volume is as it first was" : "Nothing changed";
        return;
    }
    const bool padColumn = column == kPadColumn;
    if (cancel && (key || padColumn)) {
        state = Capture::None;
        message = "Nothing changed";
        return;
    }
    if (!key && !padColumn)
        return; // a key column takes keys
    if (key && padColumn && key->sym != SDLK_BACKSPACE)
        return; // the pad column takes pad buttons
    Settings changed = settings->current();
    Bindings& bindings = changed.bindings;
    const Action action = rowAction();
    Bindings::Change change = Bindings::Change::Unchanged;
    std::string what;
    if (key && key->sym == SDLK_BACKSPACE) {
        change = padColumn ? bindings.clearButton(action) : bindings.clearKey(action, column);
        what = padColumn ? GamePad::buttonName(settings->current().bindings.button(action))
                         : SDL_GetKeyName(settings->current().bindings.key(action, column).sym);
    } else if (key) {
        change = bindings.bindKey(action, column, *key);
        what = keyName(*key);
    } else {
        change = bindings.bindButton(action, button);
        what = GamePad::buttonName(button);
    }
    // A key the game keeps for itself leaves the question open: the player chooses another.
    state = change == Bindings::Change::Fixed ? Capture::Listening : Capture::None;
    message = changeMessage(change, what, bindings.from());
    commit(changed);
}

std::string OptionsScreen::changeMessage(Bindings::Change change, const std::string& what,
                                         Action from) const {
    switch (change) {
    case Bindings::Change::Moved:
        return what + " moved from " + Bindings::name(from) + " to " + Bindings::name(rowAction());
    case Bindings::Change::Fixed:
        return what + " is fixed; choose another";
    case Bindings::Change::LastPause:
        return "Pause needs a key or a pad button; it keeps " + what;
    default:
        return "";
    }
}

void OptionsScreen::commit(const Settings& changed) {
    const bool same = changed == settings->current();
    settings->commit(changed);
    if (!same && hooks.apply)
        hooks.apply(settings->current());
}

std::string OptionsScreen::describe() const {
    const char* const states[] = {"", ",capture", ",listen", ",confirm"};
    return std::to_string(row) + "," + std::to_string(column) + states[static_cast<int>(state)];
}

std::string OptionsScreen::rowLabel(int index) const {
    switch (index) {
    case MusicRow:
        return "Music volume";
    case EffectsRow:
        return "Effects volume";
    case WindowRow:
        return "Full screen";
    case RestoreRow:
        return "Restore defaults";
    case BackRow:
        return "Back";
    default:
        return Bindings::name(static_cast<Action>(index - FirstActionRow));
    }
}

std::string OptionsScreen::rowValue(int index, int valueColumn) const {
    const Settings& now = settings->current();
    if (index == MusicRow || index == EffectsRow)
        return std::to_string(index == MusicRow ? now.musicVolume : now.effectsVolume);
    if (index == WindowRow)
        return now.fullscreen ? "yes" : "no (window)";
    const Action action = static_cast<Action>(index - FirstActionRow);
    if (valueColumn == kPadColumn)
        return now.bindings.button(action) == Bindings::kNoButton
                   ? "-"
                   : GamePad::buttonName(now.bindings.button(action));
    const BoundKey& key = now.bindings.key(action, valueColumn);
    return key.empty() ? "-" : SDL_GetKeyName(key.sym);
}

bool OptionsScreen::differsFromDefault(int index) const {
    const Settings defaults;
    const Settings& now = settings->current();
    if (index == MusicRow || index == EffectsRow)
        return index == MusicRow ? now.musicVolume != defaults.musicVolume
                                 : now.effectsVolume != defaults.effectsVolume;
    if (index == WindowRow)
        return now.fullscreen != defaults.fullscreen;
    if (index < FirstActionRow || index >= RestoreRow)
        return false;
    const Action action = static_cast<Action>(index - FirstActionRow);
    bool differs = now.bindings.button(action) != defaults.bindings.button(action);
    for (int slot = 0; slot < Bindings::kKeysPerAction; ++slot)
        differs =
            differs || !(now.bindings.key(action, slot) == defaults.bindings.key(action, slot));
    return differs;
}

void OptionsScreen::text(const std::string& line, int x, int y, const float* colour) const {
    if (font)
        font->draw(line, x, height - y, colour);
}

void OptionsScreen::draw() const {
    if (!shown)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.05f, 0.88f);
    glRecti(0, 0, width, height);
    glPopAttrib();
    text("Options", kLabelX, kTop, kChosen);
    for (int index = 0; index < kRowCount; ++index) {
        const int y = kRowsTop + index * kRowHeight;
        const bool chosen = index == row;
        const float* colour = chosen ? kChosen : kPlain;
        text((differsFromDefault(index) ? "* " : "  ") + rowLabel(index), kLabelX - 30, y, colour);
        const bool actionRow = index >= FirstActionRow && index < RestoreRow;
        const int columns = actionRow ? kPadColumn + 1 : index < FirstActionRow ? 1 : 0;
        for (int c = 0; c < columns; ++c) {
            std::string value = rowValue(index, c);
            if (chosen && (!actionRow || c == column))
                value.insert(0, "< ").append(" >");
            text(value, kValueX + c * kColumnWidth, y, colour);
        }
    }
    text(message, kLabelX - 30, kRowsTop + kRowCount * kRowHeight + 20, kNote);
    text(kHelp, kLabelX - 30, height - 60, kPlain);
}

void OptionsScreen::drawHint(int x, int y) const {
    if (font)
        font->draw(kHint, x - font->width(kHint) / 2, height - y, kPlain);
}
