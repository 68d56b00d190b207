#include <filesystem>
#include <gtest/gtest.h>

#include "app/CreditsState.h"
#include "app/GameManager.h"
#include "app/MenuState.h"
#include "app/TransitionState.h"
#include "support/GlContext.h"
#include "support/IdleState.h"
#include "support/KeyEvents.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

using GlContext::colourAt;
using Log = std::vector<std::string>;

// Lets a screen run in the real loop, stopping it after a few frames.
class Limited : public GameState {
public:
    Limited(GameState& screen, int limit) : screen(screen), limit(limit) {}
    void enter() override { screen.enter(); }
    void leave() override { screen.leave(); }
    void handleEvents() override {
        screen.handleEvents();
        if (++frames == limit)
            GameManager::getInstance()->stop();
    }
    void update() override { screen.update(); }
    GameState& screen;
    int limit;
    int frames = 0;
};

// A blue background at (3, 5); each item green when selected, red when not.
std::string menuFile(const char* eol, int delay) {
    const std::string dir = TestImage::tempDir(), e = eol;
    const std::string on = TestImage::solid(dir + "/on.png", 16, 16, 0, 255, 0);
    const std::string off = TestImage::solid(dir + "/off.png", 16, 16, 255, 0, 0);
    return writeTempFile(
        "Menu.ini",
        "Title screen" + e + TestImage::solid(dir + "/menu background.png", 16, 16, 0, 0, 255) + e +
            "x:3 y:5 trailing words" + e + "x:10 y:20" + e + on + e + e + off + e +
            "any separator text" + e + "x:40 y:20" + e + on + e + e + off + e + e +
            "music:Sounds/menu.ogg move:a:b.ogg ok:Sounds/ok.ogg delay:" + std::to_string(delay) +
            e);
}

class MenuTest : public testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        KeyEvents::drain();
        ASSERT_TRUE(menu.load(&level, &credits, menuFile("\n", 1000).c_str())) << menu.failure();
        manager->changeState(&menu);
    }
    // One frame as the manager runs it.
    void frame(std::initializer_list<SDLKey> pressed = {}) {
        for (SDLKey key : pressed)
            KeyEvents::push(SDL_KEYDOWN, key);
        menu.handleEvents();
        GlContext::reset();
        if (manager->getCurrentState() == &menu)
            menu.update();
    }
    GameManager* manager = GameManager::getInstance();
    ScriptedClock clock{2000};
    RecordingSoundSystem sound;
    IdleState level, credits;
    MenuState menu;
};

} // namespace

TEST_F(MenuTest, ReadsTheFileWithCrlfOrLfAndDrawsTheSelection) {
    manager->changeState(&level);
    for (const char* eol : {"\n", "\r\n"}) {
        MenuState read;
        ASSERT_TRUE(read.load(&level, &credits, menuFile(eol, 0).c_str())) << read.failure();
        sound.take();
        manager->changeState(&read);
        KeyEvents::push(SDL_KEYDOWN, SDLK_DOWN);
        KeyEvents::push(SDL_KEYDOWN, SDLK_RETURN);
        read.handleEvents();
        GlContext::reset();
        read.update();
        EXPECT_EQ(colourAt(42, 22), 'g'); // item 1, now selected
        EXPECT_EQ(colourAt(12, 20), 'r'); // item 0, over the background
        EXPECT_EQ(colourAt(4, 6), 'b');
        EXPECT_EQ(colourAt(2, 6), 'k');
        EXPECT_EQ(colourAt(4, 4), 'k');
        manager->changeState(&level);
        EXPECT_EQ(sound.take(), (Log{"play Sounds/menu.ogg", "play a:b.ogg", "play Sounds/ok.ogg",
                                     "stop Sounds/menu.ogg", "stop Sounds/ok.ogg"}));
        EXPECT_TRUE(sound.loops("Sounds/menu.ogg"));
        EXPECT_FALSE(sound.loops("a:b.ogg") || sound.loops("Sounds/ok.ogg"));
    }
    MenuState missing;
    EXPECT_FALSE(missing.load(&level, &credits, "/nonexistent/Menu.ini"));
    EXPECT_EQ(missing.failure(), "/nonexistent/Menu.ini: cannot open the file");
}

