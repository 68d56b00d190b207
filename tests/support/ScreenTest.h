#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "support/GlContext.h"
#include "support/IdleState.h"
#include "support/RecordingSoundSystem.h"

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
    IdleState idle, credits;
};
