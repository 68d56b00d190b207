#include "app/CreditsState.h"

#include <SDL/SDL.h>

#include "app/GameManager.h"
#include "audio/Sound.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "input/GamePad.h"
#include "input/InputSource.h"

CreditsState::CreditsState() : graphic(nullptr), music(nullptr), picture(nullptr) {
    picture = new BitmapPicture("Images/credits.png", GraphicProperties(), nullptr, 0);
    picture->loadTexture();
    graphic = new Graphic();
    graphic->addPicture(picture);
    music = new Sound();
    music->setFileName("Sound/music-interface.ogg");
    music->load(false, false);
    music->setGroup(SoundGroup::Music);
}

CreditsState::~CreditsState() {
    delete graphic;
    delete picture;
    delete music;
}

void CreditsState::enter() {
    music->play();
}

void CreditsState::leave() {
    music->stop();
}

// Any key or pad button ends the game; Alt alone does not, so that
// Alt+Enter switches the window here too. The pad's D-pad and stick do not,
// whether the D-pad comes as buttons (a mapped pad) or as a hat (a raw one).
void CreditsState::handleEvents() {
    SDL_Event event;
    while (InputSource::poll(event)) {
        const SDLKey key = event.key.keysym.sym;
        const bool alt = key == SDLK_LALT || key == SDLK_RALT;
        if ((event.type == SDL_KEYDOWN && !alt) || event.type == SDL_QUIT)
            GameManager::getInstance()->stop();
        else if (GamePad::isPadEvent(event))
            for (const GamePad::Press& press : GamePad::translate(event))
                if (press.down && press.control > GamePad::Down) // a button, not a direction
                    GameManager::getInstance()->stop();
    }
}

void CreditsState::update() {
    graphic->draw();
    GameState::update();
}
