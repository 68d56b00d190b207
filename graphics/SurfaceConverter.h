#pragma once

struct SDL_Surface;

// Brings any loaded image to 32-bit RGBA in memory byte order R, G, B, A,
// so palette, RGB and BGRA files upload correctly.
class SurfaceConverter {
public:
    // The input itself when it already fits, a new surface otherwise,
    // or null for a null input.
    static SDL_Surface* toRgba(SDL_Surface* surface);
};
