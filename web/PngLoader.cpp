#include "web/PngLoader.h"

#include <SDL/SDL_error.h>
#include <stb/stb_image.h>

#include <cstring>

#include "web/BrowserSurfaces.h"

SDL_Surface* PngLoader::load(const char* path) {
    int width = 0, height = 0, channels = 0;
    if (!path || !stbi_info(path, &width, &height, &channels)) {
        SDL_SetError("Couldn't load %s: %s", path ? path : "(null)", stbi_failure_reason());
        return nullptr;
    }
    // Grey becomes RGB and grey with alpha RGBA, as SDL_image's palettes would.
    const int wanted = channels == 2 || channels == 4 ? 4 : 3;
    stbi_uc* data = stbi_load(path, &width, &height, &channels, wanted);
    if (!data) {
        SDL_SetError("Couldn't load %s: %s", path, stbi_failure_reason());
        return nullptr;
    }
    SDL_Surface* surface =
        BrowserSurfaces::create(width, height, wanted * 8, 0x000000ff, 0x0000ff00, 0x00ff0000,
                                wanted == 4 ? 0xff000000 : 0);
    if (surface) {
        const size_t row = static_cast<size_t>(width) * static_cast<size_t>(wanted);
        for (int y = 0; y < height; ++y)
            std::memcpy(static_cast<Uint8*>(surface->pixels) + y * surface->pitch,
                        data + static_cast<size_t>(y) * row, row);
    }
    stbi_image_free(data);
    return surface;
}
