#include "graphics/AnimatedPicture.h"

AnimatedPicture::AnimatedPicture() : frame(0) {}

void AnimatedPicture::nextFrame() {
    ++frame;
}

void AnimatedPicture::previousFrame() {
    --frame;
}

void AnimatedPicture::setFrame(int n) {
    frame = n;
}
