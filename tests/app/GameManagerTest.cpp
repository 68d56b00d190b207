#include <GL/gl.h>
#include <SDL/SDL.h>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "app/GameState.h"
#include "app/TerminationSignal.h"

namespace {

// Logs its hooks and passes; a scripted action runs in handleEvents.
class ScriptedState : public GameState {
public:
    ScriptedState(std::vector<std::string>& log, const char* name) : log(log), name(name) {}
    void enter() override { log.push_back(name + ".enter"); }
    void leave() override { log.push_back(name + ".leave"); }
    void handleEvents() override {
        log.push_back(name + ".events");
        if (onEvents)
            onEvents();
    }
    void update() override {
        log.push_back(name + ".update");
        GameState::update();
    }
    std::function<void()> onEvents;

private:
    std::vector<std::string>& log;
    std::string name;
};

} // namespace

TEST(GameManager, IsOneInstance) {
    EXPECT_EQ(GameManager::getInstance(), GameManager::getInstance());
    EXPECT_STREQ(GameManager::getInstance()->getClassName(), "GameManager");
}

TEST(GameManager, ChangeStateLeavesThenEntersEvenTheSameState) {
    std::vector<std::string> log;
    ScriptedState a(log, "a"), b(log, "b");
    GameManager* manager = GameManager::getInstance();
    manager->changeState(&a);
    manager->changeState(&a);
    manager->changeState(&b);
    EXPECT_EQ(log,
              (std::vector<std::string>{"a.enter", "a.leave", "a.enter", "a.leave", "b.enter"}));
    EXPECT_EQ(manager->getCurrentState(), &b);
}

TEST(GameManager, StopFinishesTheFrameAndChangesApplyAtOnce) {
    std::vector<std::string> log;
    ScriptedState menu(log, "menu"), level(log, "level");
    GameManager* manager = GameManager::getInstance();
    manager->changeState(&menu); // run must leave whatever is current first
    log.clear();

    int menuFrames = 0;
    menu.onEvents = [&] {
        if (++menuFrames == 2)
            manager->changeState(&level);
    };
    level.onEvents = [&] { manager->stop(); };

    const Uint32 start = SDL_GetTicks();
    manager->run(&menu);
    const Uint32 elapsed = SDL_GetTicks() - start;

    EXPECT_EQ(log,
              (std::vector<std::string>{"menu.leave", "menu.enter", "menu.events", "menu.update",
                                        "menu.events", "menu.leave", "level.enter", "level.update",
                                        "level.events", "level.update"}));
    EXPECT_FALSE(manager->isRunning());
    // Three frames, each waited out to its budget (24 fps before init: 41 or 42 ms).
    EXPECT_GE(elapsed, 3u * 41u);
}

TEST(GameManager, ATerminationSignalEndsTheRunAfterTheFrameInProgress) {
    for (int signal : {SIGTERM, SIGINT}) {
        std::vector<std::string> log;
        ScriptedState level(log, "level");
        TerminationSignal::install();
        int frames = 0;
        level.onEvents = [&] {
            if (++frames == 2)
                std::raise(signal);
        };
        GameManager::getInstance()->run(&level);
        EXPECT_EQ(frames, 2) << signal;
        EXPECT_EQ(log.back(), "level.update");
        TerminationSignal::clear();
        std::signal(signal, SIG_DFL);
    }
}

TEST(GameManager, InitSetsThePixelProjectionShiftedByTheViewportCorner) {
    GameManager* manager = GameManager::getInstance();
    // Windowed, the test window's size: only the corner and projection matter here.
    manager->init(10, 20, 128, 128, 32, 60, 0, "VELM Tolvek");
    EXPECT_EQ(GameManager::getFrameRate(), 60);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], -10);
    EXPECT_EQ(viewport[1], -20);
    EXPECT_EQ(viewport[2], 128);
    EXPECT_EQ(viewport[3], 128);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 128);
    EXPECT_FLOAT_EQ(projection[5], 2.0f / 128);
    EXPECT_FLOAT_EQ(projection[12], -1.0f);
    EXPECT_FLOAT_EQ(projection[13], -1.0f);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "VELM Tolvek");
    EXPECT_STREQ(icon, "VELM Tolvek");
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[3], 1.0f);
    EXPECT_EQ(clear[0] + clear[1] + clear[2], 0.0f);
}
