#pragma once

#include "scene/GameObject.h"

class BitmapPicture;

// A rectangle the hero fills in by spraying it: its picture fades in over
// 2000 ms of accumulated shooting, then the target is complete.
class Target : public GameObject {
public:
    Target();
    ~Target() override;

    // Takes the picture (shown at alpha 0) and the closed outline; owns both.
    void setup(BitmapPicture* picture, Shape* outline, const Position& at);

    // Starts a burst when the point lies in the target's box, edges included.
    bool tryStart(Position point);
    void pause();
    void update(unsigned int ticks) override;

    bool isComplete() const { return complete; }
    bool isFilling() const { return filling; }
    unsigned int getFilledTime() const { return filledTime; }
    BitmapPicture* getPicture() const { return picture; }

private:
    BitmapPicture* picture;
    bool complete;
    bool filling;
    unsigned int filledTime;
    unsigned int fillStart;
};
