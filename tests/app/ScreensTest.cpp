#include <xercesc/util/PlatformUtils.hpp>

#include "app/CreditsState.h"
#include "app/LoaderXML.h"
#include "app/MenuState.h"
#include "graphics/Rectangle.h"
#include "support/ScreenTest.h"
#include "support/ScriptedClock.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

// A blue background at (3, 5); each item green when selected, red when not.
struct MenuTest : ScreenTest {
    void SetUp() override {
        const std::string eol = "\r\n", dir = tempDir();
        const std::string on = TestImage::solid(dir + "/on.bmp", 16, 16, 0, 255, 0) + eol;
        const std::string off = TestImage::solid(dir + "/off.bmp", 16, 16, 255, 0, 0) + eol;
        const std::string file = writeTempFile(
            "Menu.ini", "Title" + eol + TestImage::solid(dir + "/bg.bmp", 16, 16, 0, 0, 255) + eol +
                            "x:3 y:5 trailing words" + eol + "x:10 y:20" + eol + on + eol + off +
                            "any separator text" + eol + "x:40 y:20" + eol + on + eol + off + eol +
                            "music:Sounds/menu.ogg move:a:b.ogg ok:Sounds/ok.ogg delay:1000" + eol);
        ASSERT_TRUE(menu.load(&idle, &credits, file.c_str())) << menu.failure();
        manager->changeState(&menu);
    }
    ScriptedClock clock{2000};
    MenuState menu;
};

} // namespace

TEST_F(MenuTest, ReadsTheFileWithCrlfWrapsTheSelectionAndDrawsItOverTheBackground) {
    frame(menu, {SDLK_DOWN, SDLK_RETURN});
    // Item 1 selected, item 0 over the background, the background's corner.
    EXPECT_EQ(GlContext::colours({{42, 22}, {12, 20}, {4, 6}, {2, 6}, {4, 4}}), "grbkk");
    manager->changeState(&idle);
    EXPECT_EQ(sound.take(), (Log{"play Sounds/menu.ogg", "play a:b.ogg", "play Sounds/ok.ogg",
                                 "stop Sounds/menu.ogg", "stop Sounds/ok.ogg"}));
    EXPECT_TRUE(sound.loops("Sounds/menu.ogg") && !sound.loops("a:b.ogg") &&
                !sound.loops("Sounds/ok.ogg"));
    GamePad::forget(); // the pad's D-pad, stick and Start do as Down, Up and Return; Back nothing
    menu.enter();
    for (const auto& [event, selection] :
         {std::pair{sdlEvent(SDL_JOYHATMOTION, 0, SDL_HAT_DOWN), 0},
          {sdlEvent(SDL_JOYHATMOTION, 0, SDL_HAT_CENTERED), 0},
          {sdlEvent(SDL_JOYAXISMOTION, 1, -20000), 1},
          {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kBackButton), 1},
          {sdlEvent(SDL_JOYBUTTONDOWN, GamePad::kStartButton), -1}}) {
        pushEvent(event);
        menu.handleEvents();
        EXPECT_EQ(menu.isValidated(), selection < 0);
        EXPECT_TRUE(selection < 0 || menu.getSelection() == selection) << selection;
    }
}

TEST(LoaderXML, ReadsTheDocumentElementsAttributesAndRefusesEverythingElse) {
    const std::pair<const char*, std::array<int, 4>> cases[] = {
        {"<viewport x=\"0\" y=\"0\" width=\"1024\" height=\"768\"/>", {0, 0, 1024, 768}},
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
        EXPECT_EQ((std::array{int(origin.getX()), int(origin.getY()), w, h}), bounds) << xml;
        // The parser's platform exists only while a file is read, whatever the outcome.
        EXPECT_EQ(xercesc::XMLPlatformUtils::fgMemoryManager, nullptr) << xml;
    }
    EXPECT_EQ(LoaderXML().load("/nonexistent/Levels/Viewport.xml"), nullptr);
}

// A pad button ends the game after its frame, as a key does; the D-pad does not.
TEST_F(ScreenTest, TheCreditsPlayTheirMusicAndEndOnAPadButtonButNotOnTheDpad) {
    ScriptedClock clock;
    CreditsState shown;
    static bool ended; // seen at the end of the frame, which ends each run
    GameManager::setPresenter([] {
        ended = !GameManager::getInstance()->isRunning();
        GameManager::getInstance()->stop();
    });
    for (const auto& [button, ends] :
         {std::pair{GamePad::kDpadDown, false}, {GamePad::kJumpButton, true}}) {
        GamePad::forget();
        pushEvent(sdlEvent(SDL_JOYBUTTONDOWN, static_cast<Uint8>(button)));
        manager->run(&shown);
        EXPECT_EQ(ended, ends) << button;
    }
    GameManager::setPresenter(nullptr);
    manager->changeState(&idle);
    const std::string music = "Sound/music-interface.ogg";
    EXPECT_EQ(sound.take("music"),
              (Log{"play " + music, "stop " + music, "play " + music, "stop " + music}));
    EXPECT_TRUE(sound.music[music] && !sound.loops(music)); // music, played once
}
