#include "support/TestImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <png.h>

namespace {

std::vector<std::string>& createdDirs() {
    static std::vector<std::string> dirs;
    return dirs;
}

void removeCreatedDirs() {
    std::error_code ignored;
    for (const std::string& dir : createdDirs())
        std::filesystem::remove_all(dir, ignored);
}

} // namespace

TestImage::TestImage(int width, int height)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height * 4, 0) {}

void TestImage::fill(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t colour[4] = {r, g, b, a};
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            std::copy(colour, colour + 4, &pixels[(static_cast<size_t>(j) * width + i) * 4]);
}

bool TestImage::save(const std::string& path, bool opaque) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (opaque)
        png_set_filler(png, 0, PNG_FILLER_AFTER); // the rows keep four bytes; the file gets three
    for (int y = 0; y < height; ++y)
        png_write_row(png, &pixels[static_cast<size_t>(y) * width * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

std::string TestImage::solid(const std::string& path, int width, int height, uint8_t r, uint8_t g,
                             uint8_t b) {
    TestImage image(width, height);
    image.fill(0, 0, width, height, r, g, b, 255);
    image.save(path);
    return path;
}

std::string TestImage::tempDir() {
    char pattern[] = "/tmp/tolvek-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir)
        return "/tmp";
    if (createdDirs().empty())
        std::atexit(removeCreatedDirs);
    createdDirs().push_back(dir);
    return dir;
}
