#pragma once

#include "app/GameState.h"

// Hands over to its next state at its first update; draws nothing.
class TransitionState : public GameState {
public:
    TransitionState() : nextState(nullptr) {}

    void setNextState(GameState* state) { nextState = state; }
    // Events stay queued for the next state.
    void handleEvents() override {}
    void update() override;

private:
    GameState* nextState;
};
