#include <GL/gl.h>
#include <SDL/SDL_image.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>
#include <vector>

#include "graphics/BitmapFont.h"
#include "graphics/SurfaceConverter.h"
#include "support/GlContext.h"

// Every pixel of the window against the atlas: each character is its Windows-1252 cell copied
// texel for texel below and right of the corner, times the colour; nothing lies outside.
TEST(BitmapFont, DrawsEachCharacterAsItsWindows1252CellBelowAndRightOfTheCorner) {
    const std::string file = std::string(TOLVEK_GAME_DATA) + "/Fonts/font.png";
    BitmapFont font(file);
    ASSERT_TRUE(font.load());
    BitmapPicture::holdTextures(); // a window switch keeps the font
    BitmapPicture::restoreTextures();
    // An RGBA PNG: the converter hands back the loaded surface itself.
    const std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> atlas(
        SurfaceConverter::toRgba(IMG_Load(file.c_str())), SDL_FreeSurface);
    const int cw = font.width("a"), ch = font.lineHeight(), x = 5, y = 90, w = GlContext::kWidth;
    const std::tuple<std::string, std::vector<int>, std::array<float, 4>> cases[] = {
        {"Ag", {'A', 'g'}, {1, 1, 1, 1}},
        {"\u00e9\u2014\u20ac\u0178\u00a0", {0xE9, 0x97, 0x80, 0x9F, 0xA0}, {1, 0.5f, 0, 1}},
        // unmapped, control, stray byte, overlong '/', cut em dash
        {"\u4e00\x01\xff\xc0\xaf\xe2\x80", std::vector<int>(7, '?'), {0, 1, 1, 1}}};
    for (const auto& [text, cells, rgba] : cases) {
        const int count = static_cast<int>(cells.size());
        ASSERT_EQ(font.width(text), cw * count) << testing::PrintToString(text);
        GlContext::reset();
        font.draw(text, x, y, rgba.data());
        std::vector<unsigned char> shown(w * GlContext::kHeight * 4);
        glReadPixels(0, 0, w, GlContext::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
        int lit = 0, wrong = 0;
        for (size_t i = 0; i < shown.size(); i += 4) {
            const int px = static_cast<int>(i / 4) % w, row = y - 1 - static_cast<int>(i / 4) / w;
            const int k = (px - x) / cw, cell = px >= x && k < count ? cells[k] : -1;
            const int tx = cell % 16 * cw + (px - x) % cw, ty = cell / 16 * ch + row;
            const int a = cell >= 0 && row >= 0 && row < ch
                              ? static_cast<Uint8*>(atlas->pixels)[ty * atlas->pitch + tx * 4 + 3]
                              : 0;
            lit += shown[i] + shown[i + 1] + shown[i + 2] > 0;
            for (int c = 0; c < 3; ++c)
                wrong += std::fabs(static_cast<float>(shown[i + c]) -
                                   rgba[c] * static_cast<float>(a)) > 2;
        }
        EXPECT_GT(lit, cw * count)
            << testing::PrintToString(text); // not a blank draw of a blank atlas
        EXPECT_EQ(wrong, 0) << testing::PrintToString(text);
    }
    float colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), std::vector<float>(4, 1.0f));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
    BitmapFont missing("no/such/font.png"); // no text, and no size to lay it out by
    EXPECT_FALSE(missing.load());
    EXPECT_EQ(missing.width("abc") + missing.lineHeight(), 0);
}
