#pragma once

#include <SDL/SDL.h>
#include <string>

// Small opaque test pictures saved as BMP (the loader reads any format by its content): all of
// (r, g, b) from column `from` on, black before it.
namespace TestImage {

inline std::string solid(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b,
                         int from = 0) {
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    SDL_Rect rect = {static_cast<Sint16>(from), 0, static_cast<Uint16>(w - from),
                     static_cast<Uint16>(h)};
    SDL_FillRect(image, &rect, SDL_MapRGB(image->format, r, g, b));
    SDL_SaveBMP(image, path.c_str());
    SDL_FreeSurface(image);
    return path;
}

} // namespace TestImage
