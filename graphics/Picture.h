#pragma once

#include "graphics/GraphicProperties.h"

class Graphic;
class Shape;

// One drawable element of a Graphic, placed inside the graphic's transform.
class Picture {
public:
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    virtual ~Picture();

    // Outline in the picture's own coordinates; the caller deletes it.
    virtual Shape* createShape();
    virtual void draw() = 0;
    virtual const char* getClassName() const { return "Picture"; }

    // Outline under the current model-view matrix, or null; the caller deletes it.
    Shape* getWorldShape();

    float getWidth() const { return width; }
    void setWidth(float value) { width = value; }
    float getHeight() const { return height; }
    void setHeight(float value) { height = value; }
    Graphic* getParent() const { return parent; }
    void setParent(Graphic* graphic) { parent = graphic; }
    GraphicProperties& getProperties() { return properties; }
    const GraphicProperties& getProperties() const { return properties; }
    void setShape(Shape* explicitShape);
    void setUseDefaultShape(bool value) { useDefaultShape = value; }

protected:
    // Combined opacity of the drawing graphic and this picture.
    float drawAlpha() const;
    // Axis-aligned quad of the current size, placed by the given anchor.
    Shape* anchoredRectangle(const Position& anchor) const;

    bool useDefaultShape = true;
    Shape* shape = nullptr;
    GraphicProperties properties;
    float width = 0.0f;
    float height = 0.0f;
    Graphic* parent = nullptr;
};
