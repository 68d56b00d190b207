#include "graphics/BitmapFont.h"

#include <GL/gl.h>

namespace {

constexpr int kGrid = 16;
constexpr char32_t kMalformed = 0xFFFD;

// What Windows-1252 puts at 0x80-0x9F, where Latin-1 has controls; 0: no character.
constexpr char32_t kWindowsExtras[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int cellOf(char32_t c) {
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kWindowsExtras[i] == c && c != 0)
            return 0x80 + i;
    return '?';
}

// The code point starting at byte i, and i moved past it. A byte that does
// not start a whole, shortest-form character is one malformed character.
char32_t nextCodePoint(const std::string& text, size_t& i) {
    const auto byte = [&text](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (more == 0 || lead > 0xF4)
        return kMalformed;
    char32_t c = lead & (0x3F >> more);
    size_t k = i;
    for (int n = 0; n < more; ++n, ++k) {
        if (k >= text.size() || (byte(k) & 0xC0) != 0x80)
            return kMalformed;
        c = (c << 6) | (byte(k) & 0x3F);
    }
    constexpr char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
    if (c < shortest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kMalformed;
    i = k;
    return c;
}

} // namespace

BitmapFont::BitmapFont(const std::string& fileName)
    : atlas(fileName, GraphicProperties(), nullptr, 0) {}

bool BitmapFont::load() {
    cellWidth = cellHeight = 0;
    const bool read = atlas.loadTexture();
    const int w = static_cast<int>(atlas.getWidth()), h = static_cast<int>(atlas.getHeight());
    if (!read || w == 0 || h == 0 || w % kGrid != 0 || h % kGrid != 0) {
        atlas.unloadTexture();
        return false;
    }
    cellWidth = w / kGrid;
    cellHeight = h / kGrid;
    return true;
}

int BitmapFont::width(const std::string& utf8) const {
    int count = 0;
    for (size_t i = 0; i < utf8.size(); ++count)
        nextCodePoint(utf8, i);
    return count * cellWidth;
}

void BitmapFont::draw(const std::string& utf8, int x, int y, const float rgba[4]) const {
    if (atlas.getTexture() == 0)
        return;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4fv(rgba);
    glBindTexture(GL_TEXTURE_2D, atlas.getTexture());
    // Texel for texel, and never a blend of the neighbouring cell's edge;
    // set at each draw, since a window switch uploads the atlas afresh.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    const float step = 1.0f / kGrid;
    const int bottom = y - cellHeight;
    glBegin(GL_QUADS);
    for (size_t i = 0; i < utf8.size(); x += cellWidth) {
        const int cell = cellOf(nextCodePoint(utf8, i));
        // Row 0 of the image is its top, at t = 0.
        const int column = cell % kGrid, row = cell / kGrid;
        const float s0 = static_cast<float>(column) * step, t0 = static_cast<float>(row) * step;
        glTexCoord2f(s0, t0 + step);
        glVertex2i(x, bottom);
        glTexCoord2f(s0 + step, t0 + step);
        glVertex2i(x + cellWidth, bottom);
        glTexCoord2f(s0 + step, t0);
        glVertex2i(x + cellWidth, y);
        glTexCoord2f(s0, t0);
        glVertex2i(x, y);
    }
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
