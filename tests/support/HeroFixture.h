#pragma once

#include <string>

#include "support/TempFile.h"
#include "support/TestImage.h"

// A small but complete hero file (and its white strip image) for tests.
namespace HeroFixture {

// A fresh file's path; crlf chooses the line ends. Each pool's sounds are named after it.
inline std::string writeHeroFile(bool crlf) {
    const std::string strip = tempDir() + "/hero.bmp";
    TestImage::solid(strip, 64, 32, 255, 255, 255); // four 16 x 32 cells
    const std::string walk = " step:2.5", moves[] = {"",
                                                     "",
                                                     walk,
                                                     walk,
                                                     " x:-2 y:12 drop:1 period:2",
                                                     " x:2 y:11 drop:2 period:1"};
    std::string t = "Test hero: poses, movements, sounds\n";
    for (int pose = 0; pose < 10; ++pose) {
        t += strip + " speed:6 height:32 width:16 ax:1 ay:2" + (pose < 6 ? moves[pose] : "") +
             " frames:2 0 1" + (pose < 9 ? " trailing words\n" : " x:40 y:100\n");
        t += pose == 5 ? "x:0 y:12 drop:1 period:2\n" : "";
    }
    t += "Sounds of hero count:2 jump0.ogg vol:0.9 jump1.ogg vol:0.8\n"
         "landing count:1 land.ogg vol:1\nshot count:1 shot.ogg vol:0.7\nhurt "
         "count:1 hurt.ogg vol:1\n";
    for (size_t at = t.find('\n'); crlf && at != std::string::npos; at = t.find('\n', at + 2))
        t.insert(at, "\r");
    return writeTempFile("Heros.ini", t);
}

} // namespace HeroFixture
