#include "app/GameState.h"

#include "app/GameClock.h"
#include "graphics/Graphic.h"
#include "scene/GameObject.h"

GameState::~GameState() {
    objects.clear();
}

bool GameState::drawOrder(const GameObject* a, const GameObject* b) {
    if (!a->getGraphic() || !b->getGraphic())
        return false;
    return a->getGraphic()->getProperties().getDepth() <
           b->getGraphic()->getProperties().getDepth();
}

void GameState::update() {
    if (sortNeeded) {
        objects.sort(drawOrder); // stable merge sort
        sortNeeded = false;
    }
    // Objects appended during the walk are reached in the same pass. Entries
    // removed meanwhile are only blanked, so the walk's position stays valid
    // even when an object removes itself; they are erased after the walk.
    walking = true;
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        GameObject* object = *it;
        if (object && !object->getParent())
            object->update(GameClock::now());
    }
    walking = false;
    objects.remove(nullptr);
}

void GameState::addObject(GameObject* object) {
    if (!object)
        return;
    objects.push_back(object);
    sortNeeded = true;
}

void GameState::removeObject(GameObject* object) {
    if (!object)
        return;
    if (!walking) {
        objects.remove(object);
        return;
    }
    for (GameObject*& entry : objects)
        if (entry == object)
            entry = nullptr;
}
