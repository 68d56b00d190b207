#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include "app/GameState.h"
#include "graphics/Graphic.h"
#include "scene/GameObject.h"
#include "support/IdleState.h"

namespace {

// Logs its id when updated; may act on the state during its update.
class LoggingObject : public GameObject {
public:
    LoggingObject(std::vector<int>& log, int id, float depth) : log(log), id(id) {
        graphic = &look;
        look.getProperties().setDepth(depth);
    }
    void update(unsigned int) override {
        log.push_back(id);
        if (onUpdate)
            onUpdate();
    }
    std::function<void()> onUpdate;

private:
    std::vector<int>& log;
    int id;
    Graphic look;
};

class GameStateTest : public testing::Test {
protected:
    std::vector<int> pass() {
        log.clear();
        state.update();
        return log;
    }
    std::vector<int> log;
    IdleState state;
};

} // namespace

TEST_F(GameStateTest, UpdatesRootObjectsInStableDepthOrderSortedOnlyAfterAnAdd) {
    LoggingObject far(log, 1, 2.0f), first(log, 2, 0.5f), second(log, 3, 0.5f), extra(log, 4, 0.5f);
    for (LoggingObject* o : {&far, &first, &second})
        o->setVisible(true, &state);
    EXPECT_EQ(pass(), (std::vector<int>{2, 3, 1}));
    far.getGraphic()->getProperties().setDepth(0.0f);
    EXPECT_EQ(pass(), (std::vector<int>{2, 3, 1}));
    extra.setVisible(true, &state);
    EXPECT_EQ(pass(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(GameStateTest, DuplicatesChildrenAndRemovals) {
    LoggingObject twice(log, 1, 0), parent(log, 2, 0), child(log, 3, 0);
    twice.setVisible(true, &state);
    twice.setVisible(true, &state);
    parent.addChild(&child);
    child.setVisible(true, &state); // listed, but its parent draws it
    EXPECT_EQ(pass(), (std::vector<int>{1, 1}));
    state.removeObject(&twice);
    state.removeObject(&parent); // not listed: nothing happens
    EXPECT_EQ(pass(), std::vector<int>{});
    EXPECT_EQ(state.getObjects(), std::list<GameObject*>{&child});
}

TEST_F(GameStateTest, ChangesDuringThePassTakeEffectAtOnce) {
    LoggingObject a(log, 1, 0.9f), b(log, 2, 0.5f), c(log, 3, 0.7f), added(log, 4, 0.0f);
    for (LoggingObject* o : {&a, &b, &c})
        o->setVisible(true, &state);
    // b (first) removes c and adds a low-depth object: c is skipped, the new
    // one is drawn last this pass and first from the next pass.
    b.onUpdate = [&] {
        state.removeObject(&c);
        state.addObject(&added);
        b.onUpdate = nullptr;
    };
    EXPECT_EQ(pass(), (std::vector<int>{2, 1, 4}));
    EXPECT_EQ(pass(), (std::vector<int>{4, 2, 1}));
    // An object hiding itself mid-pass does not break the walk.
    b.onUpdate = [&] { b.setVisible(false, &state); };
    EXPECT_EQ(pass(), (std::vector<int>{4, 2, 1}));
    EXPECT_EQ(pass(), (std::vector<int>{4, 1}));
    EXPECT_EQ(state.getObjects(), (std::list<GameObject*>{&added, &a}));
}

TEST_F(GameStateTest, ObjectsWithoutGraphicOrWithNanDepthNeverMoveAhead) {
    GameObject bare;
    LoggingObject shown(log, 1, 0.0f), nan(log, 2, std::numeric_limits<float>::quiet_NaN());
    for (GameObject* other : std::vector<GameObject*>{&bare, &nan}) {
        EXPECT_FALSE(GameState::drawOrder(other, &shown));
        EXPECT_FALSE(GameState::drawOrder(&shown, other));
    }
}
