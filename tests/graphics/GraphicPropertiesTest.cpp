#include <cmath>
#include <gtest/gtest.h>

#include "graphics/GraphicProperties.h"

// Scale first, then rotation, then translation: the columns are the turned,
// scaled axes, the last one the position.
TEST(GraphicProperties, MatrixIsTranslationRotationScale) {
    for (const std::vector<float>& c : {std::vector<float>{0, 0, 0, 1, 1},
                                        {7, -3, 0, 2, 3},
                                        {7, -3, 0, 1, 3},
                                        {0, 0, 90, 2, 1},
                                        {10, 4, 30, 3, 0.5f}}) {
        float m[16];
        GraphicProperties(Position(c[0], c[1]), Rotation(c[2]), Scale(c[3], c[4]), 0.5f, 1.0f,
                          Position(2, 2))
            .getMatrix(m);
        const float r = c[2] * static_cast<float>(M_PI) / 180, cs = std::cos(r), sn = std::sin(r);
        const float expected[16] = {c[3] * cs, c[3] * sn, 0, 0, -c[4] * sn, c[4] * cs, 0, 0,
                                    0,         0,         1, 0, c[0],       c[1],      0, 1};
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m[i], expected[i], 1e-5) << "cell " << i << " of case " << c[2];
    }
}
