#pragma once

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

private:
    TransitionState* transitionState = nullptr;
    MenuState* menuState = nullptr;
    LevelState* levelState = nullptr;
    CreditsState* creditsState = nullptr;
};
