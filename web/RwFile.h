#pragma once

#include <SDL/SDL_rwops.h>

#include <cstdio>
#include <string>
#include <utility>

// SDL_RWFromFile over stdio. A file opened to write is written beside its
// name (NAME.part) and takes the name only when closed whole, so a write cut
// short leaves the old file as it was.
class RwFile {
public:
    // Null with SDL's error set when the file cannot be opened.
    static SDL_RWops* open(const char* path, const char* mode);

private:
    RwFile(std::FILE* file, std::string path, bool writing)
        : file(file), path(std::move(path)), writing(writing) {}
    static RwFile* of(SDL_RWops* ops);
    static int seek(SDL_RWops* ops, int offset, int whence);
    static int read(SDL_RWops* ops, void* data, int size, int count);
    static int write(SDL_RWops* ops, const void* data, int size, int count);
    static int close(SDL_RWops* ops);
    bool finish();

    std::FILE* file;
    std::string path;
    bool writing;
    bool failed = false;
};
