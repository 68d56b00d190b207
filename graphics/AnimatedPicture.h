#pragma once

#include "graphics/Picture.h"

// A picture with a current frame number; subclasses decide what a frame shows.
class AnimatedPicture : public Picture {
public:
    AnimatedPicture();
    ~AnimatedPicture() override = default;

    void draw() override = 0;
    const char* getClassName() const override { return "AnimatedPicture"; }

    // The base versions step without wrapping: only a subclass knows its frame count.
    virtual void nextFrame();
    virtual void previousFrame();
    virtual void setFrame(int n);

    int getFrame() const { return frame; }

protected:
    int frame;
};
