#include "scene/GameObject.h"

#include <GL/gl.h>

#include "app/GameState.h"
#include "graphics/Graphic.h"
#include "graphics/Shape.h"
#include "graphics/ShapeTransform.h"

namespace {

void multiplyTranslation(const Position& p) {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, p.getX(), p.getY(), 0, 1};
    glMultMatrixf(m);
}

} // namespace

GameObject::GameObject()
    : GameObject(false, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, true) {}

GameObject::GameObject(bool visible, GameObject* parent, Graphic* graphic, Movement* movement,
                       Shape* shape, Position* position, const std::list<GameObject*>* children,
                       bool useGraphicShape)
    : visible(visible), useGraphicShape(useGraphicShape), parent(parent), graphic(graphic),
      shape(shape), position(position), children(children ? *children : std::list<GameObject*>()),
      movement(movement) {}

GameObject::~GameObject() {
    children.clear();
    if (ownsPosition)
        delete position;
}

void GameObject::update(unsigned int ticks) {
    if (position) {
        glPushMatrix();
        multiplyTranslation(*position);
    }
    if (graphic)
        graphic->draw();
    // A copy, so children added or removed meanwhile count from the next frame.
    const std::list<GameObject*> current = children;
    for (GameObject* child : current)
        child->update(ticks);
    if (position)
        glPopMatrix();
}

void GameObject::onCollision(GameObject*, Position, Position, Position, Position) {}

void GameObject::setVisible(bool value, GameState* state) {
    const bool effective = value && graphic != nullptr;
    if (!state)
        return;
    visible = effective;
    if (effective)
        state->addObject(this);
    else
        state->removeObject(this);
}

void GameObject::setPosition(Position value) {
    if (position)
        *position = value;
    else {
        position = new Position(value);
        ownsPosition = true;
    }
}

void GameObject::addChild(GameObject* child) {
    children.push_back(child);
    child->parent = this;
}

Shape* GameObject::getWorldShape() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (GameObject* ancestor = parent; ancestor; ancestor = ancestor->parent)
        if (ancestor->position)
            glTranslatef(ancestor->position->getX(), ancestor->position->getY(), 0.0f);
    if (position)
        multiplyTranslation(*position);
    glPushMatrix();

    Shape* result = nullptr;
    if (useGraphicShape && graphic) {
        if (position)
            result = graphic->getWorldShape();
    } else if (shape) {
        // Without a position the outline stays where it was drawn up, unmoved.
        result = position ? translateShape(*shape) : new Shape(*shape);
    }

    glPopMatrix();
    glPopMatrix();
    return result;
}
