#pragma once

#include <string>
#include <vector>

// A small but complete hero file (and its white strip image) for tests, with a different value
// in every field that could be mixed up.
namespace HeroFixture {

constexpr float kWalk = 2.5f;

struct Animation {
    int speed, ax, ay;
    std::vector<int> cells;
};
// One per pose, in the order of the hero's states (the file's animation blocks).
extern const Animation kAnimations[10];

struct Jump {
    float stepX, speedY, drop;
    int period;
};
// The upward jump is 12 px a frame at first: its peak is about 120 px up.
extern const Jump kJumpLeft, kJumpRight, kJumpUp;

// Each pool's sounds are named after it: jump0.ogg and jump1.ogg, land.ogg, shot.ogg, hurt.ogg.
std::string heroFileText(const std::string& stripPath);
// The path of a fresh file; crlf chooses the line ends.
std::string writeHeroFile(bool crlf);

} // namespace HeroFixture
