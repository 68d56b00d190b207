#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/GameState.h"
#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Rectangle.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"
#include "support/IdleState.h"
#include "support/TestImage.h"

namespace {

// An object showing one 8 x 8 square of a colour at its origin.
struct Square {
    Square(uint8_t r, uint8_t g, uint8_t b)
        : picture(TestImage::solid(TestImage::tempDir() + "/s.png", 8, 8, r, g, b),
                  GraphicProperties(), nullptr, 0) {
        picture.loadTexture();
        look.addPicture(&picture);
        object.setGraphic(&look);
    }
    BitmapPicture picture;
    Graphic look;
    GameObject object;
};

std::vector<float> modelView() {
    std::vector<float> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

Shape unitSquare({Rectangle(Position(0, 0), 1, 1)});

} // namespace

TEST(GameObject, SetVisibleNeedsAGraphicAndAState) {
    IdleState state;
    GameObject bare;
    bare.setVisible(true, &state);
    EXPECT_FALSE(bare.isVisible());
    Graphic graphic;
    GameObject shown;
    shown.setGraphic(&graphic);
    shown.setVisible(true, nullptr);
    EXPECT_FALSE(shown.isVisible());
    shown.setVisible(true, &state);
    shown.setVisible(true, &state);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(state.getObjects(), (std::list<GameObject*>{&shown, &shown}));
    shown.setVisible(false, &state);
    EXPECT_FALSE(shown.isVisible());
    EXPECT_TRUE(state.getObjects().empty());
}

TEST(GameObject, FieldConstructorStoresWhatItIsGivenAndCopiesTheChildren) {
    Graphic graphic;
    Position at(10, 20);
    GameObject parent, child;
    std::list<GameObject*> children{&child};
    GameObject object(true, &parent, &graphic, nullptr, &unitSquare, &at, &children, false);
    children.clear();
    EXPECT_TRUE(object.isVisible());
    EXPECT_EQ(object.getParent(), &parent);
    EXPECT_EQ(object.getPosition(), &at);
    EXPECT_EQ(object.getChildren(), std::list<GameObject*>{&child});
    EXPECT_EQ(child.getParent(), nullptr);
    // The explicit shape is the outline (useGraphicShape false), moved by the position.
    Shape* world = object.getWorldShape();
    EXPECT_EQ(world->getPolygon(0).getPoints().front(), Position(10, 20));
    delete world;
    // setPosition copies into a position the object already has.
    object.setPosition(Position(3, 4));
    EXPECT_EQ(at, Position(3, 4));
}

TEST(GameObject, WorldShapeAddsAncestorPositionsAndKeepsTheStack) {
    GlContext::reset();
    glPushMatrix();
    glTranslatef(3, 7, 0); // whatever the caller had stays
    const std::vector<float> before = modelView();
    GameObject grandparent, parent, child, noShape, unplaced;
    grandparent.addChild(&parent);
    parent.addChild(&child);
    child.setShape(&unitSquare);
    child.setUseGraphicShape(false);
    // No position: the square unmoved, ancestors ignored.
    Shape* unmoved = child.getWorldShape();
    EXPECT_EQ(unmoved->getPolygon(0).getPoints().front(), Position(0, 0));
    delete unmoved;
    grandparent.setPosition(Position(1000, 0));
    parent.setPosition(Position(100, 0));
    child.setPosition(Position(10, 5));
    Shape* world = child.getWorldShape();
    EXPECT_EQ(world->getPolygon(0).getPoints(),
              (std::list<Position>{Position(1110, 5), Position(1111, 5), Position(1111, 6),
                                   Position(1110, 6)}));
    delete world;
    // Null answers: no explicit shape; a graphic but no position.
    noShape.setUseGraphicShape(false);
    EXPECT_EQ(noShape.getWorldShape(), nullptr);
    Graphic graphic;
    unplaced.setGraphic(&graphic);
    EXPECT_EQ(unplaced.getWorldShape(), nullptr);
    EXPECT_EQ(GlContext::modelViewDepth(), 2);
    EXPECT_EQ(modelView(), before);
    glPopMatrix();
}

TEST(GameObject, UpdateDrawsItsGraphicThenItsChildrenInsideItsTranslation) {
    Square parent(255, 0, 0), placed(0, 255, 0), unplaced(0, 0, 255), cover(255, 255, 255);
    parent.object.setPosition(Position(20, 30));
    placed.object.setPosition(Position(40, 10));
    unplaced.picture.getProperties().setPosition(0, 20); // no position: the parent's place
    for (Square* child : {&placed, &unplaced, &cover})
        parent.object.addChild(&child->object);
    cover.picture.getProperties().setPosition(4, 0); // over the parent's right half
    GlContext::reset();
    glPushMatrix();
    glPushMatrix(); // entered deeper than the bottom, so a stray pop would show
    const std::vector<float> before = modelView();
    parent.object.update(0);
    EXPECT_EQ(GlContext::modelViewDepth(), 3);
    EXPECT_EQ(modelView(), before);
    glPopMatrix();
    glPopMatrix();
    const std::pair<int, int> probes[] = {{21, 31}, {26, 37}, {28, 31}, {61, 41}, {67, 47},
                                          {21, 51}, {27, 57}, {19, 31}, {21, 29}, {59, 41},
                                          {68, 48}, {21, 59}, {33, 31}};
    std::string seen;
    for (const auto& [x, y] : probes)
        seen += GlContext::colourAt(x, y);
    EXPECT_EQ(seen, "rwwggbbkkkkkk");
}

TEST(GameObject, ChildrenAddedDuringAnUpdateCountFromTheNextOne) {
    struct Adopting : GameObject {
        int updates = 0;
        GameObject *adopter = nullptr, *adoptee = nullptr;
        void update(unsigned int ticks) override {
            ++updates;
            if (adopter)
                adopter->addChild(adoptee);
            adopter = nullptr;
            GameObject::update(ticks);
        }
    } parent, child, late;
    parent.addChild(&child);
    child.adopter = &parent;
    child.adoptee = &late;
    parent.update(0);
    EXPECT_EQ(late.updates, 0);
    parent.update(0);
    EXPECT_EQ(late.updates, 1);
    EXPECT_EQ(child.updates, 2);
}
