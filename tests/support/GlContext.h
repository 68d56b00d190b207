#pragma once

#include <string>
#include <utility>
#include <vector>

// The one SDL/OpenGL window the test process draws into, and pixel reads.
namespace GlContext {

constexpr int kWidth = 128;
constexpr int kHeight = 128;

// Pixel projection over the window, identity model-view, black back buffer.
void reset();

struct Rgba {
    int r, g, b, a;
};
// One pixel of the back buffer, origin lower-left.
Rgba pixel(int x, int y);

// The pixel as one letter: k(black) r g b w(hite), or ? for anything else.
char colourAt(int x, int y);
std::string colours(const std::vector<std::pair<int, int>>& points);
int modelViewDepth();

} // namespace GlContext
