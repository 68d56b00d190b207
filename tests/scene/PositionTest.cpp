#include <gtest/gtest.h>

#include "scene/Position.h"

// The foot on the line through a and b, and whether it lies between them; a point at a and a
// segment of no length answer a, inside, rather than 0 / 0.
TEST(Position, ProjectsOnASegmentAndTellsWhetherTheFootIsBetweenItsEnds) {
    const struct {
        Position p, a, b, foot;
        bool inside;
    } cases[] = {{{5, 5}, {0, 0}, {10, 0}, {5, 0}, true},
                 {{15, 2}, {0, 0}, {10, 0}, {15, 0}, false},
                 {{-1, 3}, {0, 0}, {10, 0}, {-1, 0}, false},
                 {{0, 0}, {0, 0}, {10, 0}, {0, 0}, true},
                 {{3, 4}, {2, 2}, {2, 2}, {2, 2}, true},
                 {{2, 5}, {1, 1}, {5, 3}, {3.4f, 2.2f}, true}}; // both products count
    for (const auto& c : cases) {
        bool inside = !c.inside;
        const Position foot = c.p.projectOnSegment(c.a, c.b, inside);
        EXPECT_LT(foot.squaredDistance(c.foot), 1e-10) << c.p.getX() << "," << c.p.getY();
        EXPECT_EQ(inside, c.inside) << c.p.getX() << "," << c.p.getY();
    }
    Position moved(5, 7);
    moved -= Position(2, 3);
    EXPECT_TRUE(moved == Position(3, 4) && !(moved == Position(3, 7)) && moved != Position(5, 4));
}
