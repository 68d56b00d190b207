#pragma once

// Frame budgets in whole milliseconds whose average is exactly
// 1000 / frameRate: the fractional part accumulates and adds a millisecond
// whenever it reaches one (16, 17, 17, ... at 60 frames per second).
class FramePacer {
public:
    explicit FramePacer(int frameRate);

    void reset() { accumulator = 0.0; }
    // The budget of the next frame; advances the accumulator.
    int nextBudget();
    // Milliseconds left to wait for a frame that started at t0; <= 0 means none.
    static int delayFor(int budget, unsigned int t0, unsigned int now);

private:
    int frameRate;
    double accumulator;
};
