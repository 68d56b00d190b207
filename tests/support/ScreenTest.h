#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "support/GlContext.h"
#include "support/RecordingSoundSystem.h"
#include "support/SdlEvent.h"

// A screen that ignores input: somewhere to show objects, or a state to switch to.
struct IdleState : GameState {
    void handleEvents() override {}
};

// A screen run frame by frame as the manager runs it, on the recording sound system.
struct ScreenTest : testing::Test {
    void frame(GameState& screen, std::initializer_list<SDLKey> pressed = {}) {
        for (SDLKey key : pressed) // input as the screens read it
            pushEvent(sdlEvent(SDL_KEYDOWN, 0, key));
        screen.handleEvents();
        GlContext::reset();
        if (manager->getCurrentState() == &screen)
            screen.update();
    }
    GameManager* manager = GameManager::getInstance();
    RecordingSoundSystem sound;
    IdleState idle, credits;
};
