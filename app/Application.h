#pragma once

#include <string>

class CommandLine;
class CreditsState;
class DemoPlayer;
class GameState;
class LevelState;
class MenuState;
class OptionsScreen;
class PlayerSettings;
class TransitionState;

// Owns the four screens and runs the start-up sequence.
class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Reads the content, opens the window and plays until the game ends,
    // recording or replaying as the options say. The process exit code: 0,
    // 1 when the content or a recorded play cannot be played, a recording or
    // a picture cannot be written, or there is no display; 3 when a replay
    // diverges, 4 when it is interrupted before its end.
    int start(const CommandLine& options);

    // The content reads, in the game's order: the window's size first, then
    // the screens, whose pictures need a GL context. Each answers why the
    // content cannot be played ("<file>: <what is wrong>"), or "".
    std::string readViewport();
    std::string loadScreens();

private:
    int play(const CommandLine& options, DemoPlayer* player);
    void applyVolumes(int music, int effects);
    bool switchWindow();
    // Makes the Options screen and hands it to the menu and the level.
    void openOptions();
    std::string screenName() const;
    int report(const std::string& replayFile, const DemoPlayer& player, double seconds,
               bool fast) const;

    TransitionState* transitionState = nullptr;
    MenuState* menuState = nullptr;
    LevelState* levelState = nullptr;
    CreditsState* creditsState = nullptr;
    PlayerSettings* playerSettings = nullptr;
    OptionsScreen* optionsScreen = nullptr;
    int viewportX = 0;
    int viewportY = 0;
    int width = 0;
    int height = 0;
};
