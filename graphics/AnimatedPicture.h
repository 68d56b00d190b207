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
    // While frozen (a paused level), draws show the frame they find.
    static void setFrozen(bool value) { frozen = value; }
    static bool isFrozen() { return frozen; }

protected:
    int frame;

private:
    inline static bool frozen = false;
};
