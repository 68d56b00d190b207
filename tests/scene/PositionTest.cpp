#include <gtest/gtest.h>
#include <limits>

#include "scene/Position.h"

TEST(Position, ArithmeticAndComparison) {
    EXPECT_FLOAT_EQ(Position(3, 4).squaredDistance(Position(1, 1)), 13.0f);
    EXPECT_EQ(Position(1, 2) - Position(4, 6), Position(-3, -4));
    Position p(5, 5);
    p -= Position(1, 2);
    p.translate(-4, 1);
    EXPECT_EQ(p, Position(0, 4));
    EXPECT_TRUE(Position(0, 0) == Position(-0.0f, 0));
    EXPECT_FALSE(Position(0, 0) != Position(-0.0f, 0));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(Position(nan, 0) != Position(nan, 0));
    EXPECT_FALSE(Position(nan, 0) == Position(nan, 0));
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
          Case{Position(7, 3), Position(2, 2), Position(2, 2), Position(2, 2), true}}) {
        bool inside = !c.inside;
        const Position foot = c.point.projectOnSegment(c.a, c.b, inside);
        EXPECT_NEAR(foot.getX(), c.foot.getX(), 1e-5) << c.point.getX() << "," << c.point.getY();
        EXPECT_NEAR(foot.getY(), c.foot.getY(), 1e-5) << c.point.getX() << "," << c.point.getY();
        EXPECT_EQ(inside, c.inside) << c.point.getX() << "," << c.point.getY();
    }
}
