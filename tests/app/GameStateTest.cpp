#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include "app/GameState.h"
#include "graphics/Graphic.h"
#include "scene/GameObject.h"

namespace {

class PlainState : public GameState {
public:
    void handleEvents() override {}
};

// Logs its id when updated; may act on the state during its update.
class LoggingObject : public GameObject {
public:
    LoggingObject(std::vector<int>& log, int id, float depth) : log(log), id(id) {
        graphic = &ownGraphic;
        ownGraphic.getProperties().setDepth(depth);
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
    Graphic ownGraphic;
};

} // namespace

TEST(GameState, UpdatesRootObjectsInStableDepthOrder) {
    std::vector<int> log;
    PlainState state;
    LoggingObject far(log, 1, 2.0f), first(log, 2, 0.5f), second(log, 3, 0.5f);
    far.setVisible(true, &state);
    first.setVisible(true, &state);
    second.setVisible(true, &state);
    state.update();
    EXPECT_EQ(log, (std::vector<int>{2, 3, 1}));

    // A changed depth is not re-sorted until the next add.
    far.getGraphic()->getProperties().setDepth(0.0f);
    log.clear();
    state.update();
    EXPECT_EQ(log, (std::vector<int>{2, 3, 1}));
    LoggingObject extra(log, 4, 0.5f);
    extra.setVisible(true, &state);
    log.clear();
    state.update();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4}));
}

TEST(GameState, DuplicatesChildrenAndRemovals) {
    std::vector<int> log;
    PlainState state;
    LoggingObject twice(log, 1, 0), parent(log, 2, 0), child(log, 3, 0);
    twice.setVisible(true, &state);
    twice.setVisible(true, &state);
    parent.addChild(&child);
    child.setVisible(true, &state); // listed, but its parent draws it
    state.update();
    EXPECT_EQ(log, (std::vector<int>{1, 1}));
    state.removeObject(&twice);
    state.removeObject(&parent); // not listed: nothing happens
    log.clear();
    state.update();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(state.getObjects().size(), 1u);
}

TEST(GameState, ChangesDuringThePassTakeEffectAtOnce) {
    std::vector<int> log;
    PlainState state;
    LoggingObject a(log, 1, 0.9f), b(log, 2, 0.5f), c(log, 3, 0.7f), added(log, 4, 0.0f);
    a.setVisible(true, &state);
    b.setVisible(true, &state);
    c.setVisible(true, &state);
    // b (first) removes c and adds a low-depth object: c is skipped, the new
    // one is drawn last this pass and first from the next pass.
    b.onUpdate = [&] {
        state.removeObject(&c);
        state.addObject(&added);
        b.onUpdate = nullptr;
    };
    state.update();
    EXPECT_EQ(log, (std::vector<int>{2, 1, 4}));
    log.clear();
    state.update();
    EXPECT_EQ(log, (std::vector<int>{4, 2, 1}));

    // An object hiding itself mid-pass does not break the walk.
    b.onUpdate = [&] { b.setVisible(false, &state); };
    log.clear();
    state.update();
    EXPECT_EQ(log, (std::vector<int>{4, 2, 1}));
    EXPECT_EQ(state.getObjects().size(), 2u);
}

TEST(GameState, ObjectsWithoutGraphicNeverMoveAhead) {
    std::vector<int> log;
    GameObject bare;
    LoggingObject shown(log, 1, 0.0f);
    EXPECT_FALSE(GameState::drawOrder(&bare, &shown));
    EXPECT_FALSE(GameState::drawOrder(&shown, &bare));
    LoggingObject nan(log, 2, std::numeric_limits<float>::quiet_NaN());
    EXPECT_FALSE(GameState::drawOrder(&nan, &shown));
    EXPECT_FALSE(GameState::drawOrder(&shown, &nan));
    PlainState state;
    EXPECT_STREQ(state.getClassName(), "GameState");
    state.update(); // empty list: nothing to draw
}
