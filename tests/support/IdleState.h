#pragma once

#include "app/GameState.h"

// A screen that ignores input: somewhere to show objects, or a state to switch to.
class IdleState : public GameState {
public:
    void handleEvents() override {}
};
