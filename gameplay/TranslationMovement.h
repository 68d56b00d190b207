#pragma once

#include "gameplay/Movement.h"

// The same step every frame; walking is (-speed, 0) or (speed, 0).
class TranslationMovement : public Movement {
public:
    TranslationMovement(float dx, float dy);
    ~TranslationMovement() override = default;

    void apply(Position* position) override;
    const char* getClassName() const override { return "TranslationMovement"; }

    float getDx() const { return dx; }
    float getDy() const { return dy; }

private:
    float dx;
    float dy;
};
