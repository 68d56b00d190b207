#pragma once

#include <string>
#include <vector>

#include "support/TempFile.h"
#include "support/TestImage.h"

// A small but complete hero file (and its white strip image) for tests, with a different value
// in every field that could be mixed up.
namespace HeroFixture {

constexpr float kWalk = 2.5f;
struct Animation {
    int speed, ax, ay;
    std::vector<int> cells;
};
// One per pose, in the order of the hero's states (the file's animation blocks).
inline const Animation kAnimations[10] = {
    {6, 1, 2, {0, 1}},   {7, 3, 4, {2, 3}},  {12, 5, 6, {0, 1, 2}}, {13, 7, 8, {3, 2, 1}},
    {8, 9, 10, {0}},     {9, 11, 12, {1}},   {6, 5, 7, {2}},        {5, 13, 14, {3}},
    {4, 15, 16, {0, 3}}, {3, 17, 18, {3, 0}}};
struct Jump {
    float stepX, speedY, drop;
    int period;
};
inline const Jump kJumpLeft = {-2, 12, 1, 2}, kJumpRight = {2, 11, 2, 1}, kJumpUp = {0, 12, 1, 2};

// A fresh file's path; crlf chooses the line ends. Each pool's sounds are named after it.
inline std::string writeHeroFile(bool crlf) {
    const std::string strip = tempDir() + "/hero.bmp";
    TestImage::solid(strip, 64, 32, 255, 255, 255); // four 16 x 32 cells
    const auto jump = [](const Jump& j) {
        return " x:" + std::to_string(j.stepX) + " y:" + std::to_string(j.speedY) +
               " drop:" + std::to_string(j.drop) + " period:" + std::to_string(j.period);
    };
    const std::string walk = " step:" + std::to_string(kWalk);
    const std::string moves[] = {"", "", walk, walk, jump(kJumpLeft), jump(kJumpRight)};
    std::string t = "Test hero: poses, movements, sounds\n";
    for (int pose = 0; pose < 10; ++pose) {
        const Animation& a = kAnimations[pose];
        t += strip + " speed:" + std::to_string(a.speed) +
             " height:32 width:16 ax:" + std::to_string(a.ax) + " ay:" + std::to_string(a.ay) +
             (pose < 6 ? moves[pose] : "") + " frames:" + std::to_string(a.cells.size());
        for (int cell : a.cells)
            t += " " + std::to_string(cell);
        t += pose < 9 ? " trailing words\n" : " x:40 y:100\n";
        t += pose == 5 ? jump(kJumpUp).substr(1) + "\n" : "";
    }
    t += "Sounds of hero count:2 jump0.ogg vol:0.9 jump1.ogg vol:0.8\n"
         "landing count:1 land.ogg vol:1\nshot count:1 shot.ogg vol:0.7\nhurt "
         "count:1 hurt.ogg vol:1\n";
    for (size_t at = t.find('\n'); crlf && at != std::string::npos; at = t.find('\n', at + 2))
        t.insert(at, "\r");
    return writeTempFile("Heros.ini", t);
}

} // namespace HeroFixture
