#pragma once

#include <string>

// A small level for tests in a fresh folder: ground at y 20, two platforms at (200, 420) and
// (600, 300) with a 128 px top, six hazard spots, and a layout list naming the given layouts.
struct LevelFixture {
    struct Options {
        // Each layout: the target records after the count.
        std::string layouts[3] = {"Images/none.png x:100 y:100 0 0 50 0 50 40 0 40\n"
                                  "Images/none.png x:120 y:110 0 0 50 0 50 40 0 40\n"};
        int layoutCount = 1;
    };
    explicit LevelFixture(const Options& options);
    LevelFixture() : LevelFixture(Options()) {}

    std::string dir;
    std::string levelFile;
};
