#include "support/HeroFixture.h"

#include "support/TempFile.h"
#include "support/TestImage.h"

namespace HeroFixture {

std::string heroFileText(const std::string& strip, const std::string& sound) {
    const std::string cells = " height:32 width:16 ax:0 ay:0";
    std::string t = "Test hero: poses, movements, sounds\n";
    t += strip + " speed:6" + cells + " frames:2 0 1\n";                         // stand left
    t += strip + " speed:6" + cells + " frames:2 2 3 trailing words\n";          // stand right
    t += strip + " speed:12" + cells + " step:2.5 frames:3 0 1 2\n";             // walk left
    t += strip + " speed:12" + cells + " step:2.5 frames:3 1 2 3\n";             // walk right
    t += strip + " speed:8" + cells + " x:-2 y:12 drop:1 period:2 frames:1 0\n"; // air left
    t += strip + " speed:8" + cells + " x:2 y:12 drop:1 period:2 frames:1 1\n";  // air right
    t += "stepX:0 speedY:12 decrement:1 period:2\n";                             // jump up
    t += strip + " speed:6 height:32 width:16 px:5 py:7 frames:1 2\n";           // shoot left
    t += strip + " speed:6" + cells + " frames:1 3\n";                           // shoot right
    t += strip + " speed:6" + cells + " frames:2 0 3\n";                         // hit left
    t += strip + " speed:6" + cells + " frames:2 3 0 x:40 y:100\n";              // hit right
    t += "Sounds of hero count:2 " + sound + " vol:0.9 " + sound + " vol:0.8\n";
    t += "landing count:1 " + sound + " vol:1\n";
    t += "shot count:1 " + sound + " vol:0.7\n";
    t += "hurt count:1 " + sound + " vol:1\n";
    return t;
}

std::string writeHeroFile(bool crlf, const std::string& soundPath) {
    const std::string dir = TestImage::tempDir();
    TestImage strip(64, 32);
    strip.fill(0, 0, 16, 32, 255, 0, 0, 255);
    strip.fill(16, 0, 16, 32, 0, 255, 0, 255);
    strip.fill(32, 0, 16, 32, 0, 0, 255, 255);
    strip.fill(48, 0, 16, 32, 255, 255, 255, 255);
    strip.save(dir + "/hero.png");
    std::string text = heroFileText(dir + "/hero.png", soundPath);
    if (crlf) {
        std::string converted;
        for (char c : text)
            converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
        text = converted;
    }
    const std::string file = writeTempFile("Heros.ini", text);
    return file;
}

} // namespace HeroFixture
