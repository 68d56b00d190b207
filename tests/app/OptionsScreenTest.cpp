#include <gtest/gtest.h>

#include "app/OptionsScreen.h"
#include "input/GamePad.h"
#include "settings/PlayerSettings.h"
#include "support/GlContext.h"

namespace {

struct OptionsTest : testing::Test {
    void SetUp() override { screen.open(); }
    void key(SDLKey sym, bool down, int position = 0) {
        SDL_keysym pressed{};
        pressed.sym = sym;
        pressed.scancode = static_cast<Uint8>(position);
        screen.handleKey(pressed, down);
    }
    void press(SDLKey sym, int times = 1) {
        for (int i = 0; i < times; ++i)
            key(sym, true), key(sym, false);
    }
    void padPress(int button) {
        screen.handleButton(button, true), screen.handleButton(button, false);
    }
    const Bindings& bindings() const { return kept.current().bindings; }

    PlayerSettings kept{Settings()};
    std::vector<Settings> applied;
    int switches = 0;
    OptionsScreen screen{&kept,
                         {[this](const Settings& now) { applied.push_back(now); },
                          [this] { return ++switches > 0; }},
                         1024,
                         768};
};

} // namespace

// The press that opens the capture is not taken, nor a key's repeat: the next key is.
TEST_F(OptionsTest, ACaptureTakesTheFirstNewKeyAfterTheOpeningOneIsLetGo) {
    press(SDLK_DOWN, OptionsScreen::FirstActionRow + 2); // Jump
    key(SDLK_RETURN, true);
    EXPECT_EQ(screen.getMessage(), "Press a key for Jump \u2014 Escape cancels, Backspace clears");
    key(SDLK_a, true); // before Return is let go
    key(SDLK_RETURN, false);
    key(SDLK_a, true); // still down: its repeat
    key(SDLK_a, false);
    EXPECT_EQ(screen.describe(), "5,0,listen");
    key(SDLK_z, true, 52);
    EXPECT_TRUE(bindings().key(Action::Jump, 0) == (BoundKey{SDLK_z, 52}));
    EXPECT_EQ(screen.describe(), "5,0");
    SDL_keysym f11{};
    f11.sym = SDLK_F11;
    screen.refuse(f11); // only a capture says the window's keys are not to be had
    EXPECT_EQ(screen.getMessage(), "");
    screen.handleButton(GamePad::kJumpButton, true);   // the pad's A opens one too
    screen.handleButton(GamePad::kSprayButton, false); // another button's release
    EXPECT_EQ(screen.describe(), "5,0,capture");
    screen.handleButton(GamePad::kJumpButton, false);
    EXPECT_EQ(screen.describe(), "5,0,listen");
    // Escape closes; its release goes to the screen underneath, and the next Escape is no repeat.
    for (int open = 0; open < 2; ++open) {
        screen.open();
        key(SDLK_ESCAPE, true);
        EXPECT_FALSE(screen.isOpen());
    }
}

// Each row's answer to Return then one key (or pad button), from the game's own bindings.
TEST_F(OptionsTest, ACaptureBindsClearsRefusesOrCancels) {
    const struct {
        int row, column;
        SDLKey key;
        int button; // instead of a key, when set
        const char* message;
        const char* jumpKey;
        int sprayButton;
    } cases[] = {
        {5, 0, SDLK_SPACE, -1, "space moved from Spray to Jump", "space", GamePad::kSprayButton},
        {5, 0, SDLK_ESCAPE, -1, "Nothing changed", "left ctrl", GamePad::kSprayButton},
        {5, 0, SDLK_BACKSPACE, -1, "", "", GamePad::kSprayButton},
        {5, 0, SDLK_F11, -1, "f11 is fixed; choose another", "left ctrl", GamePad::kSprayButton},
        {7, 0, SDLK_BACKSPACE, -1, "Pause needs a key or a pad button; it keeps p", "left ctrl", 2},
        {6, 2, SDLK_UNKNOWN, GamePad::kJumpButton, "A moved from Jump to Spray", "left ctrl", 0},
        {6, 2, SDLK_UNKNOWN, GamePad::kBackButton, "Nothing changed", "left ctrl", 2},
        {6, 2, SDLK_BACKSPACE, -1, "", "left ctrl", Bindings::kNoButton},
        {6, 2, SDLK_a, -1, "Press a pad button for Spray \u2014 Escape cancels, Backspace clears",
         "left ctrl", 2},
    };
    for (const auto& c : cases) {
        Settings start;
        start.bindings.clearButton(Action::Pause); // Pause: P alone
        kept.commit(start);
        screen.open();
        press(SDLK_DOWN, c.row);
        press(SDLK_RIGHT, c.column);
        press(SDLK_RETURN);
        if (c.button >= 0)
            padPress(c.button);
        else
            press(c.key);
        EXPECT_EQ(screen.getMessage(), c.message) << c.row << " " << c.key;
        EXPECT_EQ(bindings().key(Action::Jump, 0).text(), c.jumpKey) << c.message;
        EXPECT_EQ(bindings().button(Action::Spray), c.sprayButton) << c.message;
        // Only a press the column does not take, or a fixed key, leaves it waiting for one.
        const std::string said = c.message;
        EXPECT_EQ(screen.describe().find("listen") != std::string::npos,
                  said.rfind("Press", 0) == 0 || said.find("fixed") != std::string::npos)
            << c.message;
    }
}

TEST_F(OptionsTest, VolumesWindowAndRestoreApplyAtOnce) {
    press(SDLK_RIGHT); // already full
    press(SDLK_LEFT, 3);
    press(SDLK_DOWN);
    padPress(GamePad::kDpadLeft);
    ASSERT_EQ(applied.size(), 4u);
    EXPECT_EQ(applied.back().musicVolume, 7);
    EXPECT_EQ(applied.back().effectsVolume, 9);
    press(SDLK_LEFT, 20);
    EXPECT_EQ(kept.current().effectsVolume, 0);
    press(SDLK_DOWN);
    press(SDLK_RETURN);
    press(SDLK_RIGHT);
    EXPECT_EQ(switches, 2);
    press(SDLK_UP, 4); // round to Restore defaults
    press(SDLK_RETURN);
    press(SDLK_ESCAPE);
    EXPECT_EQ(screen.getMessage(), "Nothing changed");
    EXPECT_EQ(kept.current().musicVolume, 7);
    padPress(GamePad::kJumpButton);
    padPress(GamePad::kStartButton);
    EXPECT_TRUE(kept.current() == Settings());
    EXPECT_EQ(applied.back().effectsVolume, 10);
    padPress(GamePad::kBButton);
    EXPECT_FALSE(screen.isOpen());
}

// Over whatever is under it, a dark panel across the window; the GL state is left as it was.
TEST_F(OptionsTest, DrawsADarkPanelOverTheScreenAndLeavesTheGlStateAsItWas) {
    GlContext::reset();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    screen.draw();
    EXPECT_LT(GlContext::pixel(GlContext::kWidth / 2, GlContext::kHeight / 2).r, 40);
    float colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), std::vector<float>(4, 1.0f));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
