#include "support/HeroFixture.h"

#include "support/TempFile.h"
#include "support/TestImage.h"

namespace HeroFixture {

const Animation kAnimations[10] = {{6, 1, 2, {0, 1}},     {7, 3, 4, {2, 3}}, {12, 5, 6, {0, 1, 2}},
                                   {13, 7, 8, {3, 2, 1}}, {8, 9, 10, {0}},   {9, 11, 12, {1}},
                                   {6, 5, 7, {2}},        {5, 13, 14, {3}},  {4, 15, 16, {0, 3}},
                                   {3, 17, 18, {3, 0}}};
const Jump kJumpLeft = {-2, 12, 1, 2}, kJumpRight = {2, 11, 2, 1}, kJumpUp = {0, 12, 1, 2};

namespace {

std::string block(const std::string& strip, int pose, const std::string& movement) {
    const Animation& a = kAnimations[pose];
    std::string text = strip + " speed:" + std::to_string(a.speed) +
                       " height:32 width:16 ax:" + std::to_string(a.ax) +
                       " ay:" + std::to_string(a.ay) + movement +
                       " frames:" + std::to_string(a.cells.size());
    for (int cell : a.cells)
        text += " " + std::to_string(cell);
    return text;
}

std::string jump(const Jump& j) {
    return " x:" + std::to_string(j.stepX) + " y:" + std::to_string(j.speedY) +
           " drop:" + std::to_string(j.drop) + " period:" + std::to_string(j.period);
}

} // namespace

std::string heroFileText(const std::string& strip) {
    std::string t = "Test hero: poses, movements, sounds\n";
    for (int pose = 0; pose < 10; ++pose) {
        const std::string walk = " step:" + std::to_string(kWalk);
        t += block(strip, pose,
                   pose == 2 || pose == 3 ? walk
                   : pose == 4            ? jump(kJumpLeft)
                   : pose == 5            ? jump(kJumpRight)
                                          : "");
        t += pose < 9 ? " trailing words\n" : " x:40 y:100\n";
        if (pose == 5)
            t += jump(kJumpUp).substr(1) + "\n";
    }
    t += "Sounds of hero count:2 jump0.ogg vol:0.9 jump1.ogg vol:0.8\n"
         "landing count:1 land.ogg vol:1\nshot count:1 shot.ogg vol:0.7\n"
         "hurt count:1 hurt.ogg vol:1\n";
    return t;
}

std::string writeHeroFile(bool crlf) {
    const std::string dir = TestImage::tempDir();
    TestImage strip(64, 32);
    strip.fill(0, 0, 64, 32, 255, 255, 255, 255);
    strip.fill(0, 0, 8, 32, 255, 0, 0, 255);
    strip.fill(16, 0, 8, 32, 0, 255, 0, 255);
    strip.fill(32, 0, 8, 32, 0, 0, 255, 255);
    strip.fill(48, 0, 8, 32, 255, 0, 0, 255);
    strip.save(dir + "/hero.png");
    std::string text = heroFileText(dir + "/hero.png");
    if (crlf)
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
            text.insert(at, "\r");
    return writeTempFile("Heros.ini", text);
}

} // namespace HeroFixture
