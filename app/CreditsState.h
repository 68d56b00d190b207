#pragma once

#include "app/GameState.h"

class BitmapPicture;
class Graphic;
class Sound;

// The last screen: the credits image and its music; any key ends the game.
class CreditsState : public GameState {
public:
    CreditsState();
    ~CreditsState() override;

    void enter() override;
    void leave() override;
    void handleEvents() override;
    void update() override;

    BitmapPicture* getPicture() const { return picture; }
    Sound* getMusic() const { return music; }

private:
    Graphic* graphic;
    Sound* music;
    BitmapPicture* picture;
};
