#pragma once

#include <SDL/SDL.h>

#include <string>

class GameState;
class SoundSystem;

// The one window, GL context, sound system and main loop of the game.
class GameManager {
public:
    static GameManager* getInstance();

    // False, with failure() giving SDL's reason, when no OpenGL window opens.
    bool init(int viewportX, int viewportY, int width, int height, int bitsPerPixel, int frameRate,
              unsigned int videoFlags, const std::string& caption);
    const std::string& failure() const { return initFailure; }
    // Full screen to a window or back, pictures kept; a switch that fails
    // leaves the mode as it was. False when it failed.
    bool switchWindow();
    bool isFullScreen() const;
    // False when the window library found no display and draws off screen.
    bool showsPictures() const;
    // A new window gains and loses focus while it settles, for a second at
    // most: those changes are not the player's.
    bool isWindowSettling() const;
    // Makes first current and loops until stop(); the frame in progress completes.
    void run(GameState* first);
    // run()'s two parts, for a host that calls each frame itself (a browser's
    // animation frames) and paces them: begin() makes first current, and
    // each frame() plays one frame, false once the game has ended.
    void begin(GameState* first);
    bool frame();
    // Leaves the current state and enters next at once, inside the caller's call.
    void changeState(GameState* next);
    void stop() { running = false; }
    // Unpaced frames follow one another without waiting (a fast replay).
    void setPaced(bool value) { paced = value; }
    // Before init: a silent game opens no sound device and plays nothing.
    void setSilent(bool value) { silent = value; }
    // Forgets the current state without leaving it, for when it no longer exists.
    void clearCurrentState() { currentState = nullptr; }

    GameState* getCurrentState() const { return currentState; }
    bool isRunning() const { return running; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }

    static int getFrameRate() { return frameRate; }
    // Lets code that paces by the frame rate run without a window (tests).
    static void setFrameRate(int value) { frameRate = value; }
    static SoundSystem* getSoundSystem() { return soundSystem; }
    // Shows a finished frame: SDL's buffer swap, unless a test has put its own in
    // place; null puts the swap back.
    using Presenter = void (*)();
    static void setPresenter(Presenter value);
    // Opens the window in a video mode: SDL's, unless a test has put its own in
    // place; null puts SDL's back.
    using ModeSetter = SDL_Surface* (*)(int width, int height, int bitsPerPixel, Uint32 flags);
    static void setModeSetter(ModeSetter value);
    // Lets tests install a system (or none) without a window init.
    static void setSoundSystem(SoundSystem* value) { soundSystem = value; }

    virtual const char* getClassName() const { return "GameManager"; }

protected:
    GameManager() = default;
    virtual ~GameManager() = default;

private:
    void runFrame();
    bool setMode(unsigned int flags);

    GameState* currentState = nullptr;
    bool running = false;
    int viewportX = 0;
    int viewportY = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    unsigned int videoFlags = 0;
    unsigned int modeSetAt = 0;
    std::string initFailure;
    bool paced = true;
    bool silent = false;

    static GameManager* instance;
    static int frameRate;
    static SoundSystem* soundSystem;
    static Presenter presenter;
    static ModeSetter modeSetter;
};
