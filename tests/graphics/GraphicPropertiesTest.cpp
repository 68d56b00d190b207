#include <gtest/gtest.h>

#include "graphics/GraphicProperties.h"

namespace {

GraphicProperties props(float x, float y, float angle, float sx, float sy) {
    return GraphicProperties(Position(x, y), Rotation(angle), Scale(sx, sy), 0.0f, 1.0f,
                             Position(0, 0));
}

} // namespace

TEST(GraphicProperties, MatrixIsTranslationRotationScale) {
    float m[16];
    GraphicProperties().getMatrix(m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;

    props(7, -3, 0, 2, 1).getMatrix(m);
    EXPECT_EQ(m[0], 2.0f);
    EXPECT_EQ(m[5], 1.0f);
    EXPECT_EQ(m[12], 7.0f);
    EXPECT_EQ(m[13], -3.0f);
    EXPECT_EQ(m[10], 1.0f);
    EXPECT_EQ(m[15], 1.0f);

    props(0, 0, 90, 2, 1).getMatrix(m);
    EXPECT_NEAR(m[0], 0.0f, 1e-6);
    EXPECT_NEAR(m[1], 2.0f, 1e-6);
    EXPECT_NEAR(m[4], -1.0f, 1e-6);
    EXPECT_NEAR(m[5], 0.0f, 1e-6);

    // Scale first, then rotate: (1, 0) scaled by 3 then turned 90 degrees is (0, 3).
    props(10, 0, 90, 3, 3).getMatrix(m);
    const float x = 1, y = 0;
    EXPECT_NEAR(m[0] * x + m[4] * y + m[12], 10.0f, 1e-5);
    EXPECT_NEAR(m[1] * x + m[5] * y + m[13], 3.0f, 1e-5);
}

TEST(GraphicProperties, AccessorsChangeInPlace) {
    GraphicProperties p;
    p.getPosition().translate(3, 4);
    p.getRotation().setAngle(45);
    p.setAnchor(2, 5);
    p.setDepth(0.8f);
    p.setAlpha(0.25f);
    GraphicProperties copy;
    copy = p;
    EXPECT_EQ(copy.getPosition(), Position(3, 4));
    EXPECT_EQ(copy.getRotation().getAngle(), 45.0f);
    EXPECT_EQ(copy.getAnchor(), Position(2, 5));
    EXPECT_EQ(copy.getDepth(), 0.8f);
    EXPECT_EQ(copy.getAlpha(), 0.25f);
}
