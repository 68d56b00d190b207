#include <filesystem>
#include <gtest/gtest.h>

#include "app/CreditsState.h"
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

// Lets a screen run in the real loop, stopping it after three frames.
class Limited : public GameState {
public:
    explicit Limited(GameState& screen) : screen(screen) {}
    void enter() override { screen.enter(); }
    void leave() override { screen.leave(); }
    void handleEvents() override {
        screen.handleEvents();
        if (++frames == 3)
            GameManager::getInstance()->stop();
    }
    void update() override { screen.update(); }
    GameState& screen;
    int frames = 0;
};

// A blue background at (3, 5); each item green when selected, red when not.
std::string menuFile() {
    const std::string eol = "\r\n";
    const std::string dir = TestImage::tempDir();
    const std::string on = TestImage::solid(dir + "/on.png", 16, 16, 0, 255, 0) + eol;
    const std::string off = TestImage::solid(dir + "/off.png", 16, 16, 255, 0, 0) + eol;
    const std::string background =
        TestImage::solid(dir + "/menu background.png", 16, 16, 0, 0, 255);
    return writeTempFile(
        "Menu.ini", "Title screen" + eol + background + eol + "x:3 y:5 trailing words" + eol +
                        "x:10 y:20" + eol + on + eol + off + "any separator text" + eol +
                        "x:40 y:20" + eol + on + eol + off + eol +
                        "music:Sounds/menu.ogg move:a:b.ogg ok:Sounds/ok.ogg delay:1000" + eol);
}

class MenuTest : public testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        KeyEvents::drain();
        ASSERT_TRUE(menu.load(&level, &credits, menuFile().c_str())) << menu.failure();
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

TEST_F(MenuTest, ReadsTheFileWithCrlfAndDrawsTheSelectionOverTheBackground) {
    frame();
    EXPECT_EQ(std::string() + colourAt(42, 22) + colourAt(12, 20), "rg"); // item 0 selected
    frame({SDLK_DOWN, SDLK_RETURN});
    // Item 1 selected, item 0 over the background, the background's corner.
    EXPECT_EQ(std::string() + colourAt(42, 22) + colourAt(12, 20) + colourAt(4, 6) +
                  colourAt(2, 6) + colourAt(4, 4),
              "grbkk");
    manager->changeState(&level);
    EXPECT_EQ(sound.take(), (Log{"play Sounds/menu.ogg", "play a:b.ogg", "play Sounds/ok.ogg",
                                 "stop Sounds/menu.ogg", "stop Sounds/ok.ogg"}));
    EXPECT_TRUE(sound.loops("Sounds/menu.ogg") && !sound.loops("Sounds/ok.ogg"));
    MenuState missing;
    EXPECT_FALSE(missing.load(&level, &credits, "/nonexistent/Menu.ini"));
    EXPECT_EQ(missing.failure(), "/nonexistent/Menu.ini: cannot open the file");
    EXPECT_EQ(missing.getSelection(), 0);
}

TEST_F(MenuTest, SelectionWrapsBothWaysEveryMoveRestartsItsSoundAndWindowCloseStops) {
    sound.take();
    const std::pair<SDLKey, int> steps[] = {
        {SDLK_UP, 1}, {SDLK_UP, 0}, {SDLK_DOWN, 1}, {SDLK_DOWN, 0}, {SDLK_ESCAPE, 0}};
    for (const auto& [key, selection] : steps) {
        KeyEvents::push(SDL_KEYDOWN, key);
        KeyEvents::push(SDL_KEYUP, key); // releases do nothing
        menu.handleEvents();
        EXPECT_EQ(menu.getSelection(), selection) << key;
    }
    EXPECT_EQ(sound.take(), (Log{"play a:b.ogg", "stop a:b.ogg", "play a:b.ogg", "stop a:b.ogg",
                                 "play a:b.ogg", "stop a:b.ogg", "play a:b.ogg"}));
    Limited limited(menu);
    KeyEvents::push(SDL_QUIT);
    manager->run(&limited);
    EXPECT_EQ(limited.frames, 1);
}

TEST_F(MenuTest, ValidationSoundsAtTheNextUpdateAndIsForgottenOnLeavingElseChangesAfterTheDelay) {
    sound.take();
    KeyEvents::push(SDL_KEYDOWN, SDLK_RETURN);
    menu.handleEvents();
    EXPECT_EQ(sound.take(), Log{}); // the sound waits for the update
    menu.update();                  // starts the timer
    EXPECT_EQ(sound.take(), Log{"play Sounds/ok.ogg"});
    manager->changeState(&level);
    manager->changeState(&menu);
    ScriptedClock::advance(5000);
    frame();
    EXPECT_EQ(manager->getCurrentState(), &menu);
    sound.take();
    frame({SDLK_RETURN});
    EXPECT_EQ(sound.take(), Log{"play Sounds/ok.ogg"}); // a fresh start
    ScriptedClock::advance(600);
    frame({SDLK_RETURN, SDLK_DOWN}); // Return again changes nothing; the selection still moves
    ScriptedClock::advance(400);
    frame(); // exactly the delay: not yet
    EXPECT_EQ(manager->getCurrentState(), &menu);
    ScriptedClock::advance(1);
    frame();
    EXPECT_EQ(manager->getCurrentState(), &credits);
}

TEST_F(MenuTest, CreditsShowFromTheLowerLeftPlayOnceAndEndOnAKeyPress) {
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::string dir = TestImage::tempDir();
    std::filesystem::create_directories(dir + "/Images");
    TestImage::solid(dir + "/Images/credits.png", 16, 8, 255, 0, 0);
    std::filesystem::current_path(dir);
    CreditsState screen;
    std::filesystem::current_path(previous);
    GlContext::reset();
    screen.update();
    EXPECT_EQ(std::string() + colourAt(1, 1) + colourAt(14, 6) + colourAt(20, 4) + colourAt(4, 10),
              "rrkk");
    manager->changeState(&level);
    sound.take();
    Limited releaseOnly(screen), pressed(screen);
    KeyEvents::push(SDL_KEYUP, SDLK_a);
    manager->run(&releaseOnly);
    EXPECT_EQ(releaseOnly.frames, 3); // a release does not end it
    EXPECT_EQ(sound.take(), (Log{"play Sound/music-interface.ogg", "update", "update", "update"}));
    EXPECT_FALSE(sound.loops("Sound/music-interface.ogg"));
    KeyEvents::push(SDL_KEYDOWN, SDLK_a);
    manager->run(&pressed);
    EXPECT_EQ(pressed.frames, 1);
    EXPECT_EQ(sound.take("interface"),
              (Log{"stop Sound/music-interface.ogg", "play Sound/music-interface.ogg"}));
    TransitionState transition; // hands over at its update
    transition.setNextState(&level);
    manager->changeState(&transition);
    transition.update();
    EXPECT_EQ(manager->getCurrentState(), &level);
}
