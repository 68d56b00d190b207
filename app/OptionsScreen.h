#pragma once

#include <SDL/SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/Settings.h"

class BitmapFont;
class PlayerSettings;
class Sound;

// The Options screen, shown over the menu or the paused level, which keep
// their own state underneath: volumes, full screen or window, the level's
// keys and pad buttons, Restore defaults and Back. It answers only fixed keys
// (arrows, Return, Escape, Backspace; the pad's D-pad, A, B, Back and Start),
// whatever is bound, so no binding locks the player out. Each change is kept
// at once.
class OptionsScreen {
public:
    enum Row {
        MusicRow,
        EffectsRow,
        WindowRow,
        FirstActionRow,
        RestoreRow = FirstActionRow + 5,
        BackRow
    };
    static constexpr int kRowCount = BackRow + 1;
    static constexpr int kPadColumn = Bindings::kKeysPerAction;

    // What the game does with settings: apply takes new volumes at once;
    // switchWindow goes between full screen and a window, true when it did.
    struct Hooks {
        std::function<void(const Settings&)> apply;
        std::function<bool()> switchWindow;
    };

    OptionsScreen(PlayerSettings* settings, Hooks hooks, int width, int height);
    ~OptionsScreen();
    OptionsScreen(const OptionsScreen&) = delete;
    OptionsScreen& operator=(const OptionsScreen&) = delete;

    // The font and the sample an Effects step plays; without them the screen works unseen.
    void load();
    // The key and the pad button that open the screen from the menu and the pause.
    static constexpr SDLKey kOpenKey = SDLK_o;
    static constexpr int kOpenButton = 3; // the pad's top face button, Y
    void open();
    bool isOpen() const { return shown; }
    // A key or a pad button (GamePad's layout number) while open; Back closes the screen.
    void handleKey(const SDL_keysym& key, bool down);
    void handleButton(int button, bool down);
    // A key the game keeps for itself (the window switch), pressed while a
    // key is awaited: said, and not bound.
    void refuse(const SDL_keysym& key);
    void draw() const;
    // The line the menu and the pause picture show, centred on x, its top at y.
    void drawHint(int x, int y) const;
    // "row,column" and the capture's state, for recorded plays' checkpoints.
    std::string describe() const;

    int getRow() const { return row; }
    const std::string& getMessage() const { return message; }

private:
    enum class Capture { None, WaitRelease, Listening, Confirm };

    void move(int rows);
    void step(int delta);
    void activate(bool byPad, int held);
    void capture(const SDL_keysym* key, int button);
    void commit(const Settings& changed);
    std::string changeMessage(Bindings::Change change, const std::string& what, Action from) const;
    Action rowAction() const { return static_cast<Action>(row - FirstActionRow); }
    std::string rowLabel(int index) const;
    std::string rowValue(int index, int column) const;
    bool differsFromDefault(int index) const;
    void text(const std::string& line, int x, int y, const float* colour) const;

    PlayerSettings* settings;
    Hooks hooks;
    int width;
    int height;
    BitmapFont* font = nullptr;
    Sound* sample = nullptr;
    bool shown = false;
    int row = 0;
    int column = 0;
    Capture state = Capture::None;
    // What opened the capture: it is taken only once this is let go.
    int heldKey = SDLK_UNKNOWN;
    int heldButton = -1;
    std::vector<int> keysDown; // a press of a key already down is the key's repeat
    std::string message;
};