TEST_F(MenuTest, SelectionWrapsBothWaysAndEveryMoveRestartsItsSound) {
    sound.take();
    const struct {
        SDLKey key;
        int selection;
    } steps[] = {{SDLK_UP, 1}, {SDLK_UP, 0}, {SDLK_DOWN, 1}, {SDLK_DOWN, 0}, {SDLK_ESCAPE, 0}};
    for (const auto& step : steps) {
        KeyEvents::push(SDL_KEYDOWN, step.key);
        KeyEvents::push(SDL_KEYUP, step.key); // releases do nothing
        menu.handleEvents();
        EXPECT_EQ(menu.getSelection(), step.selection) << step.key;
    }
    EXPECT_EQ(sound.take(), (Log{"play a:b.ogg", "stop a:b.ogg", "play a:b.ogg", "stop a:b.ogg",
                                 "play a:b.ogg", "stop a:b.ogg", "play a:b.ogg"}));
    EXPECT_EQ(manager->getCurrentState(), &menu);
}

TEST_F(MenuTest, ValidationWaitsForTheDelayAndTakesTheSelectionThen) {
    sound.take();
    KeyEvents::push(SDL_KEYDOWN, SDLK_RETURN);
    menu.handleEvents();
    EXPECT_EQ(sound.take(), Log{}); // the sound waits for the update
    menu.update();                  // starts the timer
    EXPECT_EQ(sound.take(), Log{"play Sounds/ok.ogg"});
    ScriptedClock::advance(600);
    frame({SDLK_RETURN, SDLK_DOWN}); // Return again changes nothing; the selection still moves
    ScriptedClock::advance(400);
    frame(); // exactly the delay: not yet
    EXPECT_EQ(manager->getCurrentState(), &menu);
    ScriptedClock::advance(1);
    frame();
    EXPECT_EQ(manager->getCurrentState(), &credits);
}

TEST_F(MenuTest, EnteringAgainForgetsAValidationInProgress) {
    frame({SDLK_RETURN});
    manager->changeState(&level);
    manager->changeState(&menu);
    ScriptedClock::advance(5000);
    frame();
    EXPECT_EQ(manager->getCurrentState(), &menu);
    sound.take();
    frame({SDLK_RETURN});
    EXPECT_EQ(sound.take(), Log{"play Sounds/ok.ogg"}); // a fresh start
}

TEST_F(MenuTest, AZeroDelayChangesAtTheSecondUpdate) {
    MenuState quick;
    ASSERT_TRUE(quick.load(&level, &credits, menuFile("\n", 0).c_str()));
    manager->changeState(&quick);
    KeyEvents::push(SDL_KEYDOWN, SDLK_RETURN);
    quick.handleEvents();
    quick.update();
    EXPECT_EQ(manager->getCurrentState(), &quick);
    ScriptedClock::advance(1);
    quick.update();
    EXPECT_EQ(manager->getCurrentState(), &level);
}

TEST_F(MenuTest, WindowCloseStopsTheMenu) {
    Limited limited(menu, 5);
    KeyEvents::push(SDL_QUIT);
    manager->run(&limited);
    EXPECT_EQ(limited.frames, 1);
}

TEST_F(MenuTest, CreditsShowFromTheLowerLeftPlayOnceAndEndOnAKeyPress) {
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::string dir = TestImage::tempDir();
    std::filesystem::create_directories(dir + "/Images");
    TestImage::solid(dir + "/Images/credits.png", 16, 8, 255, 0, 0);
    std::filesystem::current_path(dir);
    {
        CreditsState screen;
        GlContext::reset();
        screen.update();
        EXPECT_EQ(std::string() + colourAt(1, 1) + colourAt(14, 6) + colourAt(20, 4) +
                      colourAt(4, 10),
                  "rrkk");
        manager->changeState(&level);
        sound.take();
        Limited releaseOnly(screen, 3);
        KeyEvents::push(SDL_KEYUP, SDLK_a);
        manager->run(&releaseOnly);
        EXPECT_EQ(releaseOnly.frames, 3); // a release does not end it
        EXPECT_EQ(sound.take(),
                  (Log{"play Sound/music-interface.ogg", "update", "update", "update"}));
        EXPECT_FALSE(sound.loops("Sound/music-interface.ogg"));
        Limited pressed(screen, 3);
        KeyEvents::push(SDL_KEYDOWN, SDLK_a);
        manager->run(&pressed);
        EXPECT_EQ(pressed.frames, 1);
    }
    std::filesystem::current_path(previous);
}

TEST_F(MenuTest, TransitionHandsOverAtItsUpdateLeavingTheEvents) {
    TransitionState transition;
    transition.setNextState(&level);
    manager->changeState(&transition);
    KeyEvents::push(SDL_KEYDOWN, SDLK_a);
    transition.handleEvents();
    SDL_Event pending;
    EXPECT_EQ(SDL_PollEvent(&pending), 1);
    transition.update();
    EXPECT_EQ(manager->getCurrentState(), &level);
}
