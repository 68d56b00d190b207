#include <GL/gl.h>
#include <gtest/gtest.h>
#include <limits>

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

TEST(Position, ArithmeticAndComparison) {
    EXPECT_FLOAT_EQ(Position(3, 4).squaredDistance(Position(1, 1)), 13.0f);
    EXPECT_EQ(Position(1, 2) - Position(4, 6), Position(-3, -4));
    Position p(5, 5);
    p -= Position(1, 2);
    p.translate(-4, 1);
    EXPECT_EQ(p, Position(0, 4));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& [a, b, same] : {std::tuple{Position(1, 2), Position(1, 2), true},
                                     {Position(1, 2), Position(1, 3), false},
                                     {Position(0, 2), Position(1, 2), false},
                                     {Position(0, 0), Position(-0.0f, 0), true},
                                     {Position(nan, 0), Position(nan, 0), false}}) {
        EXPECT_EQ(a == b, same) << a.getX() << "," << a.getY();
        EXPECT_EQ(a != b, !same) << a.getX() << "," << a.getY();
    }
}

TEST(Position, ProjectOnSegment) {
    struct Case {
        Position point, a, b, foot;
        bool inside;
    };
    const Position o(0, 0), ten(10, 0);
    for (const Case& c :
         {Case{Position(5, 5), o, ten, Position(5, 0), true},
          Case{Position(15, 2), o, ten, Position(15, 0), false},
          Case{Position(-1, 3), o, ten, Position(-1, 0), false}, Case{o, o, ten, o, true},
          Case{ten, o, ten, ten, true},
          Case{Position(4, 0), o, Position(4, 4), Position(2, 2), true},
          Case{Position(0, 4), o, Position(4, 4), Position(2, 2), true},
          Case{Position(0, 6), Position(0, 2), Position(4, 6), Position(2, 4), true},
          Case{Position(7, 3), Position(2, 2), Position(2, 2), Position(2, 2), true}}) {
        bool inside = !c.inside;
        const Position foot = c.point.projectOnSegment(c.a, c.b, inside);
        EXPECT_NEAR(foot.getX(), c.foot.getX(), 1e-5) << c.point.getX() << "," << c.point.getY();
        EXPECT_NEAR(foot.getY(), c.foot.getY(), 1e-5) << c.point.getX() << "," << c.point.getY();
        EXPECT_EQ(inside, c.inside) << c.point.getX() << "," << c.point.getY();
    }
}

TEST(GameObject, SetVisibleNeedsAGraphicAndAState) {
    IdleState state;
    GameObject bare, shown;
    bare.setVisible(true, &state);
    EXPECT_FALSE(bare.isVisible());
    Graphic graphic;
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

TEST(GameObject, WorldShapeAddsAncestorPositionsAndKeepsTheStack) {
    GlContext::reset();
    glPushMatrix();
    glTranslatef(3, 7, 0); // whatever the caller had stays
    const std::vector<float> before = modelView();
    Position at(10, 5);
    GameObject grandparent, parent, noShape, unplaced;
    std::list<GameObject*> none;
    GameObject child(true, &parent, nullptr, nullptr, &unitSquare, nullptr, &none, false);
    grandparent.addChild(&parent);
    // No position: the square unmoved, ancestors ignored.
    Shape* unmoved = child.getWorldShape();
    EXPECT_EQ(unmoved->getPolygon(0).getPoints().front(), Position(0, 0));
    delete unmoved;
    grandparent.setPosition(Position(1000, 0));
    parent.setPosition(Position(100, 0));
    parent.setPosition(Position(100, 20)); // into the position it already has
    GameObject placed(true, &parent, nullptr, nullptr, &unitSquare, &at, &none, false);
    Shape* world = placed.getWorldShape();
    EXPECT_EQ(world->getPolygon(0).getPoints(),
              (std::list<Position>{{1110, 25}, {1111, 25}, {1111, 26}, {1110, 26}}));
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
    parent.picture.getProperties().setDepth(0.6f); // the translation keeps it inside the clip range
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
    EXPECT_EQ(GlContext::colours({{21, 31},
                                  {26, 37},
                                  {28, 31},
                                  {61, 41},
                                  {67, 47},
                                  {21, 51},
                                  {27, 57},
                                  {19, 31},
                                  {21, 29},
                                  {59, 41},
                                  {68, 48},
                                  {21, 59},
                                  {33, 31}}),
              "rwwggbbkkkkkk");
}
