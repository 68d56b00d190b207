#pragma once

#include <list>

#include "scene/Position.h"

class GameState;
class Graphic;
class Movement;
class Shape;

// Base of everything on a screen: a node of the scene graph with a graphic,
// a collision outline, a translation and a current movement. It owns none
// of them, except a position that setPosition had to allocate.
class GameObject {
public:
    GameObject();
    // Stores the fields as given and copies children (none when null); no
    // state's list is touched and the position stays the caller's.
    GameObject(bool visible, GameObject* parent, Graphic* graphic, Movement* movement, Shape* shape,
               Position* position, const std::list<GameObject*>* children, bool useGraphicShape);
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;
    virtual ~GameObject();

    // Draws the graphic, then the children, inside this object's translation.
    virtual void update(unsigned int ticks);
    virtual void onCollision(GameObject* other, Position edgeStart, Position edgeEnd,
                             Position otherEdgeStart, Position otherEdgeEnd);
    virtual const char* getClassName() const { return "GameObject"; }

    void setGraphic(Graphic* value) { graphic = value; }
    Graphic* getGraphic() const { return graphic; }
    // Enters or leaves the state's object list; only objects with a graphic enter.
    void setVisible(bool value, GameState* state);
    bool isVisible() const { return visible; }
    GameObject* getParent() const { return parent; }
    void setShape(Shape* value) { shape = value; }
    Shape* getShape() const { return shape; }
    void setUseGraphicShape(bool value) { useGraphicShape = value; }
    Position* getPosition() const { return position; }
    void setPosition(Position value);
    Movement* getMovement() const { return movement; }
    void setMovement(Movement* value) { movement = value; }
    void addChild(GameObject* child);
    std::list<GameObject*> getChildren() const { return children; }

    // Outline in world coordinates, or null; the caller deletes it.
    // Uses the GL model-view stack and leaves it as it found it.
    Shape* getWorldShape();

protected:
    bool visible;
    bool useGraphicShape;
    GameObject* parent;
    Graphic* graphic;
    Shape* shape;
    Position* position;
    std::list<GameObject*> children;
    Movement* movement;

private:
    bool ownsPosition = false; // a position setPosition allocated goes with the object
};
