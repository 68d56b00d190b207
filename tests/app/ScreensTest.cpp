#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <xercesc/util/PlatformUtils.hpp>

#include "app/CreditsState.h"
#include "app/LevelState.h"
#include "app/LoaderXML.h"
#include "app/MenuState.h"
#include "gameplay/Heros.h"
#include "gameplay/Level.h"
#include "gameplay/TargetGroup.h"
#include "graphics/Collision.h"
#include "graphics/Rectangle.h"
#include "support/GlContext.h"
#include "support/HeroFixture.h"
#include "support/IdleState.h"
#include "support/LevelFixture.h"
#include "support/RecordingSoundSystem.h"
#include "support/ScriptedClock.h"
#include "support/ScriptedRandom.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

using GlContext::colours;
using Log = std::vector<std::string>;

// A screen run frame by frame as the manager runs it, on the recording sound system.
class ScreenTest : public testing::Test {
protected:
    static void push(Uint8 type, SDLKey key) { // input as the screens read it
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
    void frame(GameState& screen, std::initializer_list<SDLKey> pressed = {}) {
        for (SDLKey key : pressed)
            push(SDL_KEYDOWN, key);
        screen.handleEvents();
        GlContext::reset();
        if (manager->getCurrentState() == &screen)
            screen.update();
    }
    GameManager* manager = GameManager::getInstance();
    RecordingSoundSystem sound;
    IdleState level, credits;
};

// A blue background at (3, 5); each item green when selected, red when not.
class MenuTest : public ScreenTest {
protected:
    void SetUp() override {
        const std::string eol = "\r\n", dir = tempDir();
        const std::string on = TestImage::solid(dir + "/on.bmp", 16, 16, 0, 255, 0) + eol;
        const std::string off = TestImage::solid(dir + "/off.bmp", 16, 16, 255, 0, 0) + eol;
        const std::string file = writeTempFile(
            "Menu.ini", "Title" + eol + TestImage::solid(dir + "/bg.bmp", 16, 16, 0, 0, 255) + eol +
                            "x:3 y:5 trailing words" + eol + "x:10 y:20" + eol + on + eol + off +
                            "any separator text" + eol + "x:40 y:20" + eol + on + eol + off + eol +
                            "music:Sounds/menu.ogg move:a:b.ogg ok:Sounds/ok.ogg delay:1000" + eol);
        ASSERT_TRUE(menu.load(&level, &credits, file.c_str())) << menu.failure();
        manager->changeState(&menu);
    }
    ScriptedClock clock{2000};
    MenuState menu;
};

// Runs inside a folder laid out like the game's data folder.
class LevelStateTest : public ScreenTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(files.dir + "/Levels");
        std::filesystem::copy_file(HeroFixture::writeHeroFile(true),
                                   files.dir + "/Levels/Heros.ini");
        std::filesystem::copy_file(files.levelFile, files.dir + "/Levels/Niveau1.ini");
        std::filesystem::current_path(files.dir);
        ASSERT_TRUE(screen.init(&credits)) << screen.failure();
        manager->changeState(&screen);
        hero = screen.getHero();
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        Collision::clearCollisions();
    }
    void landAs(HerosState standing) {
        for (int i = 0; i < 300 && !(hero->getState() == standing && hero->isGrounded()); ++i) {
            frame(screen);
            ScriptedClock::advance(17);
        }
        ASSERT_EQ(hero->getState(), standing);
    }
    Target* aimed() { return screen.getLevel()->getTargetGroup()->getCurrentTarget(); }

    ScriptedClock clock{5000};
    ScriptedRandom random;
    LevelFixture files;
    const std::filesystem::path previous = std::filesystem::current_path();
    LevelState screen;
    Heros* hero = nullptr;
};

} // namespace

