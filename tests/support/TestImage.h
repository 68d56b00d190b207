#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Small RGBA images written as PNG files for the picture tests.
class TestImage {
public:
    TestImage(int width, int height);

    // Fills the rectangle whose top-left pixel is (x, y), rows counted from the top.
    void fill(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    // Writes an 8-bit RGBA PNG, or an RGB one without the alpha channel when opaque.
    bool save(const std::string& path, bool opaque = false) const;

    // A one-colour opaque image at path; returns the path.
    static std::string solid(const std::string& path, int width, int height, uint8_t r, uint8_t g,
                             uint8_t b);
    // A fresh, empty folder for a test's files.
    static std::string tempDir();

private:
    int width, height;
    std::vector<uint8_t> pixels;
};
