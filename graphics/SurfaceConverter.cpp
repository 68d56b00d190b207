#include "graphics/SurfaceConverter.h"

#include <SDL/SDL.h>

namespace {

// Channel masks that put R, G, B, A in that byte order in memory.
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
const Uint32 kRed = 0xff000000, kGreen = 0x00ff0000, kBlue = 0x0000ff00, kAlpha = 0x000000ff;
#else
const Uint32 kRed = 0x000000ff, kGreen = 0x0000ff00, kBlue = 0x00ff0000, kAlpha = 0xff000000;
#endif

bool isRgba(const SDL_PixelFormat* f) {
    return f->BitsPerPixel == 32 && f->Rmask == kRed && f->Gmask == kGreen && f->Bmask == kBlue &&
           f->Amask == kAlpha;
}

} // namespace

SDL_Surface* SurfaceConverter::toRgba(SDL_Surface* surface) {
    if (!surface)
        return nullptr;
    if (isRgba(surface->format))
        return surface;
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 32, kRed,
                                               kGreen, kBlue, kAlpha);
    if (!target)
        return nullptr;
    // Copy the channels as they are: with per-surface alpha on, the blit would
    // blend into the empty target instead. A colour key stays on, so keyed
    // pixels keep the target's zero alpha.
    Uint32 savedAlphaFlag = surface->flags & SDL_SRCALPHA;
    Uint8 savedAlpha = surface->format->alpha;
    SDL_SetAlpha(surface, 0, SDL_ALPHA_OPAQUE);
    SDL_BlitSurface(surface, nullptr, target, nullptr);
    SDL_SetAlpha(surface, savedAlphaFlag, savedAlpha);
    return target;
}
