#include "app/LevelState.h"

#include <SDL/SDL.h>

#include <algorithm>

#include "app/GameClock.h"
#include "app/GameManager.h"
#include "app/OptionsScreen.h"
#include "audio/Sound.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Movement.h"
#include "graphics/AnimatedPicture.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "input/GamePad.h"
#include "input/InputSource.h"
#include "settings/PlayerSettings.h"

namespace {

const int kHintGap = 16; // between the PAUSED picture and the line under it

} // namespace

LevelState::~LevelState() {
    Collision::clearCollisions(); // the level's pairs go with it
    delete pausedPicture;
    delete introMusic;
    delete loopMusic;
    delete level;
    delete hero;
}

bool LevelState::init(GameState* next) {
    nextState = next;
    hero = new Heros();
    if (!hero->load("./Levels/Heros.ini")) {
        loadFailure = hero->failure();
        return false;
    }
    hero->setVisible(true, this);
    level = new Level();
    if (!level->load("Levels/Niveau1.ini", hero, this)) {
        loadFailure = level->failure();
        return false;
    }
    introMusic = new Sound("Sounds/music-ingame-a.ogg", 0.8f, 0.0f);
    introMusic->load(false, false);
    loopMusic = new Sound("Sounds/music-ingame-b.ogg", 0.8f, 0.0f);
    loopMusic->load(true, true);
    introMusic->setGroup(SoundGroup::Music);
    loopMusic->setGroup(SoundGroup::Music);
    introLength = kIntroLength;
    pausedPicture = new BitmapPicture("Images/paused.png", GraphicProperties(), nullptr, 0);
    if (pausedPicture->loadTexture()) {
        // Centred on whole pixels, so the picture is not resampled.
        const GameManager* manager = GameManager::getInstance();
        const int x = (manager->getWidth() - static_cast<int>(pausedPicture->getWidth())) / 2;
        const int y = (manager->getHeight() - static_cast<int>(pausedPicture->getHeight())) / 2;
        pausedPicture->getProperties().setPosition(static_cast<float>(x), static_cast<float>(y));
        hintTop = manager->getHeight() - y + kHintGap;
    }
    return true;
}

void LevelState::enter() {
    if (introMusic)
        introMusic->play();
    introStart = GameClock::now();
    introPlaying = true;
}

void LevelState::leave() {
    if (paused)
        togglePause();
    if (introMusic)
        introMusic->stop();
    if (loopMusic)
        loopMusic->stop();
    introPlaying = false;
}

void LevelState::setSettings(const PlayerSettings* value, OptionsScreen* screen) {
    settings = value;
    options = screen;
}

const Bindings& LevelState::bindings() const {
    static const Bindings defaults;
    return settings ? settings->current().bindings : defaults;
}

void LevelState::togglePause() {
    paused = !paused;
    if (paused)
        GameClock::hold();
    else
        GameClock::release();
    AnimatedPicture::setFrozen(paused);
    for (Sound* sound : {introPlaying ? introMusic : loopMusic, hero->getCurrentShotSound()})
        if (sound)
            sound->togglePause();
    if (paused)
        return;
    const std::vector<Action> releases = std::move(releasedWhilePaused);
    releasedWhilePaused.clear();
    for (const Action action : releases)
        act(action, false);
}

void LevelState::act(Action action, bool down) {
    if (action == Action::Pause) {
        if (down)
            togglePause();
        return;
    }
    // A pause holds every action; what is let go meanwhile is let go when
    // the play resumes.
    if (paused) {
        if (!down)
            releasedWhilePaused.push_back(action);
        return;
    }
    switch (action) {
    case Action::Left:
        down ? hero->walkLeft() : hero->stopLeft();
        break;
    case Action::Right:
        down ? hero->walkRight() : hero->stopRight();
        break;
    case Action::Jump:
        if (down)
            hero->jump();
        break;
    default: // Spray
        if (down && hero->shoot())
            level->fireAt(*hero->getPosition());
        else if (!down) {
            hero->stopShooting();
            level->ceaseFire();
        }
        break;
    }
}

