#include "web/BmpWriter.h"

#include <SDL/SDL_error.h>

#include <vector>

#include "web/BrowserSurfaces.h"

namespace {

void put16(std::vector<Uint8>& out, Uint32 value) {
    out.push_back(static_cast<Uint8>(value));
    out.push_back(static_cast<Uint8>(value >> 8));
}

void put32(std::vector<Uint8>& out, Uint32 value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

bool writeAll(SDL_RWops* target, const std::vector<Uint8>& bytes) {
    return bytes.empty() ||
           target->write(target, bytes.data(), 1, static_cast<int>(bytes.size())) ==
               static_cast<int>(bytes.size());
}

} // namespace

int BmpWriter::save(SDL_Surface* surface, SDL_RWops* target, bool closeTarget) {
    if (!target) // SDL_RWFromFile has said why
        return -1;
    bool written = surface && surface->pixels;
    if (written) {
        const Uint32 row = (static_cast<Uint32>(surface->w) * 3 + 3) & ~3u;
        const Uint32 image = row * static_cast<Uint32>(surface->h);
        std::vector<Uint8> header;
        header.push_back('B');
        header.push_back('M');
        put32(header, 54 + image); // file size
        put32(header, 0);
        put32(header, 54); // where the pixels start
        put32(header, 40); // BITMAPINFOHEADER
        put32(header, static_cast<Uint32>(surface->w));
        put32(header, static_cast<Uint32>(surface->h));
        put16(header, 1);  // planes
        put16(header, 24); // bits a pixel
        put32(header, 0);  // BI_RGB
        put32(header, image);
        for (int i = 0; i < 4; ++i) // resolution, palette: none
            put32(header, 0);
        written = writeAll(target, header);
        std::vector<Uint8> bytes(row);
        for (int y = surface->h - 1; written && y >= 0; --y) {
            for (int x = 0; x < surface->w; ++x) {
                Uint8 rgba[4];
                BrowserSurfaces::read(surface, x, y, rgba);
                bytes[x * 3] = rgba[2];
                bytes[x * 3 + 1] = rgba[1];
                bytes[x * 3 + 2] = rgba[0];
            }
            written = writeAll(target, bytes);
        }
    } else {
        SDL_SetError("SDL_SaveBMP: no surface");
    }
    if (closeTarget && target->close(target) != 0)
        written = false;
    return written ? 0 : -1;
}
