#pragma once

#include <string>

#include "app/CommandLine.h"
#include "replay/DemoPlayer.h"
#include "replay/DemoRecorder.h"

class CreditsState;
class GameState;
class LevelState;
class MenuState;
class OptionsScreen;
class PlayerSettings;
class TransitionState;

// Owns the four screens and runs the start-up sequence.
class Application {
public:
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Reads the content, opens the window and plays until the game ends,
    // recording or replaying as the options say. The process exit code: 0,
    // 1 when the content or a recorded play cannot be played, a recording or
    // a picture cannot be written, or there is no display; 3 when a replay
    // diverges, 4 when it is interrupted before its end.
    int start(const CommandLine& options);
    // start()'s two halves, for a host that runs the frames itself from
    // firstScreen() (a browser). open: everything before the first frame;
    // true when the frames can start. close: after the last frame, or after
    // open refused; the exit code.
    bool open(const CommandLine& options);
    int close();
    GameState* firstScreen() const;

    // The content reads, in the game's order: the window's size first, then
    // the screens, whose pictures need a GL context. Each answers why the
    // content cannot be played ("<file>: <what is wrong>"), or "".
    std::string readViewport();
    std::string loadScreens();

private:
    int play(const CommandLine& options, DemoPlayer* player);
    bool refused(int code);
    DemoRecorder::Snapshot snapshot();
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
    CommandLine options;
    DemoPlayer player;
    DemoRecorder recorder;
    bool tapInstalled = false;
    unsigned int started = 0;
    int exitCode = 0;
    int viewportX = 0;
    int viewportY = 0;
    int width = 0;
    int height = 0;
};
