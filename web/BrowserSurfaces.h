#pragma once

#include <SDL/SDL_video.h>

// SDL 1.2's software surfaces: 16, 24 or 32 bits a pixel, channels by masks.
class BrowserSurfaces {
public:
    // Pixels zeroed, owned by the surface.
    static SDL_Surface* create(int width, int height, int depth, Uint32 red, Uint32 green,
                               Uint32 blue, Uint32 alpha);
    // The caller's pixels, which the surface never frees.
    static SDL_Surface* wrap(void* pixels, int width, int height, int depth, int pitch, Uint32 red,
                             Uint32 green, Uint32 blue, Uint32 alpha);
    static void release(SDL_Surface* surface);
    static int setAlpha(SDL_Surface* surface, Uint32 flag, Uint8 value);
    static int setColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key);
    // Converts each pixel to the target's format: a plain copy with
    // SDL_SRCALPHA off (the game's only use), blended onto the target with it
    // on (SDL 1.2's rounding, not SDL 2's); pixels of the colour key are left out.
    static int blit(SDL_Surface* source, SDL_Rect* sourceRect, SDL_Surface* target,
                    SDL_Rect* targetRect);
    // The pixel at x, y as red, green, blue, alpha (opaque without an alpha mask).
    static void read(const SDL_Surface* surface, int x, int y, Uint8 rgba[4]);
    static Uint32 pixel(const SDL_Surface* surface, int x, int y);
};
