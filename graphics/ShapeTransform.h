#pragma once

class Shape;

// The source outline with every point multiplied by the current GL
// model-view matrix; the caller deletes the result.
Shape* transformShape(const Shape& source);

// Only the translation part of the current model-view matrix applied.
Shape* translateShape(const Shape& source);
