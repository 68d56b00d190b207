#include "app/LevelState.h"

#include <SDL/SDL.h>

#include "app/GameClock.h"
#include "app/GameManager.h"
#include "app/InputSource.h"
#include "audio/Sound.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Movement.h"
#include "graphics/Collision.h"

LevelState::~LevelState() {
    Collision::clearCollisions(); // the level's pairs go with it
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
    introLength = kIntroLength;
    return true;
}

void LevelState::enter() {
    if (introMusic)
        introMusic->play();
    introStart = GameClock::now();
    introPlaying = true;
}

void LevelState::leave() {
    if (introMusic)
        introMusic->stop();
    if (loopMusic)
        loopMusic->stop();
    introPlaying = false;
}

void LevelState::handleKey(int type, int key) {
    if (!hero || !level)
        return;
    if (type == SDL_KEYDOWN) {
        switch (key) {
        case SDLK_LEFT:
            hero->walkLeft();
            break;
        case SDLK_RIGHT:
            hero->walkRight();
            break;
        case SDLK_SPACE:
            if (hero->shoot())
                level->fireAt(*hero->getPosition());
            break;
        case SDLK_LCTRL:
            hero->jump();
            break;
        case SDLK_ESCAPE:
            GameManager::getInstance()->changeState(nextState);
            break;
        default:
            break;
        }
    } else if (type == SDL_KEYUP) {
        switch (key) {
        case SDLK_LEFT:
            hero->stopLeft();
            break;
        case SDLK_RIGHT:
            hero->stopRight();
            break;
        case SDLK_SPACE:
            hero->stopShooting();
            level->ceaseFire();
            break;
        default:
            break;
        }
    }
}

void LevelState::handleEvents() {
    SDL_Event event;
    while (InputSource::poll(event)) {
        if (event.type == SDL_QUIT)
            GameManager::getInstance()->changeState(nextState);
        else if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
            handleKey(event.type, event.key.keysym.sym);
    }
}

void LevelState::update() {
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
