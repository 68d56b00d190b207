#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <string>
#include <utility>
#include <vector>

// The one SDL/OpenGL window the test process draws into, and pixel reads.
namespace GlContext {

constexpr int kWidth = 128;
constexpr int kHeight = 128;

// Pixel projection over the window, identity model-view, black back buffer.
inline void reset() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, kWidth, 0, kHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (GLenum capability : {GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST})
        glDisable(capability);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
}

struct Rgba {
    int r, g, b, a;
};
// One pixel of the back buffer, origin lower-left.
inline Rgba pixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

// Pixels as letters: k(black) r g b w(hite), or ? for anything else.
inline std::string colours(const std::vector<std::pair<int, int>>& points) {
    std::string seen;
    for (const auto& [x, y] : points) {
        const Rgba p = pixel(x, y);
        const int on = (p.r > 200) + (p.g > 200) * 2 + (p.b > 200) * 4;
        const int off = (p.r < 55) + (p.g < 55) * 2 + (p.b < 55) * 4;
        seen += on + off == 7 ? "krg?b??w"[on] : '?';
    }
    return seen;
}

} // namespace GlContext
