#pragma once

class Position;

// A displacement applied to a position once per frame.
class Movement {
public:
    Movement() = default;
    Movement(const Movement&) = default;
    Movement& operator=(const Movement&) = default;
    // Virtual so an owner may delete any movement through this base.
    virtual ~Movement() = default;

    virtual void apply(Position* position) = 0;
    virtual const char* getClassName() const { return "Movement"; }
};
