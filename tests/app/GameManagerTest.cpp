#include <GL/gl.h>
#include <SDL/SDL.h>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

#include "app/FramePacer.h"
#include "app/GameState.h"
#include "app/TerminationSignal.h"
#include "support/GlContext.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"

namespace {

using Log = std::vector<std::string>;

// Logs its hooks into the sound log, between the swaps and sound updates.
class ScriptedState : public GameState {
public:
    ScriptedState(Log& log, std::string name) : log(log), name(std::move(name)) {}
    void enter() override { log.push_back(name + ".enter"); }
    void leave() override { log.push_back(name + ".leave"); }
    void handleEvents() override {
        log.push_back(name + ".events");
        if (onEvents)
            onEvents();
    }
    // Each frame starts from the identity: a translation left over shows.
    void update() override {
        GLfloat modelview[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        log.push_back(name + (modelview[12] == 0 ? ".update" : ".moved"));
        glTranslatef(1, 0, 0);
    }
    std::function<void()> onEvents;
    Log& log;
    std::string name;
};

// A manager of the test's own: nothing depends on what other tests did to the game's.
class FreshManager : public GameManager {};

Log* presented = nullptr;

class GameManagerTest : public testing::Test {
protected:
    void SetUp() override {
        GameManager::setFrameRate(60);
        presented = &sound.log;
        GameManager::setPresenter([] {
            presented->push_back("swap");
            SDL_GL_SwapBuffers();
        });
    }
    void TearDown() override {
        GameManager::setFrameRate(savedRate);
        GameManager::setPresenter(nullptr);
    }
    // Runs frames of the given work (ms each); answers when each frame started.
    std::vector<unsigned int> run(const std::vector<unsigned int>& work) {
        ScriptedState state(sound.log, "s");
        std::vector<unsigned int> starts;
        state.onEvents = [&] {
            starts.push_back(ScriptedClock::now());
            ScriptedClock::advance(work[starts.size() - 1]);
            if (starts.size() == work.size())
                manager.stop();
        };
        manager.run(&state);
        return starts;
    }
    const int savedRate = GameManager::getFrameRate();
    ScriptedClock clock{0};
    RecordingSoundSystem sound;
    FreshManager manager;
};

} // namespace

TEST(GameClock, WaitsForRealWithNothingInstalled) {
    const unsigned int start = GameClock::now();
    GameClock::sleep(20);
    EXPECT_GE(GameClock::now() - start, 20u);
}

TEST(FramePacer, BudgetsSpreadTheFractionOverFramesWithoutDrift) {
    struct Case {
        int rate, frames;
        std::vector<int> firstBudgets;
        long long total;
    };
    for (const Case& c :
         {Case{60, 60000, {16, 17, 17, 16}, 1000000}, Case{24, 2400, {41, 42}, 100000},
          Case{0, 1, {1000}, 1000}}) { // a rate of 0 never divides by zero
        FramePacer pacer(c.rate);
        std::vector<int> budgets;
        long long total = 0;
        for (int i = 0; i < c.frames; ++i)
            total += budgets.emplace_back(pacer.nextBudget());
        budgets.resize(c.firstBudgets.size());
        EXPECT_EQ(budgets, c.firstBudgets) << c.rate;
        EXPECT_LE(std::llabs(total - c.total), 1) << c.rate;
        pacer.reset();
        EXPECT_EQ(pacer.nextBudget(), c.firstBudgets[0]) << c.rate;
    }
    // The tick counter wrapping round does not make a huge wait.
    EXPECT_EQ(FramePacer::delayFor(16, 0xFFFFFFFEu, 3u), 11);
}

TEST_F(GameManagerTest, FramesWaitOutTheirBudgetAnOverrunIsNotMadeUpAndOversleepIsGivenBack) {
    EXPECT_FALSE(manager.isRunning());
    // Budgets 16, 17, 17, 16, 17, 17: the fourth frame overruns, the fifth
    // starts at once and has its whole budget again.
    EXPECT_EQ(run({3, 3, 3, 40, 3, 3, 3}),
              (std::vector<unsigned int>{0, 16, 33, 50, 90, 107, 124}));
    EXPECT_EQ(ScriptedClock::waits, (std::vector<unsigned int>{13, 14, 14, 14, 14, 13}));
    EXPECT_FALSE(manager.isRunning());
    ScriptedClock::oversleep = 1;
    const std::vector<unsigned int> starts = run(std::vector<unsigned int>(70, 2));
    EXPECT_EQ(starts[61] - starts[1], 1000u); // 60 frames, exactly a second
}

TEST_F(GameManagerTest, StopFinishesTheFrameAndChangesApplyAtOnce) {
    Log& log = sound.log;
    ScriptedState menu(log, "menu"), level(log, "level");
    manager.changeState(&menu); // run must leave whatever is current first
    manager.changeState(&menu); // even the same state is left and entered
    int menuFrames = 0;
    menu.onEvents = [&] {
        if (++menuFrames == 2)
            manager.changeState(&level);
    };
    level.onEvents = [&] { manager.stop(); };
    manager.run(&menu);
    // The sound system is updated once a frame, after the frame is shown.
    EXPECT_EQ(sound.take(), (Log{"menu.enter", "menu.leave", "menu.enter", "menu.leave",
                                 "menu.enter", "menu.events", "menu.update", "swap", "update",
                                 "menu.events", "menu.leave", "level.enter", "level.update", "swap",
                                 "update", "level.events", "level.update", "swap", "update"}));
    EXPECT_EQ(manager.getCurrentState(), &level);
    for (int signal : {SIGTERM, SIGINT}) { // ends the run after the frame in progress
        TerminationSignal::install();
        int frames = 0;
        level.onEvents = [&] {
            if (++frames == 3)
                manager.stop(); // a backstop: the signal must end the run first
            std::raise(signal);
        };
        manager.run(&level);
        EXPECT_EQ(sound.take(), (Log{"level.leave", "level.enter", "level.events", "level.update",
                                     "swap", "update"}));
        TerminationSignal::clear();
        std::signal(signal, SIG_DFL);
    }
}

TEST_F(GameManagerTest, InitSetsThePixelProjectionShiftedByTheViewportCorner) {
    GameManager::setSoundSystem(nullptr);
    manager.init(10, 20, 128, 128, 32, 30, 0, "VELM Tolvek");
    SoundSystem* made = GameManager::getSoundSystem();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getChannelCount(), 200);
    delete made;
    GameManager::setSoundSystem(&sound);
    EXPECT_EQ(GameManager::getFrameRate(), 30);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{-10, -20, 128, 128}));
    GLfloat projection[16], clear[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(std::vector<GLfloat>(projection, projection + 16),
              (std::vector<GLfloat>{2.0f / 128, 0, 0, 0, 0, 2.0f / 128, 0, 0, 0, 0, -1, 0, -1, -1,
                                    0, 1}));
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), (std::vector<GLfloat>{0, 0, 0, 1}));
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_EQ(std::string(title) + "|" + icon, "VELM Tolvek|VELM Tolvek");
    GlContext::reset();
}
