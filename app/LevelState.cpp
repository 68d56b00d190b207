#include "app/LevelState.h"

#include <SDL/SDL.h>

#include "app/GameClock.h"
#include "app/GameManager.h"
#include "audio/Sound.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/Movement.h"
#include "graphics/AnimatedPicture.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Collision.h"
#include "input/GamePad.h"
#include "input/InputSource.h"

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
    const std::vector<int> releases = std::move(releasedWhilePaused);
    releasedWhilePaused.clear();
    for (int key : releases)
        handleKey(SDL_KEYUP, key);
}

void LevelState::handleKey(int type, int key) {
    if (!hero || !level)
        return;
    if (type == SDL_KEYDOWN && key == SDLK_p) {
        togglePause();
        return;
    }
    // A pause holds every action but leaving; what is let go meanwhile is
    // let go when the play resumes.
    if (paused && type == SDL_KEYUP)
        releasedWhilePaused.push_back(key);
    if (paused && !(type == SDL_KEYDOWN && key == SDLK_ESCAPE))
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
        else if (event.type == SDL_ACTIVEEVENT && !event.active.gain && !paused && hero && level)
            togglePause();
        else
            handlePad(event);
    }
}

// The pad plays as the keys do: D-pad or stick walk, the bottom button
// jumps, the left one sprays, Start pauses, Back leaves.
void LevelState::handlePad(const SDL_Event& event) {
    for (const GamePad::Press& press : GamePad::translate(event)) {
        const int key = press.control == GamePad::Left    ? SDLK_LEFT
                        : press.control == GamePad::Right ? SDLK_RIGHT
                        : press.control == GamePad::Jump  ? SDLK_LCTRL
                        : press.control == GamePad::Spray ? SDLK_SPACE
                        : press.control == GamePad::Start ? SDLK_p
                        : press.control == GamePad::Back  ? SDLK_ESCAPE
                                                          : SDLK_UNKNOWN;
        if (key != SDLK_UNKNOWN)
            handleKey(press.down ? SDL_KEYDOWN : SDL_KEYUP, key);
    }
}

void LevelState::update() {
    if (paused) {
        GameState::update();
        if (pausedPicture)
            pausedPicture->draw();
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
