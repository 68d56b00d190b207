#include <SDL/SDL.h>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/CreditsState.h"
#include "app/GameManager.h"
#include "app/MenuState.h"
#include "app/TransitionState.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"
#include "support/ScriptedRandom.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

class Target : public GameState {
public:
    void handleEvents() override {}
    void enter() override { ++entered; }
    int entered = 0;
};

void push(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

std::string menuFile(const std::string& dir, const char* eol, int delay) {
    TestImage red(16, 16), green(16, 16);
    red.fill(0, 0, 16, 16, 255, 0, 0, 255);
    green.fill(0, 0, 16, 16, 0, 255, 0, 255);
    red.save(dir + "/menu background.png");
    green.save(dir + "/on.png");
    red.save(dir + "/off.png");
    const std::string e = eol;
    const std::string text =
        "Title screen" + e + dir + "/menu background.png" + e + "x:0 y:0 trailing words" + e +
        "x:10 y:20" + e + dir + "/on.png" + e + e + dir + "/off.png" + e + "any separator text" +
        e + "x:40 y:20" + e + dir + "/on.png" + e + e + dir + "/off.png" + e + e +
        "music:Sounds/menu.ogg move:a:b.ogg ok:Sounds/ok.ogg delay:" + std::to_string(delay) + e;
    return writeTempFile("Menu.ini", text);
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        GlContext::reset();
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
    }
    ScriptedClock clock{2000};
    Target level, credits;
};

} // namespace

TEST_F(MenuTest, ReadsTheFileWithCrlfOrLf) {
    for (const char* eol : {"\n", "\r\n"}) {
        MenuState menu;
        ASSERT_TRUE(menu.load(&level, &credits, menuFile(TestImage::tempDir(), eol, 1000).c_str()))
            << menu.failure();
        EXPECT_NE(menu.getBackground()->getTexture(), 0u); // path with a space, whole
        EXPECT_EQ(menu.getItemPicture(0, true)->getProperties().getPosition(), Position(10, 20));
        EXPECT_EQ(menu.getItemPicture(1, false)->getProperties().getPosition(), Position(40, 20));
        EXPECT_EQ(menu.getItemPicture(1, true)->getProperties().getDepth(), 1.0f);
        EXPECT_NE(menu.getItemPicture(1, false)->getTexture(), 0u);
        EXPECT_EQ(menu.getValidateDelay(), 1000);
        const std::list<Picture*>& shown = menu.getMenuObject()->getGraphic()->getPictures();
        EXPECT_EQ(std::vector<Picture*>(shown.begin(), shown.end()),
                  (std::vector<Picture*>{menu.getItemPicture(0, true),
                                         menu.getItemPicture(1, false), menu.getBackground()}));
        EXPECT_EQ(menu.getObjects().size(), 1u);
    }
    MenuState missing;
    EXPECT_FALSE(missing.load(&level, &credits, "/nonexistent/Menu.ini"));
    EXPECT_EQ(missing.failure(), "/nonexistent/Menu.ini: cannot open the file");
}

TEST_F(MenuTest, SelectionWrapsAndSwapsThePictures) {
    MenuState menu;
    ASSERT_TRUE(menu.load(&level, &credits, menuFile(TestImage::tempDir(), "\n", 0).c_str()));
    GameManager::getInstance()->changeState(&menu);
    push(SDL_KEYDOWN, SDLK_UP);
    menu.handleEvents();
    EXPECT_EQ(menu.getSelection(), 1);
    const std::list<Picture*>& shown = menu.getMenuObject()->getGraphic()->getPictures();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), menu.getItemPicture(1, true)), 1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), menu.getItemPicture(0, false)), 1);
    EXPECT_EQ(shown.size(), 3u);
    // Drawn: item 1 selected (green) at x 40, item 0 not selected (red) at x 10.
    GlContext::reset();
    menu.update();
    EXPECT_GT(GlContext::pixel(45, 25).g, 200);
    EXPECT_GT(GlContext::pixel(15, 25).r, 200);
    EXPECT_LT(GlContext::pixel(15, 25).g, 50);

    push(SDL_KEYDOWN, SDLK_DOWN);
    push(SDL_KEYDOWN, SDLK_ESCAPE); // ignored
    push(SDL_KEYUP, SDLK_DOWN);     // releases too
    menu.handleEvents();
    EXPECT_EQ(menu.getSelection(), 0);
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &menu);
    push(SDL_KEYDOWN, SDLK_DOWN);
    push(SDL_KEYDOWN, SDLK_DOWN);
    menu.handleEvents();
    EXPECT_EQ(menu.getSelection(), 0);
}

