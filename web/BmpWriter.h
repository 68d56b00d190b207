#pragma once

#include <SDL/SDL_rwops.h>
#include <SDL/SDL_video.h>

// A surface as a 24-bit BMP, rows bottom-up, as SDL writes one.
class BmpWriter {
public:
    // 0, or -1 with SDL's error set when any write (or the close) failed.
    static int save(SDL_Surface* surface, SDL_RWops* target, bool closeTarget);
};
