#include "web/RwFile.h"

#include <SDL/SDL_error.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

SDL_RWops* RwFile::open(const char* path, const char* mode) {
    if (!path || !mode) {
        SDL_SetError("SDL_RWFromFile: no file or mode");
        return nullptr;
    }
    const bool writing = std::strchr(mode, 'w') != nullptr;
    const std::string opened = writing ? std::string(path) + ".part" : path;
    std::FILE* file = std::fopen(opened.c_str(), mode);
    if (!file) {
        SDL_SetError("Couldn't open %s: %s", opened.c_str(), std::strerror(errno));
        return nullptr;
    }
    auto* ops = new SDL_RWops{};
    ops->seek = seek;
    ops->read = read;
    ops->write = write;
    ops->close = close;
    ops->hidden.unknown.data1 = new RwFile(file, path, writing);
    return ops;
}

RwFile* RwFile::of(SDL_RWops* ops) {
    return static_cast<RwFile*>(ops->hidden.unknown.data1);
}

int RwFile::seek(SDL_RWops* ops, int offset, int whence) {
    std::FILE* file = of(ops)->file;
    if (std::fseek(file, offset, whence) != 0) {
        SDL_SetError("Error seeking in datastream");
        return -1;
    }
    return static_cast<int>(std::ftell(file));
}

int RwFile::read(SDL_RWops* ops, void* data, int size, int count) {
    std::FILE* file = of(ops)->file;
    const size_t got =
        std::fread(data, static_cast<size_t>(size), static_cast<size_t>(count), file);
    if (got == 0 && std::ferror(file))
        SDL_SetError("Error reading from datastream");
    return static_cast<int>(got);
}

int RwFile::write(SDL_RWops* ops, const void* data, int size, int count) {
    RwFile* self = of(ops);
    const size_t put =
        std::fwrite(data, static_cast<size_t>(size), static_cast<size_t>(count), self->file);
    if (put != static_cast<size_t>(count)) {
        self->failed = true;
        SDL_SetError("Error writing %s: %s", self->path.c_str(), std::strerror(errno));
    }
    return static_cast<int>(put);
}

int RwFile::close(SDL_RWops* ops) {
    RwFile* self = of(ops);
    const bool closed = self->finish();
    delete self;
    delete ops;
    return closed ? 0 : -1;
}

// A written file takes its name only when all of it is on disk.
bool RwFile::finish() {
    const std::string part = path + ".part";
    bool whole = !failed && std::fflush(file) == 0 && (!writing || fsync(fileno(file)) == 0);
    const int error = errno;
    whole = std::fclose(file) == 0 && whole;
    if (!writing)
        return whole;
    if (whole && std::rename(part.c_str(), path.c_str()) == 0)
        return true;
    if (!failed)
        SDL_SetError("Error writing %s: %s", path.c_str(), std::strerror(whole ? errno : error));
    std::remove(part.c_str());
    return false;
}
