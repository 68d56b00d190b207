#pragma once

// An angle in degrees, counter-clockwise.
class Rotation {
public:
    explicit Rotation(float angle) : angle(angle) {}
    Rotation(const Rotation& other) = default;
    Rotation& operator=(const Rotation& other) = default;
    virtual ~Rotation() = default;

    float getAngle() const { return angle; }
    void setAngle(float value) { angle = value; }

    virtual const char* getClassName() const { return "Rotation"; }

private:
    float angle;
};
