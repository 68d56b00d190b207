#include "web/BrowserVideo.h"

#include <SDL/SDL_error.h>
#include <SDL/SDL_events.h>

#include "web/LibraryTolvek.h"

int BrowserVideo::setAttribute(SDL_GLattr attribute, int value) {
    if (attribute < 0 || attribute > SDL_GL_SWAP_CONTROL) {
        SDL_SetError("Unknown OpenGL attribute");
        return -1;
    }
    attributes[attribute] = value;
    return 0;
}

SDL_Surface* BrowserVideo::setMode(int width, int height, int bitsPerPixel, Uint32 flags) {
    if (!(flags & SDL_OPENGL)) {
        SDL_SetError("The browser build draws through OpenGL only");
        return nullptr;
    }
    if (!tolvek_video_open(width, height, attributes[SDL_GL_DEPTH_SIZE] > 0,
                           attributes[SDL_GL_STENCIL_SIZE] > 0, attributes[SDL_GL_ALPHA_SIZE] > 0,
                           attributes[SDL_GL_MULTISAMPLEBUFFERS] > 0 &&
                               attributes[SDL_GL_MULTISAMPLESAMPLES] > 1)) {
        SDL_SetError("The browser gives no WebGL context");
        return nullptr;
    }
    open = true;
    if (!tolvek_video_fullscreen((flags & SDL_FULLSCREEN) != 0)) {
        SDL_SetError("The browser allows full screen only just after a key press");
        return nullptr;
    }
    modeFlags = flags & (SDL_OPENGL | SDL_FULLSCREEN);
    format = SDL_PixelFormat{};
    format.BitsPerPixel = static_cast<Uint8>(bitsPerPixel > 0 ? bitsPerPixel : 32);
    format.BytesPerPixel = static_cast<Uint8>((format.BitsPerPixel + 7) / 8);
    format.alpha = SDL_ALPHA_OPAQUE;
    screen = SDL_Surface{};
    screen.flags = modeFlags;
    screen.format = &format;
    screen.w = width;
    screen.h = height;
    screen.pitch = static_cast<Uint16>(width * format.BytesPerPixel);
    screen.clip_rect = {0, 0, static_cast<Uint16>(width), static_cast<Uint16>(height)};
    screen.refcount = 1;
    return &screen;
}

// As InputSource::switchesWindow: F11, or Return with Alt. Only going full
// screen needs the key's event; leaving it does not.
void BrowserVideo::keyPressed(const SDL_keysym& key) {
    const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
    const bool switches = key.sym == SDLK_F11 || (enter && (key.mod & KMOD_ALT));
    if (open && switches && !(modeFlags & SDL_FULLSCREEN))
        tolvek_request_fullscreen();
}

int BrowserVideo::showCursor(int toggle) {
    const bool was = cursorShown;
    if (toggle == SDL_ENABLE || toggle == SDL_DISABLE) {
        cursorShown = toggle == SDL_ENABLE;
        tolvek_show_cursor(cursorShown);
    }
    return was ? SDL_ENABLE : SDL_DISABLE;
}

void BrowserVideo::setCaption(const char* title) {
    if (title)
        tolvek_set_title(title);
}
