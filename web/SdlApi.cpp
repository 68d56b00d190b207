// The part of SDL 1.2 and SDL_image the game calls, for the browser build:
// the game compiles against SDL 1.2's own headers, so its key symbols, event
// types and structures are the desktop's, and links these instead of
// Emscripten's SDL.
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <emscripten.h>

#include <cstdarg>
#include <cstdio>

#include "web/BmpWriter.h"
#include "web/BrowserEvents.h"
#include "web/BrowserKeyboard.h"
#include "web/BrowserPad.h"
#include "web/BrowserSurfaces.h"
#include "web/BrowserVideo.h"
#include "web/PngLoader.h"
#include "web/RwFile.h"

namespace {

char lastError[512] = "";
Uint32 initialised = 0;
double startedAt = emscripten_get_now();
// sdl12-compat's numbering: the game reads 1.2.50 and later as sdl12-compat,
// whose pads come in SDL 2's controller layout, as ours do.
const SDL_version kLinked = {1, 2, 68};

} // namespace

extern "C" {

void SDL_SetError(const char* format, ...) {
    va_list arguments; // NOLINT(cppcoreguidelines-init-variables): va_start sets it
    va_start(arguments, format);
    std::vsnprintf(lastError, sizeof lastError, format, arguments);
    va_end(arguments);
}

char* SDL_GetError(void) {
    return lastError;
}

void SDL_ClearError(void) {
    lastError[0] = '\0';
}

int SDL_InitSubSystem(Uint32 flags) {
    if (flags & SDL_INIT_VIDEO)
        BrowserEvents::install();
    if (flags & SDL_INIT_JOYSTICK)
        BrowserPad::start();
    initialised |= flags & (SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    return 0;
}

int SDL_Init(Uint32 flags) {
    if (!initialised)
        startedAt = emscripten_get_now();
    return SDL_InitSubSystem(flags);
}

void SDL_QuitSubSystem(Uint32 flags) {
    if (flags & SDL_INIT_JOYSTICK)
        BrowserPad::stop();
    initialised &= ~flags;
}

Uint32 SDL_WasInit(Uint32 flags) {
    return initialised & (flags ? flags : ~0u);
}

void SDL_Quit(void) {
    SDL_QuitSubSystem(~0u);
    BrowserEvents::clear();
}

const SDL_version* SDL_Linked_Version(void) {
    return &kLinked;
}

Uint32 SDL_GetTicks(void) {
    return static_cast<Uint32>(emscripten_get_now() - startedAt);
}

// The page cannot wait: its frames come from the browser instead.
void SDL_Delay(Uint32) {}

int SDL_PollEvent(SDL_Event* event) {
    return BrowserEvents::poll(event) ? 1 : 0;
}

int SDL_PushEvent(SDL_Event* event) {
    BrowserEvents::push(*event);
    return 0;
}

char* SDL_GetKeyName(SDLKey key) {
    return const_cast<char*>(BrowserKeyboard::name(key));
}

SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    if (!(initialised & SDL_INIT_VIDEO))
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    return BrowserVideo::setMode(width, height, bpp, flags);
}

int SDL_GL_SetAttribute(SDL_GLattr attribute, int value) {
    return BrowserVideo::setAttribute(attribute, value);
}

// The browser shows the frame when the page gets control back.
void SDL_GL_SwapBuffers(void) {}

void SDL_WM_SetCaption(const char* title, const char*) {
    BrowserVideo::setCaption(title);
}

int SDL_ShowCursor(int toggle) {
    return BrowserVideo::showCursor(toggle);
}

char* SDL_VideoDriverName(char* name, int length) {
    if (!(initialised & SDL_INIT_VIDEO) || !name || length <= 0)
        return nullptr;
    std::snprintf(name, static_cast<size_t>(length), "%s", "browser");
    return name;
}

SDL_Surface* SDL_CreateRGBSurface(Uint32, int width, int height, int depth, Uint32 red,
                                  Uint32 green, Uint32 blue, Uint32 alpha) {
    return BrowserSurfaces::create(width, height, depth, red, green, blue, alpha);
}

SDL_Surface* SDL_CreateRGBSurfaceFrom(void* pixels, int width, int height, int depth, int pitch,
                                      Uint32 red, Uint32 green, Uint32 blue, Uint32 alpha) {
    return BrowserSurfaces::wrap(pixels, width, height, depth, pitch, red, green, blue, alpha);
}

void SDL_FreeSurface(SDL_Surface* surface) {
    BrowserSurfaces::release(surface);
}

int SDL_SetAlpha(SDL_Surface* surface, Uint32 flag, Uint8 alpha) {
    return BrowserSurfaces::setAlpha(surface, flag, alpha);
}

int SDL_SetColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key) {
    return BrowserSurfaces::setColorKey(surface, flag, key);
}

int SDL_UpperBlit(SDL_Surface* source, SDL_Rect* sourceRect, SDL_Surface* target,
                  SDL_Rect* targetRect) {
    return BrowserSurfaces::blit(source, sourceRect, target, targetRect);
}

SDL_RWops* SDL_RWFromFile(const char* file, const char* mode) {
    return RwFile::open(file, mode);
}

int SDL_SaveBMP_RW(SDL_Surface* surface, SDL_RWops* target, int closeTarget) {
    return BmpWriter::save(surface, target, closeTarget != 0);
}

SDL_Surface* IMG_Load(const char* file) {
    return PngLoader::load(file);
}

int SDL_NumJoysticks(void) {
    return BrowserPad::count();
}

SDL_Joystick* SDL_JoystickOpen(int index) {
    return BrowserPad::open(index);
}

void SDL_JoystickClose(SDL_Joystick* stick) {
    BrowserPad::close(stick);
}

int SDL_JoystickIndex(SDL_Joystick* stick) {
    return BrowserPad::isOpen(stick) ? 0 : -1;
}

int SDL_JoystickNumButtons(SDL_Joystick* stick) {
    return BrowserPad::isOpen(stick) ? BrowserPad::kButtons : -1;
}

int SDL_JoystickEventState(int state) {
    return BrowserPad::eventState(state);
}

} // extern "C"
