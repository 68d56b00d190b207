#include "app/TransitionState.h"

#include "app/GameManager.h"

void TransitionState::update() {
    if (nextState)
        GameManager::getInstance()->changeState(nextState);
}
