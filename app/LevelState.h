#pragma once

#include <string>
#include <vector>

#include <SDL/SDL.h>

#include "app/GameState.h"

class BitmapPicture;
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

    static constexpr unsigned int kIntroLength = 106718;

private:
    void handleKey(int type, int key);
    void handlePad(const SDL_Event& event);
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
    std::vector<int> releasedWhilePaused; // keys, let go when the play resumes
    BitmapPicture* pausedPicture = nullptr;
    std::string loadFailure;
};
