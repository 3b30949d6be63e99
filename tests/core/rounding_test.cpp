#include "core/Rounding.h"
#include <gtest/gtest.h>

TEST(Rounding, HalvesGoToEven)
{
    struct Case {
        double in;
        int out;
    };
    for (auto c : {Case{2.5, 2}, Case{3.5, 4}, Case{-2.5, -2}, Case{540.5, 540}, Case{541.5, 542},
                   Case{0.49, 0}, Case{1.51, 2}, Case{-1.5, -2}}) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(pw::roundHalfEven(c.in), c.out);
    }
}
