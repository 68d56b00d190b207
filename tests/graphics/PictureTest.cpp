#include <gtest/gtest.h>

#include "app/GameManager.h"
#include "graphics/BitmapPicture.h"
#include "graphics/StripedAnimatedBitmapPicture.h"
#include "support/TempFile.h"
#include "support/TestImage.h"

namespace {

std::string framesOverDraws(StripedAnimatedBitmapPicture& animation, size_t draws) {
    std::string frames;
    while (frames.size() < draws) {
        animation.draw();
        frames += std::to_string(animation.getFrame());
    }
    return frames;
}

} // namespace

// Which cell a frame shows is in the replays' pictures; how fast frames turn over is not.
TEST(StripedAnimation, PacesFramesByDrawsAtTheGamesFrameRate) {
    BitmapPicture strip(TestImage::solid(tempDir() + "/strip.bmp", 64, 32, 255, 0, 0),
                        GraphicProperties(), nullptr, 0);
    ASSERT_TRUE(strip.loadTexture());
    // Frame rate, speed and the frames over successive draws.
    const int savedRate = GameManager::getFrameRate();
    const std::tuple<int, int, std::string> paced[] = {{60, 12, "0000111112"}, {60, 120, "246"},
                                                       {60, 45, "123"},        {60, 0, "00"},
                                                       {0, 12, "00"},          {30, 7, "00011112"}};
    for (const auto& [rate, speed, frames] : paced) {
        GameManager::setFrameRate(rate);
        StripedAnimatedBitmapPicture a(&strip, 32, 16, speed, true, new int[9](), 9);
        EXPECT_EQ(framesOverDraws(a, frames.size()), frames) << speed;
    }
    StripedAnimatedBitmapPicture wrapping(&strip, 32, 16, 120, true, new int[3]{0, 1, 2}, 3);
    EXPECT_EQ(framesOverDraws(wrapping, 2), "12"); // 30 fps: 4 per draw
    for (int i = 0; i < 3; ++i)                    // down to 0 without wrapping early, then round
        wrapping.previousFrame();
    wrapping.setStrip(nullptr); // nothing drawn, nothing advanced
    EXPECT_EQ(framesOverDraws(wrapping, 2), "22");
    GameManager::setFrameRate(savedRate);
}
