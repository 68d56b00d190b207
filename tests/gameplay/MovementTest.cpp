#include <gtest/gtest.h>

#include "gameplay/SautMovement.h"
#include "gameplay/TranslationMovement.h"
#include "scene/Position.h"

namespace {

// The vertical step of each of n applications, through the base class.
std::vector<float> rises(Movement& movement, int n, Position* at = nullptr) {
    Position position(0, 0);
    std::vector<float> steps;
    for (int i = 0; i < n; ++i) {
        const float before = position.getY();
        movement.apply(&position);
        steps.push_back(position.getY() - before);
    }
    if (at)
        *at = position;
    return steps;
}

} // namespace

TEST(Movement, TranslationAddsTheSameStepEachTime) {
    TranslationMovement walk(-3.5f, 1);
    Position at(0, 0);
    EXPECT_EQ(rises(walk, 2, &at), (std::vector<float>{1, 1}));
    EXPECT_EQ(at, Position(-7, 2));
    EXPECT_STREQ(walk.getClassName(), "TranslationMovement");
}

TEST(Movement, JumpSpeedDropsEveryPeriodPlusOneByGrowingDrops) {
    SautMovement jump(2, 10, 1, 2);
    Position at(0, 0);
    EXPECT_EQ(rises(jump, 19, &at), (std::vector<float>{10, 10, 10, 9, 9, 9, 7, 7, 7, 4, 4, 4, 0, 0,
                                                        0, -5, -5, -5, -11}));
    EXPECT_EQ(at.getX(), 38); // the sideways step never changes
    EXPECT_STREQ(jump.getClassName(), "SautMovement");

    SautMovement steep(0, 5, 0, 0); // period 0: a drop after every move, 0 first
    EXPECT_EQ(rises(steep, 5), (std::vector<float>{5, 5, 4, 2, -1}));
    SautMovement hover(0, 4, 2, -1); // a negative period is never reached
    EXPECT_EQ(rises(hover, 10000).back(), 4);
    EXPECT_EQ(hover.getCounter(), 10000);
}

TEST(Movement, RestartThenSpeedZeroMakesAFall) {
    SautMovement jump(0, 12, 3, 2);
    rises(jump, 7); // a jump cut short by a landing
    jump.restart();
    EXPECT_EQ(rises(jump, 4), (std::vector<float>{12, 12, 12, 9}));
    // Falls drop by d, 2d + 1, 3d + 3, each held period + 1 times.
    jump.restart();
    jump.setSpeedY(0);
    EXPECT_EQ(rises(jump, 12),
              (std::vector<float>{0, 0, 0, -3, -3, -3, -7, -7, -7, -12, -12, -12}));
}
