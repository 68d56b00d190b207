#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>

#include "graphics/BitmapPicture.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"
#include "support/GlContext.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

struct Square {
    Square(uint8_t r, uint8_t g, uint8_t b)
        : picture(TestImage::solid(tempDir() + "/s.bmp", 8, 8, r, g, b), GraphicProperties(),
                  nullptr, 0) {
        picture.loadTexture();
        look.addPicture(&picture);
        object.setGraphic(&look);
    }
    BitmapPicture picture;
    Graphic look;
    GameObject object;
};

} // namespace

// The graphic first, then the children, all inside the object's translation; an outline adds the
// ancestors' positions, then the object's and its graphic's matrix.
TEST(GameObject, DrawsAndOutlinesInsideItsAncestorsTranslationsAndKeepsTheStack) {
    Square parent(255, 0, 0), placed(0, 255, 0), unplaced(0, 0, 255), cover(255, 255, 255);
    parent.object.setPosition(Position(20, 30));
    parent.picture.getProperties().setDepth(0.6f); // the translation keeps it inside the clip range
    placed.object.setPosition(Position(40, 10));
    unplaced.picture.getProperties().setPosition(0, 20); // no position: the parent's place
    for (Square* child : {&placed, &unplaced, &cover})
        parent.object.addChild(&child->object);
    cover.picture.getProperties().setPosition(4, 0); // over the parent's right half
    GameObject grandparent, middle;
    Square turned(255, 0, 0), alone(255, 0, 0);
    turned.look.getProperties().getRotation() = Rotation(90);
    turned.look.getProperties().getScale() = Scale(2, 3); // scaled before it is turned
    turned.picture.getProperties().setPosition(0, 5);
    turned.object.setPosition(Position(1, 2));
    grandparent.addChild(&middle);
    middle.addChild(&turned.object);
    grandparent.setPosition(Position(1000, 0));
    middle.setPosition(Position(100, 0));
    middle.setPosition(Position(100, 20)); // into the position it already has
    GlContext::reset();
    glPushMatrix();
    glPushMatrix(); // entered deeper than the bottom, so a stray pop would show
    parent.object.update(0);
    EXPECT_EQ(
        GlContext::colours({{21, 31}, {28, 31}, {61, 41}, {21, 51}, {19, 31}, {59, 41}, {21, 59}}),
        "rwgbkkk");
    std::unique_ptr<Shape> world(turned.object.getWorldShape());
    EXPECT_EQ(world->getPolygon(0).getPoint(0), Position(1086, 38));
    EXPECT_EQ(alone.object.getWorldShape(), nullptr); // a graphic without a position
    EXPECT_EQ(GlContext::modelViewDepth(), 3);
    glPopMatrix();
    glPopMatrix();
}
