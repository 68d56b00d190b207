#pragma once

#include <string>

// The picture of the frame being drawn, read back from GL.
class FrameShot {
public:
    // Writes the back buffer's width x height pixels as a BMP; false on failure.
    static bool save(const std::string& path, int width, int height);
    // Off: the frames that follow run every GL call but fill no pixel, which
    // spares the software rasteriser when nobody looks (a fast replay).
    static void setRasterising(bool on);
};
