#pragma once

#include "scene/Position.h"
#include "scene/Rotation.h"
#include "scene/Scale.h"

// Placement of a graphic or picture: transform, depth (draw order and z),
// opacity and the anchor point of a picture's image.
class GraphicProperties {
public:
    GraphicProperties();
    GraphicProperties(const Position& position, const Rotation& rotation, const Scale& scale,
                      float depth, float alpha, const Position& anchor);
    GraphicProperties(const GraphicProperties& other) = default;
    GraphicProperties& operator=(const GraphicProperties& other) = default;

    Position& getPosition() { return position; }
    Rotation& getRotation() { return rotation; }
    Scale& getScale() { return scale; }
    Position& getAnchor() { return anchor; }
    const Position& getAnchor() const { return anchor; }
    void setPosition(const Position& value) { position = value; }
    void setPosition(float x, float y) { position.set(x, y); }
    void setAnchor(float x, float y) { anchor.set(x, y); }
    float getDepth() const { return depth; }
    void setDepth(float value) { depth = value; }
    float getAlpha() const { return alpha; }
    void setAlpha(float value) { alpha = value; }

    // Column-major translation x rotation x scale, as glMultMatrixf expects.
    void getMatrix(float (&m)[16]) const;

    virtual const char* getClassName() const { return "GraphicProperties"; }

private:
    Position position;
    Rotation rotation;
    Scale scale;
    float depth;
    float alpha;
    Position anchor;
};
