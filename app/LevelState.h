#pragma once

#include <string>
#include <vector>

#include <SDL/SDL.h>

#include "app/GameState.h"
#include "input/GamePad.h"
#include "settings/Bindings.h"

class BitmapPicture;
class OptionsScreen;
class PlayerSettings;
class Heros;
class Level;
class Sound;

// The screen where the game is played: keys to hero actions and shots, the
// fixed frame order around movements and collisions, and the level music.
class LevelState : public GameState {
public:
    LevelState() = default;
    ~LevelState() override;

    // Builds the hero, the level and the music; false, with failure()
    // telling which file was wrong, when the content cannot be played.
    bool init(GameState* next);
    const std::string& failure() const { return loadFailure; }

    void enter() override;
    void leave() override;
    void handleEvents() override;
    void update() override;

    Heros* getHero() const { return hero; }
    Level* getLevel() const { return level; }
    bool isIntroPlaying() const { return introPlaying; }
    Sound* getIntroMusic() const { return introMusic; }
    Sound* getLoopMusic() const { return loopMusic; }
    bool isPaused() const { return paused; }
    // The keys in force, and the Options screen the pause opens; unset, the
    // game's own keys and no Options.
    void setSettings(const PlayerSettings* value, OptionsScreen* screen);

    static constexpr unsigned int kIntroLength = 106718;

private:
    struct HeldKey {
        BoundKey key;
        Action action;
    };

    void handleKey(int type, const SDL_keysym& key);
    void handleOptionsKey(const SDL_Event& event);
    void handlePad(const SDL_Event& event);
    void handlePress(const GamePad::Press& press);
    // A bound key or button pressed or let go; a release during a pause
    // waits for the play to resume.
    void act(Action action, bool down);
    const Bindings& bindings() const;
    // P, the pad's Start or the window losing focus: the level's clock, its
    // music and every animation stop, and the "PAUSED" picture shows.
    void togglePause();

    GameState* nextState = nullptr;
    Level* level = nullptr;
    Heros* hero = nullptr;
    Sound* introMusic = nullptr;
    Sound* loopMusic = nullptr;
    unsigned int introLength = kIntroLength;
    unsigned int introStart = 0;
    bool introPlaying = false;
    bool paused = false;
    std::vector<Action> releasedWhilePaused; // let go when the play resumes
    // What each key held down does, as bound when it went down: a binding
    // changed meanwhile does not strand the hero walking.
    std::vector<HeldKey> heldKeys;
    int heldButtons[GamePad::kButtonCount] = {}; // 1 + the action, 0 for none
    const PlayerSettings* settings = nullptr;
    OptionsScreen* options = nullptr;
    BitmapPicture* pausedPicture = nullptr;
    int hintTop = 0; // the Options hint, from the window's top
    std::string loadFailure;
};
