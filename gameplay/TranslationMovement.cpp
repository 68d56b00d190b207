#include "gameplay/TranslationMovement.h"

#include "scene/Position.h"

TranslationMovement::TranslationMovement(float dx, float dy) : dx(dx), dy(dy) {}

void TranslationMovement::apply(Position* position) {
    position->translate(dx, dy);
}
