#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/FramePacer.h"
#include "app/GameRandom.h"
#include "app/GameState.h"
#include "app/TerminationSignal.h"
#include "graphics/BitmapPicture.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

Log* logged = nullptr; // the sound log of the test running

// Logs its hooks between the swaps and sound updates; a translation left from a frame shows.
struct ScriptedState : GameState {
    explicit ScriptedState(std::string name) : name(std::move(name)) {}
    void enter() override { logged->push_back(name + ".enter"); }
    void leave() override { logged->push_back(name + ".leave"); }
    void handleEvents() override {
        logged->push_back(name + ".events");
        onEvents();
    }
    void update() override {
        GLfloat modelview[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        logged->push_back(name + (modelview[12] == 0 ? ".update" : ".moved"));
        glTranslatef(1, 0, 0);
    }
    std::function<void()> onEvents = [] {};
    std::string name;
};

class FreshManager : public GameManager {};

struct GameManagerTest : testing::Test {
    void SetUp() override {
        GameManager::setFrameRate(60);
        logged = &sound.log;
        GameManager::setPresenter([] { logged->push_back("swap"); });
    }
    void TearDown() override { GameManager::setPresenter(nullptr); }
    // Runs frames of the given work (ms each); answers when each frame started.
    std::vector<unsigned int> run(const std::vector<unsigned int>& work) {
        ScriptedState state("s");
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
    ScriptedClock clock{0};
    RecordingSoundSystem sound;
    FreshManager manager; // not the game's: nothing left over from other tests
};

} // namespace

// The game's own generator gives glibc's sequence, so a play's waves replay under any C library.
TEST(GameRandom, GivesTheCLibrarysSequenceForAnySeed) {
    for (const unsigned int seed : {1u, 0u, 1234u, 0x9e3779b9u, 0xffffffffu}) {
        GameRandom::seed(seed);
        std::srand(seed);
        for (int i = 0; i < 200000; ++i) // enough to meet values on the scale's edges
            ASSERT_EQ(GameRandom::next(), std::rand() * 32768LL / 2147483648LL) << seed << " " << i;
    }
}

TEST(FramePacer, BudgetsSpreadTheFractionOverFramesWithoutDrift) {
    const unsigned int start = GameClock::now();
    GameClock::sleep(20); // the real clock and wait, with nothing installed; the whole-ms
    EXPECT_GE(GameClock::now() - start, 19u); // ticks, on another clock, may read 19.x as 19
    for (const auto& [rate, first] :
         {std::pair{32, std::vector<int>{31, 31, 31, 32}}, {0, {1000, 1000}}}) {
        FramePacer pacer(rate); // a rate of 0 never divides by zero
        std::vector<int> budgets;
        for (size_t i = 0; i < first.size(); ++i)
            budgets.push_back(pacer.nextBudget());
        EXPECT_EQ(budgets, first) << rate;
    }
    // The tick counter wrapping round does not make a huge wait.
    EXPECT_EQ(FramePacer::delayFor(16, 0xFFFFFFFEu, 3u), 11);
}

// A shot that lands takes itself off the screen in its own update: the walk goes on.
TEST(GameState, AnObjectLeavingInItsOwnUpdateLeavesTheWalkWhole) {
    ScriptedState screen("s");
    struct Leaving : GameObject {
        void update(unsigned int) override { screen->removeObject(this); }
        GameState* screen = nullptr;
    } first, second;
    first.screen = second.screen = &screen;
    screen.addObject(&first);
    screen.addObject(&second);
    screen.GameState::update();
    EXPECT_TRUE(screen.getObjects().empty()); // both updated, so both gone
}

TEST_F(GameManagerTest, FramesWaitOutTheirBudgetAnOverrunIsNotMadeUpAndOversleepIsGivenBack) {
    // Budgets 16, 17, 17, 16, 17, 17: after the overrun the next starts at once.
    EXPECT_EQ(run({3, 3, 3, 40, 3, 3, 3}),
              (std::vector<unsigned int>{0, 16, 33, 50, 90, 107, 124}));
    EXPECT_EQ(ScriptedClock::waits, (std::vector<unsigned int>{13, 14, 14, 14, 14, 13}));
    ScriptedClock::waits.clear(); // a fit waits nothing, a frame 1 ms short still waits
    EXPECT_EQ(run({16, 16, 3}), (std::vector<unsigned int>{140, 156, 173}));
    EXPECT_EQ(ScriptedClock::waits, (std::vector<unsigned int>{1, 14}));
    EXPECT_FALSE(manager.isRunning());
    ScriptedClock::oversleep = 1;
    const std::vector<unsigned int> starts = run(std::vector<unsigned int>(70, 2));
    EXPECT_EQ(starts[61] - starts[1], 1000u); // 60 frames, exactly a second
}

TEST_F(GameManagerTest, StopFinishesTheFrameAndChangesApplyAtOnce) {
    ScriptedState menu("menu"), level("level");
    manager.changeState(&menu); // run must leave whatever is current first, even itself
    menu.onEvents = [&] { manager.changeState(&level); };
    level.onEvents = [&] { manager.stop(); };
    manager.run(&menu);
    // The sound system is updated once a frame, after the frame is shown.
    EXPECT_EQ(sound.take(), (Log{"menu.enter", "menu.leave", "menu.enter", "menu.events",
                                 "menu.leave", "level.enter", "level.update", "swap", "update",
                                 "level.events", "level.update", "swap", "update"}));
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

// After a switch, in a new GL context or the same one, the pictures draw again.
TEST_F(GameManagerTest, NoVideoExitsWith1SwitchesKeepThePicturesAndAFailedOneKeepsTheMode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // not a fork sharing our X link
    EXPECT_EXIT((SDL_QuitSubSystem(SDL_INIT_VIDEO), setenv("SDL_VIDEODRIVER", "none", 1),
                 manager.init(0, 0, 8, 8, 32, 30, 0, "")),
                testing::ExitedWithCode(1), "");
    std::signal(SIGTERM, SIG_IGN); // init puts the game's flag in its place
    ASSERT_TRUE(manager.init(0, 0, GlContext::kWidth, GlContext::kHeight, 32, 60, 0, ""));
    EXPECT_TRUE(std::raise(SIGTERM) == 0 && TerminationSignal::received());
    TerminationSignal::clear();
    std::signal(SIGTERM, SIG_DFL);
    BitmapPicture green(TestImage::solid(tempDir() + "/green.bmp", 8, 8, 0, 255, 0),
                        GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(green.loadTexture());
    const auto shown = [&] {
        GlContext::reset();
        green.draw();
        return GlContext::colours({{4, 4}, {12, 4}});
    };
    EXPECT_TRUE(manager.switchWindow() && manager.isFullScreen() && manager.switchWindow() &&
                !manager.isFullScreen());
    EXPECT_EQ(shown(), "gk");
    GameManager::setModeSetter([](int w, int h, int bpp, Uint32 flags) {
        return (flags & SDL_FULLSCREEN) ? nullptr : SDL_SetVideoMode(w, h, bpp, flags);
    });
    EXPECT_FALSE(manager.switchWindow() || manager.isFullScreen());
    EXPECT_EQ(shown(), "gk");
    // A full screen kept from an earlier game that this display refuses: a window.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(
        manager.init(0, 0, GlContext::kWidth, GlContext::kHeight, 32, 60, SDL_FULLSCREEN, ""));
    EXPECT_FALSE(manager.isFullScreen());
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("tolvek: no full screen"), 0u);
    GameManager::setModeSetter(
        [](int, int, int, Uint32) -> SDL_Surface* { return SDL_SetError("no visual"), nullptr; });
    EXPECT_FALSE(manager.init(0, 0, GlContext::kWidth, GlContext::kHeight, 32, 60, 0, ""));
    EXPECT_EQ(manager.failure(), "no visual");
    GameManager::setModeSetter(nullptr);
    EXPECT_EQ(shown(), "gk");
}
