#pragma once

// Horizontal and vertical scale factors; 1 is natural size.
class Scale {
public:
    Scale(float x, float y) : x(x), y(y) {}
    Scale(const Scale& other) = default;
    Scale& operator=(const Scale& other) = default;
    virtual ~Scale() = default;

    float getX() const { return x; }
    float getY() const { return y; }
    void set(float newX, float newY) {
        x = newX;
        y = newY;
    }

    virtual const char* getClassName() const { return "Scale"; }

private:
    float x;
    float y;
};
