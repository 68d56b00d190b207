#pragma once

#include "graphics/AnimatedPicture.h"

class BitmapPicture;

// An animation cut from one strip image: a grid of equal cells read row by
// row from the top-left, a table mapping each frame to a cell, and a shared
// BitmapPicture pointed at the current cell for each draw. Frames advance
// with draws, paced by the game's frame rate, never by the clock.
class StripedAnimatedBitmapPicture : public AnimatedPicture {
public:
    // Takes ownership of cells (an array from new[]); the strip stays the caller's.
    StripedAnimatedBitmapPicture(BitmapPicture* strip, float cellWidth, float cellHeight,
                                 int animationSpeed, bool playing, int* cells, int frameCount);
    ~StripedAnimatedBitmapPicture() override;

    // The cell-sized rectangle, placed by this animation's own anchor.
    Shape* createShape() override;
    void draw() override;
    const char* getClassName() const override { return "StripedAnimatedBitmapPicture"; }

    void nextFrame() override;
    void previousFrame() override;

    void setStrip(BitmapPicture* value);
    BitmapPicture* getStrip() const { return strip; }
    void setAnimationSpeed(int value) { animationSpeed = value; }
    int getAnimationSpeed() const { return animationSpeed; }
    void setPlaying(bool value) { playing = value; }
    bool isPlaying() const { return playing; }
    // Takes ownership of the new array and frees the old one.
    void setCells(int* newCells, int newFrameCount);
    int getFrameCount() const { return frameCount; }

    // The current cell in texture coordinates: top-left corner and size.
    const Position& getTexOrigin() const { return texOrigin; }
    const Position& getTexSize() const { return texSize; }

private:
    void advance();
    void updateTextureRectangle();

    int* cells;
    int frameCount;
    BitmapPicture* strip;
    int animationSpeed;
    bool playing;
    int lastFrame;
    Position texOrigin;
    Position texSize;
    int tickCount;
};
