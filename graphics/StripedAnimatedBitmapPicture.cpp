#include "graphics/StripedAnimatedBitmapPicture.h"

#include <GL/gl.h>

#include "app/GameManager.h"
#include "graphics/BitmapPicture.h"

StripedAnimatedBitmapPicture::StripedAnimatedBitmapPicture(BitmapPicture* strip, float cellWidth,
                                                           float cellHeight, int animationSpeed,
                                                           bool playing, int* cells, int frameCount)
    : cells(cells), frameCount(frameCount), strip(strip), animationSpeed(animationSpeed),
      playing(playing), lastFrame(-1), texOrigin(0.0f, 0.0f), texSize(0.0f, 0.0f), tickCount(0) {
    width = cellWidth;
    height = cellHeight;
}

StripedAnimatedBitmapPicture::~StripedAnimatedBitmapPicture() {
    delete[] cells;
}

Shape* StripedAnimatedBitmapPicture::createShape() {
    return anchoredRectangle(properties.getAnchor());
}

// ">=" rather than "==" so a frame set past the table comes back to it.
void StripedAnimatedBitmapPicture::nextFrame() {
    ++frame;
    if (frame >= frameCount)
        frame = 0;
}

void StripedAnimatedBitmapPicture::previousFrame() {
    --frame;
    if (frame < 0)
        frame = frameCount - 1;
}

// A new strip or table may put another cell behind the same frame number.
void StripedAnimatedBitmapPicture::setStrip(BitmapPicture* value) {
    strip = value;
    lastFrame = -1;
}

void StripedAnimatedBitmapPicture::setCells(int* newCells, int newFrameCount) {
    if (newCells != cells)
        delete[] cells;
    cells = newCells;
    frameCount = newFrameCount;
    lastFrame = -1;
}

void StripedAnimatedBitmapPicture::advance() {
    const int rate = GameManager::getFrameRate();
    // Without a positive speed and rate there is no pace to keep (and no divisor).
    if (animationSpeed <= 0 || rate <= 0)
        return;
    const int drawsPerFrame = rate / animationSpeed;
    if (drawsPerFrame >= 1) {
        ++tickCount;
        if (tickCount >= drawsPerFrame) {
            nextFrame();
            tickCount = 0;
        }
    } else {
        for (int i = animationSpeed / rate; i > 0; --i)
            nextFrame();
    }
}

void StripedAnimatedBitmapPicture::updateTextureRectangle() {
    const float stripWidth = strip->getWidth();
    const float stripHeight = strip->getHeight();
    // A strip not loaded yet is picked up on a later draw.
    if (lastFrame == frame || stripWidth == 0.0f || stripHeight == 0.0f)
        return;
    const int cellPixels = static_cast<int>(width);
    const int stripPixels = static_cast<int>(stripWidth);
    if (cellPixels < 1 || cellPixels > stripPixels)
        return;
    if (!cells || frame < 0 || frame >= frameCount)
        return;

    texSize.set(width / stripWidth, height / stripHeight);
    const int columns = stripPixels / cellPixels;
    const int rowSpan = columns * cellPixels;
    const int k = cells[frame];
    texOrigin.setX(texSize.getX() * static_cast<float>(k % columns));
    const int row = static_cast<int>(static_cast<float>(k) * width) / rowSpan;
    texOrigin.setY(texSize.getY() * static_cast<float>(row));
    lastFrame = frame;
}

void StripedAnimatedBitmapPicture::draw() {
    if (!strip)
        return;
    // cppcheck-suppress knownConditionTrueFalse ; the level's pause sets it, cppcheck sees no
    // writer
    if (playing && !isFrozen())
        advance();
    updateTextureRectangle();

    float m[16];
    properties.getMatrix(m);
    glPushMatrix();
    glMultMatrixf(m);
    strip->setTexOrigin(texOrigin);
    strip->setTexWidth(texSize.getX());
    strip->setTexHeight(texSize.getY());

    // The strip is shared by every pose cut from it: lend it this cell's
    // size, depth and graphic for one draw only.
    GraphicProperties& stripProperties = strip->getProperties();
    const float savedDepth = stripProperties.getDepth();
    const float savedWidth = strip->getWidth();
    const float savedHeight = strip->getHeight();
    Graphic* savedParent = strip->getParent();
    stripProperties.setDepth(properties.getDepth());
    strip->setWidth(width);
    strip->setHeight(height);
    strip->setParent(parent);
    strip->draw();
    stripProperties.setDepth(savedDepth);
    strip->setWidth(savedWidth);
    strip->setHeight(savedHeight);
    strip->setParent(savedParent);
    glPopMatrix();
}
