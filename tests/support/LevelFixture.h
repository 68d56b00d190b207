#pragma once

#include <fstream>
#include <string>

#include "support/TempFile.h"
#include "support/TestImage.h"

// A small level in a fresh folder: ground at y 20, two platforms at (200, 420) and (600, 300)
// with a 128 px top, six hazard spots, and one layout of two targets.
struct LevelFixture {
    LevelFixture() : dir(tempDir()), levelFile(dir + "/Niveau1.ini") {
        TestImage::solid(dir + "/warning sign.bmp", 8, 8, 255, 200, 0);
        const std::string list =
            "Target layouts count:1 " +
            writeTempFile("layout.txt", "Targets count:2\nImages/none.png x:100 y:100 0 0 50 0 "
                                        "50 40 0 40\nImages/none.png x:120 y:110 0 0 50 0 50 "
                                        "40 0 40\n");
        std::string t = "First level\nImages/background.png\nGround 0 20 1024 20\n"
                        "Platforms Images/platform.png ax:0 ay:0\nOutline 0 0 128 0\n"
                        "count:2 platforms\nx:200 y:420 the first\nx:600 y:300\nHazards "
                        "count:6\n";
        for (int i = 0; i < 6; ++i)
            t += dir + "/warning sign.bmp\nwarning x: " + std::to_string(100 * i) +
                 "\nwarning y: 600\nProjectile\n" + dir +
                 "/warning sign.bmp\nx:" + std::to_string(100 * i) +
                 "\ny:400\nOutline\n0 0 32 0 32 32 0 32\n";
        t += "Targets dx:20 dy:-30\n" + dir + "/layouts.txt\n";
        t += "Wave sound Sounds/wave.ogg vol:1\nWaves count:4";
        for (int i = 0; i < 4; ++i)
            t += " Sounds/w" + std::to_string(i) + ".ogg vol:0.5";
        std::ofstream(levelFile, std::ios::binary) << t << "\n";
        std::ofstream(dir + "/layouts.txt", std::ios::binary) << list << "\n";
    }

    std::string dir;
    std::string levelFile;
};
