#include "web/BrowserSurfaces.h"

#include <SDL/SDL_error.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

void channel(Uint32 mask, Uint8& shift, Uint8& loss) {
    shift = 0;
    loss = 8;
    if (!mask)
        return;
    while (!((mask >> shift) & 1u))
        ++shift;
    int bits = 0;
    while (bits + shift < 32 && ((mask >> (shift + bits)) & 1u))
        ++bits;
    loss = static_cast<Uint8>(bits >= 8 ? 0 : 8 - bits);
}

SDL_PixelFormat* makeFormat(int depth, Uint32 red, Uint32 green, Uint32 blue, Uint32 alpha) {
    if (depth != 16 && depth != 24 && depth != 32) {
        SDL_SetError("Only 16, 24 and 32-bit surfaces");
        return nullptr;
    }
    if (!red && !green && !blue) { // SDL's default masks
        red = depth == 16 ? 0xf800 : 0xff0000;
        green = depth == 16 ? 0x07e0 : 0x00ff00;
        blue = depth == 16 ? 0x001f : 0x0000ff;
    }
    auto* format = static_cast<SDL_PixelFormat*>(std::calloc(1, sizeof(SDL_PixelFormat)));
    if (!format) {
        SDL_SetError("Out of memory");
        return nullptr;
    }
    format->BitsPerPixel = static_cast<Uint8>(depth);
    format->BytesPerPixel = static_cast<Uint8>(depth / 8);
    format->Rmask = red;
    format->Gmask = green;
    format->Bmask = blue;
    format->Amask = alpha;
    channel(red, format->Rshift, format->Rloss);
    channel(green, format->Gshift, format->Gloss);
    channel(blue, format->Bshift, format->Bloss);
    channel(alpha, format->Ashift, format->Aloss);
    format->alpha = SDL_ALPHA_OPAQUE;
    return format;
}

SDL_Surface* makeSurface(SDL_PixelFormat* format, int width, int height, int pitch) {
    auto* surface = static_cast<SDL_Surface*>(std::calloc(1, sizeof(SDL_Surface)));
    if (!surface) {
        std::free(format);
        SDL_SetError("Out of memory");
        return nullptr;
    }
    surface->format = format;
    surface->w = width;
    surface->h = height;
    surface->pitch = static_cast<Uint16>(pitch);
    surface->clip_rect = {0, 0, static_cast<Uint16>(width), static_cast<Uint16>(height)};
    surface->refcount = 1;
    // SDL 1.2 turns per-pixel alpha on for any surface with an alpha mask.
    if (format->Amask)
        surface->flags |= SDL_SRCALPHA;
    return surface;
}

void write(SDL_Surface* surface, int x, int y, const Uint8 rgba[4]) {
    const SDL_PixelFormat* f = surface->format;
    Uint32 value = (static_cast<Uint32>(rgba[0] >> f->Rloss) << f->Rshift) |
                   (static_cast<Uint32>(rgba[1] >> f->Gloss) << f->Gshift) |
                   (static_cast<Uint32>(rgba[2] >> f->Bloss) << f->Bshift);
    if (f->Amask)
        value |= (static_cast<Uint32>(rgba[3] >> f->Aloss) << f->Ashift) & f->Amask;
    Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * f->BytesPerPixel;
    std::memcpy(at, &value, f->BytesPerPixel); // little endian: the value's low bytes first
}

// The sizes one side of a blit allows, SDL_Rect's own way round.
bool clip(int& x, int& y, int& w, int& h, int limitW, int limitH, int& shiftX, int& shiftY) {
    shiftX = std::max(0, -x);
    shiftY = std::max(0, -y);
    x += shiftX;
    y += shiftY;
    w = std::min(w - shiftX, limitW - x);
    h = std::min(h - shiftY, limitH - y);
    return w > 0 && h > 0;
}

} // namespace

SDL_Surface* BrowserSurfaces::create(int width, int height, int depth, Uint32 red, Uint32 green,
                                     Uint32 blue, Uint32 alpha) {
    if (width < 0 || height < 0 || width > 16384 || height > 16384) {
        SDL_SetError("Bad surface size");
        return nullptr;
    }
    SDL_PixelFormat* format = makeFormat(depth, red, green, blue, alpha);
    if (!format)
        return nullptr;
    const int pitch = (width * format->BytesPerPixel + 3) & ~3;
    void* pixels = std::calloc(static_cast<size_t>(pitch) * static_cast<size_t>(height) + 1, 1);
    if (!pixels) {
        std::free(format);
        SDL_SetError("Out of memory");
        return nullptr;
    }
    SDL_Surface* surface = makeSurface(format, width, height, pitch);
    if (!surface)
        std::free(pixels);
    else
        surface->pixels = pixels;
    return surface;
}

SDL_Surface* BrowserSurfaces::wrap(void* pixels, int width, int height, int depth, int pitch,
                                   Uint32 red, Uint32 green, Uint32 blue, Uint32 alpha) {
    if (width < 0 || height < 0 || pitch < width * depth / 8 || pitch > 65535) {
        SDL_SetError("Bad surface size");
        return nullptr;
    }
    SDL_PixelFormat* format = makeFormat(depth, red, green, blue, alpha);
    if (!format)
        return nullptr;
    SDL_Surface* surface = makeSurface(format, width, height, pitch);
    if (surface) {
        surface->pixels = pixels;
        surface->flags |= SDL_PREALLOC;
    }
    return surface;
}

