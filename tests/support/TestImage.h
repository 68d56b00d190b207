#pragma once

#include <SDL/SDL.h>
#include <string>

// Small opaque test pictures, saved as BMP files: the game's image loader
// reads any format it knows by its content, whatever the file is called.
struct TestImage {
    TestImage(int width, int height)
        : surface(
              SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF, 0xFF00, 0xFF0000, 0)) {}
    ~TestImage() { SDL_FreeSurface(surface); }
    TestImage(const TestImage&) = delete;
    TestImage& operator=(const TestImage&) = delete;

    // Fills the rectangle whose top-left pixel is (x, y), rows counted from the top.
    TestImage& fill(int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
        SDL_Rect rect = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                         static_cast<Uint16>(h)};
        SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, r, g, b));
        return *this;
    }
    std::string save(const std::string& path) const {
        SDL_SaveBMP(surface, path.c_str());
        return path;
    }
    static std::string solid(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
        return TestImage(w, h).fill(0, 0, w, h, r, g, b).save(path);
    }

private:
    SDL_Surface* surface;
};
