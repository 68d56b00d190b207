#include <gtest/gtest.h>

#include "gameplay/SautMovement.h"
#include "gameplay/TranslationMovement.h"
#include "scene/Position.h"

namespace {

// The vertical steps of n applications through the base class; every sideways step must be dx.
std::vector<int> rises(Movement& movement, int n, float dx) {
    Position position(0, 0);
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
        const Position before = position;
        movement.apply(&position);
        EXPECT_EQ(position.getX() - before.getX(), dx) << i;
        out.push_back(static_cast<int>(position.getY() - before.getY()));
    }
    return out;
}

} // namespace

// A jump's speed drops after every period + 1 moves, by a drop that grows by 1.
TEST(Movement, StepsOfWalksJumpsAndFalls) {
    TranslationMovement walk(-3, 1);
    EXPECT_EQ(rises(walk, 2, -3), std::vector<int>({1, 1}));
    SautMovement jump(2, 10, 1, 2), steep(0, 5, 0, 0), hover(0, 4, 2, -1);
    EXPECT_EQ(rises(jump, 19, 2),
              std::vector<int>({10, 10, 10, 9, 9, 9, 7, 7, 7, 4, 4, 4, 0, 0, 0, -5, -5, -5, -11}));
    // Period 0: a drop after every move.
    EXPECT_EQ(rises(steep, 5, 0), std::vector<int>({5, 5, 4, 2, -1}));
    EXPECT_EQ(rises(hover, 10000, 0).back(), 4); // a negative period is never reached
    // A jump cut short starts over; with speed 0 it is a fall dropping d, 2d + 1, 3d + 3.
    SautMovement cut(0, 12, 3, 2);
    rises(cut, 7, 0);
    cut.restart();
    EXPECT_EQ(rises(cut, 4, 0), std::vector<int>({12, 12, 12, 9}));
    cut.restart();
    cut.setSpeedY(0);
    EXPECT_EQ(rises(cut, 12, 0),
              std::vector<int>({0, 0, 0, -3, -3, -3, -7, -7, -7, -12, -12, -12}));
}
