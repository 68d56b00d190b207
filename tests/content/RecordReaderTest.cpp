#include <climits>
#include <gtest/gtest.h>

#include "content/FieldReader.h"

TEST(FieldReader, ValuesAfterTheFirstColon) {
    const std::string big(20, '9');
    const std::string fields[] = {"abc:-3", "abc:7.9", "abc:",     "a:b:5",
                                  "12",     "n:0x10",  "n:" + big, "n:-" + big};
    const int values[] = {-3, 7, 0, 0, 0, 0, INT_MAX, INT_MIN};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(FieldReader::readIntField(fields[i]), values[i]) << fields[i];
    for (const auto& [field, value] :
         {std::pair{"speed:2.5", 2.5}, {"s:1e1", 10.0}, {"s:fast", 0.0}})
        EXPECT_DOUBLE_EQ(FieldReader::readFloatField(field), value) << field;
    EXPECT_EQ(FieldReader::readTextField("a:b:5"), "b:5");
    EXPECT_EQ(FieldReader::readTextField("Images/a.png"), "");
}