void LevelState::handleKey(int type, const SDL_keysym& key) {
    if (!hero || !level)
        return;
    if (type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) {
        GameManager::getInstance()->changeState(nextState);
        return;
    }
    if (type == SDL_KEYDOWN && paused && options && key.sym == OptionsScreen::kOpenKey) {
        options->open();
        return;
    }
    Action action = Action::Left;
    if (type == SDL_KEYDOWN) {
        if (!bindings().actionOfKey(key, action))
            return;
        heldKeys.push_back({BoundKey::of(key), action});
        act(action, true);
        return;
    }
    const auto held = std::find_if(heldKeys.begin(), heldKeys.end(),
                                   [&key](const HeldKey& h) { return h.key.matches(key); });
    if (held != heldKeys.end()) {
        action = held->action;
        heldKeys.erase(held);
    } else if (!bindings().actionOfKey(key, action)) {
        return;
    }
    act(action, false);
}

void LevelState::handleEvents() {
    SDL_Event event;
    while (InputSource::poll(event)) {
        const bool key = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
        if (event.type == SDL_QUIT)
            GameManager::getInstance()->changeState(nextState);
        else if (key && options && options->isOpen())
            handleOptionsKey(event);
        else if (key)
            handleKey(event.type, event.key.keysym);
        else if (event.type == SDL_ACTIVEEVENT && !event.active.gain && !paused && hero && level)
            togglePause();
        else
            handlePad(event);
    }
}

// The level still hears what is let go while the Options are open, so
// nothing walks on after.
void LevelState::handleOptionsKey(const SDL_Event& event) {
    options->handleKey(event.key.keysym, event.type == SDL_KEYDOWN);
    if (event.type == SDL_KEYUP)
        handleKey(event.type, event.key.keysym);
}

// The pad plays as the keys do, by its bound buttons (the stick as the
// D-pad); Back leaves, and the top button opens the Options during a pause.
void LevelState::handlePad(const SDL_Event& event) {
    for (const GamePad::Press& press : GamePad::translate(event)) {
        if (options && options->isOpen()) {
            options->handleButton(press.button, press.down);
            if (!press.down)
                handlePress(press);
        } else if (press.down && paused && options && press.button == OptionsScreen::kOpenButton) {
            options->open();
        } else {
            handlePress(press);
        }
    }
}

void LevelState::handlePress(const GamePad::Press& press) {
    if (!hero || !level || press.button < 0 || press.button >= GamePad::kButtonCount)
        return;
    if (press.control == GamePad::Back) {
        if (press.down)
            GameManager::getInstance()->changeState(nextState);
        return;
    }
    int& held = heldButtons[press.button];
    Action action = Action::Left;
    if (press.down && bindings().actionOfButton(press.button, action)) {
        held = 1 + static_cast<int>(action);
        act(action, true);
    } else if (!press.down && held) {
        act(static_cast<Action>(held - 1), false);
        held = 0;
    } else if (!press.down && bindings().actionOfButton(press.button, action)) {
        act(action, false);
    }
}

void LevelState::update() {
    if (paused) {
        GameState::update();
        if (pausedPicture)
            pausedPicture->draw();
        if (options) {
            options->drawHint(GameManager::getInstance()->getWidth() / 2, hintTop);
            options->draw();
        }
        return;
    }
    if (hero) {
        hero->rememberPosition();
        hero->clearGrounded();
    }
    for (GameObject* object : getObjects())
        if (object && object->getMovement() && object->getPosition())
            object->getMovement()->apply(object->getPosition());
    if (hero)
        hero->keepInBounds();
    Collision::checkAll();
    if (hero)
        hero->fallIfUnsupported();
    if (introPlaying && GameClock::now() - introStart > introLength) {
        introPlaying = false;
        if (introMusic)
            introMusic->stop();
        if (loopMusic)
            loopMusic->play();
    }
    GameState::update();
}
