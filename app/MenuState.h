#pragma once

#include <string>

#include "app/GameState.h"
#include "input/GamePad.h"

class BitmapPicture;
class GameObject;
class Graphic;
class OptionsScreen;
class Sound;

// The title screen: two items over a background, Up/Down to choose,
// Return to go on after the menu file's delay.
class MenuState : public GameState {
public:
    MenuState() = default;
    ~MenuState() override;

    // False, with failure() telling why, when the menu file is missing or short.
    bool load(GameState* item0State, GameState* item1State, const char* fileName);
    const std::string& failure() const { return loadFailure; }

    void enter() override;
    void leave() override;
    void handleEvents() override;
    void update() override;
    void refreshSelection();
    // The Options screen O and the pad's Y open; unset, none.
    void setOptions(OptionsScreen* screen) { options = screen; }

    int getSelection() const { return selection; }
    bool isValidated() const { return validated; }
    int getValidateDelay() const { return validateDelay; }
    GameObject* getMenuObject() const { return menuObject; }
    BitmapPicture* getItemPicture(int item, bool selected) const;
    BitmapPicture* getBackground() const { return background; }
    Sound* getMusic() const { return music; }
    Sound* getMoveSound() const { return moveSound; }
    Sound* getValidateSound() const { return validateSound; }

private:
    // Return, Up and Down pressed, or what the pad does for them.
    void handleKey(int key);
    void handlePress(const GamePad::Press& press);
    BitmapPicture* itemPicture(const std::string& path, int x, int y);
    static Sound* menuSound(const std::string& path, bool isMusic);

    int selection = 0;
    GameObject* menuObject = nullptr;
    BitmapPicture* item0Selected = nullptr;
    BitmapPicture* item0 = nullptr;
    BitmapPicture* item1Selected = nullptr;
    BitmapPicture* item1 = nullptr;
    BitmapPicture* background = nullptr;
    GameState* item0State = nullptr;
    GameState* item1State = nullptr;
    Sound* music = nullptr;
    Sound* moveSound = nullptr;
    Sound* validateSound = nullptr;
    int validateDelay = 0;
    unsigned int validateStart = 0;
    bool validated = false;
    std::string loadFailure;
    Graphic* menuGraphic = nullptr;
    OptionsScreen* options = nullptr;
};
