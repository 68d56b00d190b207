#include "gameplay/SautMovement.h"

#include "scene/Position.h"

SautMovement::SautMovement(float stepX, float startSpeedY, float startDecrement, int period)
    : stepX(stepX), startSpeedY(startSpeedY), startDecrement(startDecrement), period(period),
      speedY(startSpeedY), decrement(startDecrement) {}

void SautMovement::restart() {
    speedY = startSpeedY;
    decrement = startDecrement;
    counter = 0;
}

void SautMovement::apply(Position* position) {
    position->translate(stepX, speedY);
    if (counter != period) {
        // A negative period is met only after the counter wraps; step in
        // unsigned arithmetic so that wrap is defined.
        counter = static_cast<int>(static_cast<unsigned int>(counter) + 1u);
        return;
    }
    counter = 0;
    speedY -= decrement;
    decrement += 1.0f;
}
