#include "graphics/FrameShot.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <vector>

bool FrameShot::save(const std::string& path, int width, int height) {
    if (width <= 0 || height <= 0)
        return false;
    const size_t row = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> pixels(row * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // GL's rows run bottom-up, a picture's top-down.
    std::vector<unsigned char> flipped(pixels.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(&pixels[static_cast<size_t>(height - 1 - y) * row], row,
                    &flipped[static_cast<size_t>(y) * row]);
    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
        flipped.data(), width, height, 24, static_cast<int>(row), 0x0000ff, 0x00ff00, 0xff0000, 0);
    if (!surface)
        return false;
    const bool saved = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

void FrameShot::setRasterising(bool on) {
    if (on) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
    }
}
