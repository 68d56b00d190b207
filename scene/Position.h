#pragma once

// A 2D point or vector in screen pixels (origin lower-left, y up).
class Position {
public:
    Position(float x, float y) : x(x), y(y) {}
    Position(const Position& other) = default;
    Position& operator=(const Position& other) = default;
    virtual ~Position() = default;

    float getX() const { return x; }
    float getY() const { return y; }
    void setX(float value) { x = value; }
    void setY(float value) { y = value; }
    void set(float newX, float newY);
    void translate(float dx, float dy);

    Position operator-(const Position& other) const;
    void operator-=(const Position& other);
    bool operator==(const Position& other) const;
    bool operator!=(const Position& other) const;

    float squaredDistance(const Position& other) const;
    // The foot of this point on the line through a and b; inside tells whether
    // it falls between them (ends included). When a and b coincide the segment
    // is that one point: the answer is a, inside.
    Position projectOnSegment(const Position& a, const Position& b, bool& inside) const;

    virtual const char* getClassName() const { return "Position"; }

private:
    float x;
    float y;
};
