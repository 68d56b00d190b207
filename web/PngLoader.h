#pragma once

#include <SDL/SDL_video.h>

// IMG_Load for PNG files, in the format SDL_image 1.2 gives the desktop: RGBA
// bytes in that order (a 32-bit surface) for a picture with alpha, RGB bytes
// (24-bit) for one without. The pixel values are the file's own.
class PngLoader {
public:
    // Null with SDL's error set when the file cannot be read.
    static SDL_Surface* load(const char* path);
};