TEST_F(MenuTest, ReadsTheFileWithCrlfWrapsTheSelectionAndDrawsItOverTheBackground) {
    frame(menu); // item 0 selected, over the background added after it
    EXPECT_EQ(colours({{42, 22}, {12, 20}}), "rg");
    const std::pair<SDLKey, int> steps[] = {
        {SDLK_UP, 1}, {SDLK_UP, 0}, {SDLK_DOWN, 1}, {SDLK_DOWN, 0}, {SDLK_ESCAPE, 0}};
    for (const auto& [key, selection] : steps) {
        push(SDL_KEYDOWN, key);
        push(SDL_KEYUP, key); // releases do nothing
        menu.handleEvents();
        EXPECT_EQ(menu.getSelection(), selection) << key;
    }
    EXPECT_EQ(sound.take(),
              (Log{"play Sounds/menu.ogg", "play a:b.ogg", "stop a:b.ogg", "play a:b.ogg",
                   "stop a:b.ogg", "play a:b.ogg", "stop a:b.ogg", "play a:b.ogg"}));
    frame(menu, {SDLK_DOWN, SDLK_RETURN});
    // Item 1 selected, item 0 over the background, the background's corner.
    EXPECT_EQ(colours({{42, 22}, {12, 20}, {4, 6}, {2, 6}, {4, 4}}), "grbkk");
    manager->changeState(&level);
    EXPECT_EQ(sound.take(), (Log{"stop a:b.ogg", "play a:b.ogg", "play Sounds/ok.ogg",
                                 "stop Sounds/menu.ogg", "stop Sounds/ok.ogg"}));
    EXPECT_TRUE(sound.loops("Sounds/menu.ogg") && !sound.loops("Sounds/ok.ogg"));
}

TEST_F(MenuTest, ValidationSoundsAtTheNextUpdateAndIsForgottenOnLeavingElseChangesAfterTheDelay) {
    push(SDL_KEYDOWN, SDLK_RETURN);
    menu.handleEvents();
    EXPECT_EQ(sound.take("ok"), Log{}); // the sound waits for the update
    menu.update();                      // starts the timer
    EXPECT_EQ(sound.take("ok"), Log{"play Sounds/ok.ogg"});
    manager->changeState(&level);
    manager->changeState(&menu);
    ScriptedClock::advance(5000);
    frame(menu);
    EXPECT_EQ(sound.take("ok"), Log{"stop Sounds/ok.ogg"}); // forgotten: no sound, no change
    frame(menu, {SDLK_RETURN});
    EXPECT_EQ(sound.take("ok"), Log{"play Sounds/ok.ogg"}); // a fresh start
    ScriptedClock::advance(600);
    frame(menu, {SDLK_RETURN, SDLK_DOWN}); // Return again changes nothing; the selection moves
    ScriptedClock::advance(401);
    frame(menu);
    EXPECT_EQ(manager->getCurrentState(), &credits);
}

TEST_F(LevelStateTest, KeysDriveTheHeroAndSpaceFiresOnlyWhenTheHeroShoots) {
    landAs(StandRight);
    EXPECT_EQ(colours({{45, 30}}), "w"); // the white hero drawn
    const std::tuple<Uint8, SDLKey, HerosState> steps[] = {
        {SDL_KEYDOWN, SDLK_RIGHT, WalkRight},  {SDL_KEYUP, SDLK_RIGHT, StandRight},
        {SDL_KEYDOWN, SDLK_RCTRL, StandRight}, {SDL_KEYDOWN, SDLK_LEFT, WalkLeft},
        {SDL_KEYUP, SDLK_LEFT, StandLeft},     {SDL_KEYDOWN, SDLK_LCTRL, AirLeft}};
    for (const auto& [type, key, state] : steps) {
        push(type, key);
        frame(screen);
        EXPECT_EQ(hero->getState(), state) << key;
    }
    // In the air Space is refused, so nothing is fired at the target under the shot point.
    hero->setPosition(Position(110, 150)); // shot point (130, 120): the first target
    frame(screen, {SDLK_SPACE});
    EXPECT_EQ(aimed(), nullptr);
    push(SDL_KEYUP, SDLK_SPACE);
    landAs(StandLeft);
    hero->setPosition(Position(110, 150));
    frame(screen, {SDLK_SPACE});
    EXPECT_EQ(hero->getState(), ShootLeft);
    EXPECT_NE(aimed(), nullptr);
    frame(screen, {SDLK_ESCAPE}); // hands over at once
    EXPECT_EQ(manager->getCurrentState(), &credits);
}

