#include "app/GameManager.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/FramePacer.h"
#include "app/GameClock.h"
#include "app/GameState.h"
#include "app/TerminationSignal.h"
#include "audio/SoundSystem.h"
#include "graphics/BitmapPicture.h"
#include "input/InputSource.h"
#include "replay/PlayTap.h"

GameManager* GameManager::instance = nullptr;
int GameManager::frameRate = 24;
SoundSystem* GameManager::soundSystem = nullptr;
GameManager::Presenter GameManager::presenter = SDL_GL_SwapBuffers;
GameManager::ModeSetter GameManager::modeSetter = SDL_SetVideoMode;

namespace {

const unsigned int kSettlingMs = 1000;

} // namespace

GameManager* GameManager::getInstance() {
    if (!instance) {
        instance = new GameManager();
        InputSource::setWindow([](const SDL_keysym&) { instance->switchWindow(); },
                               [] { return instance->isWindowSettling(); });
    }
    return instance;
}

void GameManager::setPresenter(Presenter value) {
    presenter = value ? value : SDL_GL_SwapBuffers;
}

void GameManager::setModeSetter(ModeSetter value) {
    modeSetter = value ? value : SDL_SetVideoMode;
}

bool GameManager::init(int viewportX, int viewportY, int width, int height, int bitsPerPixel,
                       int frameRate, unsigned int videoFlags, const std::string& caption) {
    this->viewportX = viewportX;
    this->viewportY = viewportY;
    this->width = width;
    this->height = height;
    this->bitsPerPixel = bitsPerPixel;
    this->videoFlags = videoFlags;
    GameManager::frameRate = frameRate;

    TerminationSignal::install();
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) == -1) {
        std::printf("Failed to initialize SDL. Error%s\n", SDL_GetError());
        std::fflush(stdout);
        std::exit(1);
    }
    std::atexit(SDL_Quit);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_WM_SetCaption(caption.c_str(), caption.c_str());
    if (!setMode(videoFlags)) {
        initFailure = SDL_GetError();
        // A full screen the display cannot give still leaves a window to play in.
        if (!(videoFlags & SDL_FULLSCREEN) || !setMode(videoFlags & ~SDL_FULLSCREEN))
            return false;
        std::fprintf(stderr, "tolvek: no full screen (%s); playing in a window\n",
                     initFailure.c_str());
    }
    // A second init (tests) keeps the system it already has.
    if (!soundSystem && !silent) {
        soundSystem = new SoundSystem();
        soundSystem->init(200);
        // Its feeder thread must not be working while the process unloads.
        std::atexit([] {
            delete soundSystem;
            soundSystem = nullptr;
        });
    }
    return true;
}

// A new video mode may come with a new GL context: the projection is set
// again each time (the caller brings the textures back).
bool GameManager::setMode(unsigned int flags) {
    if (!modeSetter(width, height, bitsPerPixel, flags | SDL_OPENGL))
        return false;
    videoFlags = flags;
    modeSetAt = GameClock::realNow();
    glViewport(-viewportX, -viewportY, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    return true;
}

bool GameManager::switchWindow() {
    BitmapPicture::holdTextures();
    const bool switched = setMode(videoFlags ^ SDL_FULLSCREEN);
    // SDL 1.2 may leave no window after a failed mode: the old one comes back.
    if (!switched && !setMode(videoFlags)) {
        std::fprintf(stderr, "tolvek: cannot open an OpenGL window: %s\n", SDL_GetError());
        std::exit(1);
    }
    BitmapPicture::restoreTextures();
    SDL_ShowCursor(SDL_DISABLE);
    return switched;
}

bool GameManager::isFullScreen() const {
    return (videoFlags & SDL_FULLSCREEN) != 0;
}

bool GameManager::showsPictures() const {
    char name[32] = "";
    SDL_VideoDriverName(name, sizeof name);
    return std::strcmp(name, "offscreen") != 0 && std::strcmp(name, "dummy") != 0;
}

bool GameManager::isWindowSettling() const {
    return GameClock::realNow() - modeSetAt < kSettlingMs;
}

void GameManager::begin(GameState* first) {
    if (currentState)
        currentState->leave();
    currentState = first;
    currentState->enter();
    running = true;
    modeSetAt = GameClock::realNow(); // the window settles while content loads too
}

bool GameManager::frame() {
    runFrame();
    PlayTap* tap = PlayTap::current();
    if ((tap && !tap->frameEnded()) || TerminationSignal::received())
        stop();
    return running;
}

void GameManager::run(GameState* first) {
    begin(first);
    FramePacer pacer(frameRate);
    // Each frame is due one budget after the previous frame was due, so the
    // time a wait oversleeps is given back by the next wait. A frame that
    // overruns restarts the schedule: nothing is made up.
    unsigned int frameStart = GameClock::realNow();
    for (bool playing = true; playing;) {
        playing = frame();
        const int budget = pacer.nextBudget();
        const int delay = FramePacer::delayFor(budget, frameStart, GameClock::realNow());
        if (delay > 0 && paced) {
            GameClock::sleep(static_cast<unsigned int>(delay));
            frameStart += static_cast<unsigned int>(budget);
        } else {
            frameStart = GameClock::realNow();
        }
    }
}

// The current state is read afresh at each step, so a change made while
// handling events already applies to this frame's update.
void GameManager::runFrame() {
    currentState->handleEvents();
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    currentState->update();
    glFlush();
    presenter();
    if (soundSystem)
        soundSystem->update();
}

void GameManager::changeState(GameState* next) {
    if (currentState)
        currentState->leave();
    currentState = next;
    if (currentState) // null leaves no state current
        currentState->enter();
}
