#pragma once

#include <SDL/SDL_keyboard.h>
#include <SDL/SDL_video.h>

// The game's window in the page: its canvas and WebGL context, full screen,
// title and cursor.
class BrowserVideo {
public:
    static int setAttribute(SDL_GLattr attribute, int value);
    // Only OpenGL modes. A second call keeps the context and its textures.
    static SDL_Surface* setMode(int width, int height, int bitsPerPixel, Uint32 flags);
    // A page may go full screen only inside a key's own event, so the keys
    // that switch the game's window ask for it here, a frame before the
    // game's own switch reaches setMode.
    static void keyPressed(const SDL_keysym& key);
    static int showCursor(int toggle);
    static void setCaption(const char* title);

private:
    static inline bool open = false;
    static inline Uint32 modeFlags = 0;
    static inline bool cursorShown = true;
    // SDL 1.2's defaults, by SDL_GLattr.
    static inline int attributes[SDL_GL_SWAP_CONTROL + 1] = {3, 3, 2, 0, 0, 1, 16, 0, 0,
                                                             0, 0, 0, 0, 0, 0, -1, -1};
    static inline SDL_PixelFormat format{};
    static inline SDL_Surface screen{};
};
