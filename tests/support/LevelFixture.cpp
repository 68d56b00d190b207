#include "support/LevelFixture.h"

#include <fstream>

#include "support/TestImage.h"

namespace {

void write(const std::string& path, const std::string& text) {
    std::ofstream(path.c_str(), std::ios::binary) << text;
}

} // namespace

LevelFixture::LevelFixture(const Options& o) : dir(TestImage::tempDir()) {
    TestImage warning(8, 8);
    warning.fill(0, 0, 8, 8, 255, 200, 0, 255);
    warning.save(dir + "/warning sign.png");

    std::string list = "Target layouts count:" + std::to_string(o.layoutCount);
    for (int i = 0; i < o.layoutCount; ++i) {
        const std::string layout = dir + "/layout" + std::to_string(i) + ".txt";
        int count = 0;
        for (char c : o.layouts[i])
            count += c == '\n';
        write(layout, "Targets count:" + std::to_string(count) + "\n" + o.layouts[i]);
        list += " " + layout;
    }
    write(dir + "/layouts.txt", list + "\n");

    std::string t = "First level\nImages/background.png\nGround 0 20 1024 20\n"
                    "Platforms Images/platform.png ax:0 ay:0\nOutline 0 0 128 0\n"
                    "count:2 platforms\nx:200 y:420 the first\nx:600 y:300\n";
    t += "Hazards count:" + std::to_string(o.spots) + "\n";
    for (int i = 0; i < o.spots; ++i) {
        t += dir + "/warning sign.png\nwarning x: " + std::to_string(100 * i) +
             "\nwarning y: 600\nProjectile\n" + dir +
             "/warning sign.png\nx:" + std::to_string(100 * i) +
             "\ny:400\nOutline\n0 0 32 0 32 32 0 32\n";
    }
    t += "Targets dx:20 dy:-30\n" + dir + "/layouts.txt\n";
    t += "Wave sound Sounds/wave.ogg vol:1\nWaves count:" + std::to_string(o.waveSounds);
    for (int i = 0; i < o.waveSounds; ++i)
        t += " Sounds/w" + std::to_string(i) + ".ogg vol:0.5";
    t += "\n";
    levelFile = dir + "/Niveau1.ini";
    write(levelFile, t);
}