TEST_F(MenuTest, ValidationWaitsForTheDelayAndTakesTheSelectionThen) {
    MenuState menu;
    ASSERT_TRUE(menu.load(&level, &credits, menuFile(TestImage::tempDir(), "\n", 1000).c_str()));
    GameManager::getInstance()->changeState(&menu);
    push(SDL_KEYDOWN, SDLK_RETURN);
    menu.handleEvents();
    menu.update(); // starts the timer
    ScriptedClock::advance(600);
    push(SDL_KEYDOWN, SDLK_RETURN); // again: changes nothing
    push(SDL_KEYDOWN, SDLK_DOWN);   // still moves the selection
    menu.handleEvents();
    menu.update();
    ScriptedClock::advance(400);
    menu.update(); // exactly the delay: not yet
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &menu);
    ScriptedClock::advance(1);
    menu.update();
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &credits);

    // Entering again resets the validation; a zero delay changes on the second update.
    MenuState quick;
    ASSERT_TRUE(quick.load(&level, &credits, menuFile(TestImage::tempDir(), "\n", 0).c_str()));
    GameManager::getInstance()->changeState(&quick);
    push(SDL_KEYDOWN, SDLK_RETURN);
    quick.handleEvents();
    quick.update();
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &quick);
    ScriptedClock::advance(1);
    quick.update();
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &level);
}

namespace {

// Lets a screen run in the real loop, stopping it after a few frames.
class Limited : public GameState {
public:
    Limited(GameState& screen, int limit) : screen(screen), limit(limit) {}
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

} // namespace

TEST_F(MenuTest, WindowCloseStopsTheMenu) {
    MenuState menu;
    ASSERT_TRUE(menu.load(&level, &credits, menuFile(TestImage::tempDir(), "\n", 0).c_str()));
    Limited limited(menu, 5);
    push(SDL_QUIT);
    GameManager::getInstance()->run(&limited);
    EXPECT_EQ(limited.frames, 1);
}

TEST_F(MenuTest, CreditsShowFromTheLowerLeftAndEndOnAKeyPress) {
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::string dir = TestImage::tempDir();
    std::filesystem::create_directories(dir + "/Images");
    TestImage image(16, 8);
    image.fill(0, 0, 16, 8, 255, 0, 0, 255);
    image.save(dir + "/Images/credits.png");
    std::filesystem::current_path(dir);
    {
        CreditsState screen;
        GlContext::reset();
        screen.update();
        EXPECT_GT(GlContext::pixel(2, 2).r, 200);
        EXPECT_GT(GlContext::pixel(14, 6).r, 200);
        EXPECT_EQ(GlContext::pixel(20, 4).r, 0);
        EXPECT_EQ(GlContext::pixel(4, 10).r, 0);

        Limited releaseOnly(screen, 3);
        push(SDL_KEYUP, SDLK_a);
        GameManager::getInstance()->run(&releaseOnly);
        EXPECT_EQ(releaseOnly.frames, 3); // a release does not end it

        Limited pressed(screen, 3);
        push(SDL_KEYDOWN, SDLK_a);
        push(SDL_KEYDOWN, SDLK_b);
        GameManager::getInstance()->run(&pressed);
        EXPECT_EQ(pressed.frames, 1);
    }
    std::filesystem::current_path(previous);
}

TEST_F(MenuTest, TransitionHandsOverAtItsUpdate) {
    TransitionState transition;
    transition.setNextState(&level);
    GameManager::getInstance()->changeState(&transition);
    push(SDL_KEYDOWN, SDLK_a);
    transition.handleEvents(); // leaves events for the next state
    SDL_Event pending;
    EXPECT_EQ(SDL_PollEvent(&pending), 1);
    transition.update();
    EXPECT_EQ(GameManager::getInstance()->getCurrentState(), &level);
}
