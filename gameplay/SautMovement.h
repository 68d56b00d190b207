#pragma once

#include "gameplay/Movement.h"

// A jump or a fall: a constant sideways step and a vertical speed that
// drops every period + 1 frames, by a drop that grows by 1 each time.
class SautMovement : public Movement {
public:
    SautMovement(float stepX, float startSpeedY, float startDecrement, int period);
    ~SautMovement() override = default;

    // Moves with the speed held before this frame, then maybe drops it.
    void apply(Position* position) override;
    const char* getClassName() const override { return "SautMovement"; }

    // Back to the start of a jump; the owner then sets speed 0 for a fall.
    void restart();

    float getSpeedY() const { return speedY; }
    void setSpeedY(float value) { speedY = value; }
    float getDecrement() const { return decrement; }
    int getCounter() const { return counter; }
    float getStepX() const { return stepX; }
    int getPeriod() const { return period; }

private:
    float stepX;
    float startSpeedY;
    float startDecrement;
    int period;
    int counter = 0;
    float speedY;
    float decrement;
};
