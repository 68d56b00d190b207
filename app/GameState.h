#pragma once

#include <list>

class GameObject;

// Base of the screens. Holds the screen's objects (not owned) and draws the
// root ones each frame in ascending graphic depth, keeping insertion order
// among equal depths.
class GameState {
public:
    GameState() = default;
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;
    virtual ~GameState();

    virtual void enter() {}
    virtual void leave() {}
    // Polls every pending SDL event and reacts.
    virtual void handleEvents() = 0;
    // Updates and draws the root objects; overrides finish by calling this.
    virtual void update();
    virtual void addObject(GameObject* object);
    virtual void removeObject(GameObject* object);
    virtual const char* getClassName() const { return "GameState"; }

    const std::list<GameObject*>& getObjects() const { return objects; }

    // Whether a is drawn before b: strictly lower graphic depth.
    static bool drawOrder(const GameObject* a, const GameObject* b);

private:
    std::list<GameObject*> objects;
    bool sortNeeded = true;
    bool walking = false;
};
