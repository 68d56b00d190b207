#include "app/FramePacer.h"

FramePacer::FramePacer(int frameRate)
    : frameRate(frameRate > 0 ? frameRate : 1), accumulator(0.0) {}

int FramePacer::nextBudget() {
    const double exact = (1.0 / frameRate) * 1000.0;
    int frameMs = static_cast<int>(exact);
    accumulator += exact - frameMs;
    if (accumulator >= 1.0) {
        frameMs += 1;
        accumulator -= static_cast<int>(accumulator);
    }
    return frameMs;
}

int FramePacer::delayFor(int budget, unsigned int t0, unsigned int now) {
    // Unsigned difference survives the tick counter wrapping.
    const unsigned int elapsed = now - t0;
    return budget - static_cast<int>(elapsed);
}
