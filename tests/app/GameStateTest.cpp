#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include "graphics/Graphic.h"
#include "scene/GameObject.h"
#include "support/IdleState.h"

namespace {

std::vector<int> updated;

// Logs its id when updated, then runs its scripted action.
class LoggingObject : public GameObject {
public:
    LoggingObject(int id, float depth) : id(id) {
        graphic = &look;
        look.getProperties().setDepth(depth);
    }
    void update(unsigned int) override {
        updated.push_back(id);
        if (onUpdate)
            onUpdate();
    }
    std::function<void()> onUpdate;
    int id;
    Graphic look;
};

std::vector<int> pass(GameState& state) {
    updated.clear();
    state.update();
    return updated;
}

} // namespace

TEST(GameState, UpdatesRootsInStableDepthOrderSortedAfterAnAddAndRemovesSafelyMidPass) {
    IdleState state;
    LoggingObject a(1, 0.9f), b(2, 0.5f), c(3, 0.5f), added(4, 0.0f), parent(5, 2), child(6, 0);
    for (LoggingObject* o : {&a, &b, &c, &c, &child})
        o->setVisible(true, &state);
    parent.addChild(&child); // listed, but its parent draws it
    EXPECT_EQ(pass(state), (std::vector<int>{2, 3, 3, 1}));
    a.look.getProperties().setDepth(0.0f); // no add: no new sort
    state.removeObject(&parent);           // not listed: nothing happens
    // b removes c and adds a low-depth object: c is skipped, the new one is
    // updated last this pass and first from the next pass.
    b.onUpdate = [&] {
        state.removeObject(&c);
        state.addObject(&added);
        b.onUpdate = [&] { b.setVisible(false, &state); }; // hiding itself mid-pass
    };
    EXPECT_EQ(pass(state), (std::vector<int>{2, 1, 4}));
    EXPECT_EQ(pass(state), (std::vector<int>{1, 4, 2}));
    EXPECT_EQ(pass(state), (std::vector<int>{1, 4}));
    EXPECT_EQ(state.getObjects(), (std::list<GameObject*>{&child, &a, &added}));
    // Objects without graphic or with a NaN depth never move ahead.
    GameObject bare;
    LoggingObject nan(7, std::numeric_limits<float>::quiet_NaN());
    for (GameObject* other : std::vector<GameObject*>{&bare, &nan})
        EXPECT_FALSE(GameState::drawOrder(other, &a) || GameState::drawOrder(&a, other));
}
