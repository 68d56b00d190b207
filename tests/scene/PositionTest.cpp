#include <gtest/gtest.h>
#include <limits>

#include "scene/Position.h"

TEST(Position, ArithmeticAndComparison) {
    EXPECT_FLOAT_EQ(Position(3, 4).squaredDistance(Position(0, 0)), 25.0f);
    Position d = Position(1, 2) - Position(4, 6);
    EXPECT_EQ(d, Position(-3, -4));
    Position p(5, 5);
    p -= Position(1, 2);
    EXPECT_EQ(p, Position(4, 3));
    p.translate(-4, 1);
    EXPECT_EQ(p, Position(0, 4));
    EXPECT_TRUE(Position(0, 0) == Position(-0.0f, 0));
    EXPECT_FALSE(Position(0, 0) != Position(-0.0f, 0));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(Position(nan, 0) != Position(nan, 0));
    EXPECT_FALSE(Position(nan, 0) == Position(nan, 0));
}

TEST(Position, ProjectOnSegment) {
    const Position a(0, 0), b(10, 0);
    bool inside = false;
    EXPECT_EQ(Position(5, 5).projectOnSegment(a, b, inside), Position(5, 0));
    EXPECT_TRUE(inside);
    EXPECT_EQ(Position(15, 2).projectOnSegment(a, b, inside), Position(15, 0));
    EXPECT_FALSE(inside);
    EXPECT_EQ(Position(-1, 3).projectOnSegment(a, b, inside), Position(-1, 0));
    EXPECT_FALSE(inside);
    inside = false;
    EXPECT_EQ(a.projectOnSegment(a, b, inside), a);
    EXPECT_TRUE(inside);
    EXPECT_EQ(b.projectOnSegment(a, b, inside), b);
    EXPECT_TRUE(inside);

    // Slanted segment: (0,0)-(4,4), the point (4,0) projects to (2,2).
    Position q = Position(4, 0).projectOnSegment(Position(0, 0), Position(4, 4), inside);
    EXPECT_NEAR(q.getX(), 2.0f, 1e-5);
    EXPECT_NEAR(q.getY(), 2.0f, 1e-5);
    EXPECT_TRUE(inside);
}

TEST(Position, ProjectOnDegenerateSegmentAnswersItsPoint) {
    bool inside = false;
    Position r = Position(7, 3).projectOnSegment(Position(2, 2), Position(2, 2), inside);
    EXPECT_EQ(r, Position(2, 2));
    EXPECT_TRUE(inside);
}
