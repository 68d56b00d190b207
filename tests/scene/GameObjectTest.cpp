#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/GameState.h"
#include "graphics/Graphic.h"
#include "graphics/Rectangle.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"

namespace {

class ListState : public GameState {
public:
    void handleEvents() override {}
    int adds = 0, removes = 0;
    void addObject(GameObject* o) override {
        ++adds;
        GameState::addObject(o);
    }
    void removeObject(GameObject* o) override {
        ++removes;
        GameState::removeObject(o);
    }
};

class CountingObject : public GameObject {
public:
    int updates = 0;
    GameObject* adopter = nullptr;
    GameObject* adoptee = nullptr;
    void update(unsigned int ticks) override {
        ++updates;
        if (adopter) {
            adopter->addChild(adoptee);
            adopter = nullptr;
        }
        GameObject::update(ticks);
    }
};

Shape* unitSquare() {
    return new Shape({Rectangle(Position(0, 0), 1, 1)});
}

float matrixSum() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float sum = 0;
    for (float v : m)
        sum += v * v;
    return sum;
}

} // namespace

TEST(GameObject, SetVisibleNeedsAGraphicAndAState) {
    ListState state;
    GameObject bare;
    bare.setVisible(true, &state);
    EXPECT_FALSE(bare.isVisible());
    EXPECT_EQ(state.removes, 1);
    EXPECT_TRUE(state.getObjects().empty());

    Graphic graphic;
    GameObject shown;
    shown.setGraphic(&graphic);
    shown.setVisible(true, nullptr);
    EXPECT_FALSE(shown.isVisible());
    EXPECT_EQ(state.adds + state.removes, 1);

    shown.setVisible(true, &state);
    shown.setVisible(true, &state);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(state.getObjects().size(), 2u);
    shown.setVisible(false, &state);
    EXPECT_FALSE(shown.isVisible());
    EXPECT_TRUE(state.getObjects().empty());
}

TEST(GameObject, FieldConstructorStoresWhatItIsGivenAndCopiesTheChildren) {
    GlContext::reset();
    Graphic graphic;
    Position at(10, 20);
    GameObject parent, child;
    std::list<GameObject*> children{&child};
    Shape* square = unitSquare();
    GameObject object(true, &parent, &graphic, nullptr, square, &at, &children, false);
    children.clear();
    EXPECT_TRUE(object.isVisible());
    EXPECT_EQ(object.getParent(), &parent);
    EXPECT_EQ(object.getGraphic(), &graphic);
    EXPECT_EQ(object.getPosition(), &at);
    EXPECT_EQ(object.getChildren(), std::list<GameObject*>{&child});
    EXPECT_EQ(child.getParent(), nullptr);
    // The explicit shape is the outline (useGraphicShape false), moved by the position.
    Shape* world = object.getWorldShape();
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->getPolygon(0).getPoints().front(), Position(10, 20));
    delete world;
    delete square;
    GameObject none(false, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, true);
    EXPECT_TRUE(none.getChildren().empty());
}

TEST(GameObject, SetPositionAllocatesOnceThenCopies) {
    GameObject object;
    EXPECT_EQ(object.getPosition(), nullptr);
    object.setPosition(Position(3, 4));
    Position* first = object.getPosition();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, Position(3, 4));
    object.setPosition(Position(-1, 2));
    EXPECT_EQ(object.getPosition(), first);
    EXPECT_EQ(*first, Position(-1, 2));
}

TEST(GameObject, WorldShapeAddsAncestorPositionsAndKeepsTheStack) {
    GlContext::reset();
    glTranslatef(3, 7, 0); // whatever the caller had stays
    const float before = matrixSum();

    Position parentAt(100, 0), childAt(10, 5);
    GameObject parent, child;
    parent.setShape(nullptr);
    parent.addChild(&child);
    Shape* square = unitSquare();
    child.setShape(square);
    child.setUseGraphicShape(false);

    // No position: the square unmoved, ancestors ignored.
    Shape* unmoved = child.getWorldShape();
    ASSERT_NE(unmoved, nullptr);
    EXPECT_EQ(unmoved->getPolygon(0).getPoints().front(), Position(0, 0));
    delete unmoved;

    parent.setPosition(parentAt);
    child.setPosition(childAt);
    Shape* world = child.getWorldShape();
    ASSERT_NE(world, nullptr);
    std::list<Position> expected = {Position(110, 5), Position(111, 5), Position(111, 6),
                                    Position(110, 6)};
    EXPECT_EQ(world->getPolygon(0).getPoints(), expected);
    delete world;

    // Null answers: no explicit shape; a graphic but no position.
    GameObject noShape;
    noShape.setUseGraphicShape(false);
    EXPECT_EQ(noShape.getWorldShape(), nullptr);
    Graphic graphic;
    GameObject unplaced;
    unplaced.setGraphic(&graphic);
    EXPECT_EQ(unplaced.getWorldShape(), nullptr);

    // Graphic outline: a graphic without pictures gives an empty outline.
    unplaced.setPosition(Position(1, 1));
    Shape* empty = unplaced.getWorldShape();
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->getPolygons().empty());
    delete empty;

    EXPECT_EQ(GlContext::modelViewDepth(), 1);
    EXPECT_FLOAT_EQ(matrixSum(), before);
    delete square;
}

TEST(GameObject, UpdateDrawsChildrenInsideItsTranslation) {
    GlContext::reset();
    CountingObject parent, child, late;
    parent.setPosition(Position(5, 5));
    parent.addChild(&child);
    EXPECT_EQ(child.getParent(), &parent);
    child.adopter = &parent; // the parent gains a child while walking its children
    child.adoptee = &late;
    parent.update(0);
    EXPECT_EQ(child.updates, 1);
    EXPECT_EQ(late.updates, 0); // adopted mid-update: from the next frame on
    parent.update(0);
    EXPECT_EQ(late.updates, 1);
    EXPECT_EQ(parent.getChildren().size(), 2u);
    EXPECT_EQ(GlContext::modelViewDepth(), 1);
}
