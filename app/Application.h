#pragma once

#include <string>

class CreditsState;
class GameState;
class LevelState;
class MenuState;
class TransitionState;

// Owns the four screens and runs the start-up sequence.
class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Reads the content, opens the window and plays until the game ends.
    // The process exit code: 0, or 1 when the content cannot be played.
    int start();

    // The content reads, in the game's order: the window's size first, then
    // the screens, whose pictures need a GL context. Each answers why the
    // content cannot be played ("<file>: <what is wrong>"), or "".
    std::string readViewport();
    std::string loadScreens();

private:
    TransitionState* transitionState = nullptr;
    MenuState* menuState = nullptr;
    LevelState* levelState = nullptr;
    CreditsState* creditsState = nullptr;
    int viewportX = 0;
    int viewportY = 0;
    int width = 0;
    int height = 0;
};
