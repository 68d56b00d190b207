#include "support/LevelFixture.h"

#include <algorithm>
#include <fstream>

#include "support/TempFile.h"
#include "support/TestImage.h"

LevelFixture::LevelFixture(const Options& o) : dir(TestImage::tempDir()) {
    TestImage::solid(dir + "/warning sign.png", 8, 8, 255, 200, 0);
    std::string list = "Target layouts count:" + std::to_string(o.layoutCount);
    for (int i = 0; i < o.layoutCount; ++i) {
        const auto count = std::count(o.layouts[i].begin(), o.layouts[i].end(), '\n');
        list += " " + writeTempFile("layout.txt",
                                    "Targets count:" + std::to_string(count) + "\n" + o.layouts[i]);
    }
    std::string t = "First level\nImages/background.png\nGround 0 20 1024 20\n"
                    "Platforms Images/platform.png ax:0 ay:0\nOutline 0 0 128 0\n"
                    "count:2 platforms\nx:200 y:420 the first\nx:600 y:300\nHazards count:6\n";
    for (int i = 0; i < 6; ++i)
        t += dir + "/warning sign.png\nwarning x: " + std::to_string(100 * i) +
             "\nwarning y: 600\nProjectile\n" + dir +
             "/warning sign.png\nx:" + std::to_string(100 * i) +
             "\ny:400\nOutline\n0 0 32 0 32 32 0 32\n";
    t += "Targets dx:20 dy:-30\n" + dir + "/layouts.txt\n";
    t += "Wave sound Sounds/wave.ogg vol:1\nWaves count:4";
    for (int i = 0; i < 4; ++i)
        t += " Sounds/w" + std::to_string(i) + ".ogg vol:0.5";
    levelFile = dir + "/Niveau1.ini";
    std::ofstream(levelFile, std::ios::binary) << t << "\n";
    std::ofstream(dir + "/layouts.txt", std::ios::binary) << list << "\n";
}
