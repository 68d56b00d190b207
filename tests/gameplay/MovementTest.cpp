#include <gtest/gtest.h>

#include "gameplay/SautMovement.h"
#include "gameplay/TranslationMovement.h"
#include "scene/Position.h"

namespace {

// The steps of n applications, through the base class: "dx,dy" each.
std::vector<std::string> steps(Movement& movement, int n) {
    Position position(0, 0);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        const Position before = position;
        movement.apply(&position);
        out.push_back(std::to_string(static_cast<int>(position.getX() - before.getX())) + "," +
                      std::to_string(static_cast<int>(position.getY() - before.getY())));
    }
    return out;
}

std::vector<std::string> rises(int dx, std::initializer_list<int> dy) {
    std::vector<std::string> out;
    for (int y : dy)
        out.push_back(std::to_string(dx) + "," + std::to_string(y));
    return out;
}

} // namespace

// A jump's speed drops after every period + 1 moves, by a drop that grows by 1.
TEST(Movement, StepsOfWalksJumpsAndFalls) {
    TranslationMovement walk(-3, 1);
    EXPECT_EQ(steps(walk, 2), rises(-3, {1, 1}));
    SautMovement jump(2, 10, 1, 2), steep(0, 5, 0, 0), hover(0, 4, 2, -1);
    EXPECT_EQ(steps(jump, 19),
              rises(2, {10, 10, 10, 9, 9, 9, 7, 7, 7, 4, 4, 4, 0, 0, 0, -5, -5, -5, -11}));
    EXPECT_EQ(steps(steep, 5), rises(0, {5, 5, 4, 2, -1})); // period 0: a drop after every move
    EXPECT_EQ(steps(hover, 10000).back(), "0,4");           // a negative period is never reached
    // A jump cut short starts over; with speed 0 it is a fall dropping d, 2d + 1, 3d + 3.
    SautMovement cut(0, 12, 3, 2);
    steps(cut, 7);
    cut.restart();
    EXPECT_EQ(steps(cut, 4), rises(0, {12, 12, 12, 9}));
    cut.restart();
    cut.setSpeedY(0);
    EXPECT_EQ(steps(cut, 12), rises(0, {0, 0, 0, -3, -3, -3, -7, -7, -7, -12, -12, -12}));
}