TEST_F(LevelStateTest, TheIntroPlaysThenTheLoopTakesOverOnce) {
    const std::string intro = "Sounds/music-ingame-a.ogg", loop = "Sounds/music-ingame-b.ogg";
    EXPECT_EQ(sound.take("music"), Log{"play " + intro});
    ScriptedClock::advance(106718);
    screen.update(); // exactly the intro's length: not yet
    EXPECT_EQ(sound.take("music"), Log{});
    ScriptedClock::advance(1);
    screen.update();
    screen.update();
    EXPECT_EQ(sound.take("music"), (Log{"stop " + intro, "play " + loop}));
    EXPECT_TRUE(sound.loops(loop) && !sound.loops(intro));
    EXPECT_EQ(sound.volumes, (std::map<std::string, float>{{intro, 0.8f}, {loop, 0.8f}}));
}

TEST_F(MenuTest, CreditsPlayTheirMusicOnceOnEnter) {
    CreditsState shown;
    manager->changeState(&shown);
    shown.update();
    EXPECT_EQ(sound.take("interface"), Log{"play Sound/music-interface.ogg"});
    EXPECT_FALSE(sound.loops("Sound/music-interface.ogg"));
    manager->changeState(&level);
    EXPECT_EQ(sound.take("interface"), Log{"stop Sound/music-interface.ogg"});
}

TEST(LoaderXML, ReadsTheDocumentElementsAttributesAndRefusesEverythingElse) {
    const std::pair<const char*, std::array<int, 4>> cases[] = {
        {"<viewport x=\"0\" y=\"0\" width=\"1024\" height=\"768\"/>", {0, 0, 1024, 768}},
        // atof/atoi leniency: truncated corner, trailing letters ignored, blanks skipped.
        {"<any x=\"12.7\" y=\" 20\" width=\"640px\" height=\"480\"/>", {12, 20, 640, 480}},
        // Well-formed is enough: rules in a DOCTYPE are not enforced.
        {"<!DOCTYPE v [<!ELEMENT v EMPTY>]><v width=\"800\" height=\"600\"><c/></v>",
         {0, 0, 800, 600}},
        {"<v width=\"0\" height=\"768\"/>", {}}, // refused: no rectangle, all zero
        {"", {}},
        {"this is not xml", {}},
        {"<v width=\"1024\" height=\"768\">", {}},
        {"<v width=\"1024\" height=\"768\"/><w/>", {}},
        {"<v a:b=\"1\" width=\"800\" height=\"600\"/>", {0, 0, 800, 600}}}; // no namespaces
    for (const auto& [xml, bounds] : cases) {
        std::unique_ptr<Rectangle> r(LoaderXML().load(writeTempFile("Viewport.xml", xml)));
        Position origin(0, 0);
        int w = 0, h = 0;
        if (r)
            r->getBounds(origin, w, h);
        const int x = static_cast<int>(origin.getX()), y = static_cast<int>(origin.getY());
        EXPECT_EQ((std::array<int, 4>{x, y, w, h}), bounds) << xml;
        // The parser's platform exists only while a file is read, whatever the outcome.
        EXPECT_EQ(xercesc::XMLPlatformUtils::fgMemoryManager, nullptr) << xml;
    }
    EXPECT_EQ(LoaderXML().load("/nonexistent/Levels/Viewport.xml"), nullptr);
}
