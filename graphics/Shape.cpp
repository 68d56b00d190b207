#include "graphics/Shape.h"

#include <iterator>

Polygon Shape::getPolygon(int i) const {
    auto it = polygons.begin();
    if (i > 0)
        std::advance(it, i);
    return *it;
}
