#pragma once

#include <string>

#include "graphics/BitmapPicture.h"

// One line of UTF-8 text drawn from a 16 x 16 grid of equal cells (made by
// tools/font.py), cell N holding the Windows-1252 character N. A character
// with no cell (a line break too) and each byte of malformed UTF-8 draw as
// '?'. Every character advances one cell, at whole pixels.
//
// Coordinates are the pictures' own: window pixels under the current
// model-view, origin at the lower left, y growing upwards. (x, y) is the
// text's top-left corner, so the text fills x .. x + width() across and
// y - lineHeight() .. y up; the next line down starts at y - lineHeight().
class BitmapFont {
public:
    explicit BitmapFont(const std::string& fileName);

    // False when the file is missing, unreadable or not a grid of 16 x 16
    // cells; the font then draws nothing and measures 0.
    bool load();
    // rgba multiplies the white glyphs; the colour is white again afterwards.
    void draw(const std::string& utf8, int x, int y, const float rgba[4]) const;
    int width(const std::string& utf8) const;
    int lineHeight() const { return cellHeight; }

private:
    // The atlas lives in a picture so a window switch keeps it with the others'.
    BitmapPicture atlas;
    int cellWidth = 0;
    int cellHeight = 0;
};