void BrowserSurfaces::release(SDL_Surface* surface) {
    if (!surface || --surface->refcount > 0)
        return;
    if (!(surface->flags & SDL_PREALLOC))
        std::free(surface->pixels);
    std::free(surface->format);
    std::free(surface);
}

int BrowserSurfaces::setAlpha(SDL_Surface* surface, Uint32 flag, Uint8 value) {
    if (!surface)
        return -1;
    if (flag & SDL_SRCALPHA) {
        surface->flags |= SDL_SRCALPHA;
        surface->format->alpha = value;
    } else {
        surface->flags &= ~SDL_SRCALPHA;
        surface->format->alpha = SDL_ALPHA_OPAQUE;
    }
    return 0;
}

int BrowserSurfaces::setColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key) {
    if (!surface)
        return -1;
    if (flag & SDL_SRCCOLORKEY) {
        surface->flags |= SDL_SRCCOLORKEY;
        surface->format->colorkey = key;
    } else {
        surface->flags &= ~SDL_SRCCOLORKEY;
        surface->format->colorkey = 0;
    }
    return 0;
}

int BrowserSurfaces::blit(SDL_Surface* source, SDL_Rect* sourceRect, SDL_Surface* target,
                          SDL_Rect* targetRect) {
    if (!source || !target || !source->pixels || !target->pixels) {
        SDL_SetError("SDL_UpperBlit: passed a NULL surface");
        return -1;
    }
    int sx = sourceRect ? sourceRect->x : 0, sy = sourceRect ? sourceRect->y : 0;
    int w = sourceRect ? sourceRect->w : source->w, h = sourceRect ? sourceRect->h : source->h;
    int tx = targetRect ? targetRect->x : 0, ty = targetRect ? targetRect->y : 0;
    int shiftX = 0, shiftY = 0;
    const bool inSource = clip(sx, sy, w, h, source->w, source->h, shiftX, shiftY);
    tx += shiftX;
    ty += shiftY;
    const SDL_Rect& c = target->clip_rect;
    int cx = tx - c.x, cy = ty - c.y;
    const bool inTarget = inSource && clip(cx, cy, w, h, c.w, c.h, shiftX, shiftY);
    sx += shiftX;
    sy += shiftY;
    tx = cx + c.x;
    ty = cy + c.y;
    if (targetRect) {
        targetRect->x = static_cast<Sint16>(tx);
        targetRect->y = static_cast<Sint16>(ty);
        targetRect->w = static_cast<Uint16>(inTarget ? w : 0);
        targetRect->h = static_cast<Uint16>(inTarget ? h : 0);
    }
    if (!inTarget)
        return 0;
    const SDL_PixelFormat* f = source->format;
    const bool keyed = source->flags & SDL_SRCCOLORKEY;
    const bool blend = source->flags & SDL_SRCALPHA;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (keyed && (pixel(source, sx + x, sy + y) & ~f->Amask) == f->colorkey)
                continue;
            Uint8 from[4];
            read(source, sx + x, sy + y, from);
            // A copy takes the surface's own alpha where the pixels have none.
            const Uint8 alpha = f->Amask ? from[3] : f->alpha;
            if (!blend) {
                from[3] = alpha;
                write(target, tx + x, ty + y, from);
                continue;
            }
            if (alpha == 0)
                continue;
            Uint8 to[4];
            read(target, tx + x, ty + y, to);
            for (int i = 0; i < 3; ++i) // SDL 1.2's blend, with its >> 8
                to[i] = alpha == SDL_ALPHA_OPAQUE
                            ? from[i]
                            : static_cast<Uint8>(to[i] + (((from[i] - to[i]) * alpha) >> 8));
            write(target, tx + x, ty + y, to);
        }
    return 0;
}

Uint32 BrowserSurfaces::pixel(const SDL_Surface* surface, int x, int y) {
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                      x * surface->format->BytesPerPixel;
    Uint32 value = 0;
    std::memcpy(&value, at, surface->format->BytesPerPixel);
    return value;
}

void BrowserSurfaces::read(const SDL_Surface* surface, int x, int y, Uint8 rgba[4]) {
    const SDL_PixelFormat* f = surface->format;
    const Uint32 value = pixel(surface, x, y);
    rgba[0] = static_cast<Uint8>(((value & f->Rmask) >> f->Rshift) << f->Rloss);
    rgba[1] = static_cast<Uint8>(((value & f->Gmask) >> f->Gshift) << f->Gloss);
    rgba[2] = static_cast<Uint8>(((value & f->Bmask) >> f->Bshift) << f->Bloss);
    rgba[3] = f->Amask ? static_cast<Uint8>(((value & f->Amask) >> f->Ashift) << f->Aloss)
                       : SDL_ALPHA_OPAQUE;
}
