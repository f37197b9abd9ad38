#include "core/number_text.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace melodex {
namespace {

TEST(RoundToDecimals, RoundsHalfAwayFromZeroWithASmallBias) {
    const struct {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {0.5, 0, 1},
        {1.5, 0, 2},
        {2.5, 0, 3},
        {-2.5, 0, -3},
        {2.675, 2, 2.68},
        {1.005, 2, 1.01},
        {-1.005, 2, -1.01},
        {0.49999999999999, 0, 1},
        {0.4999999999, 0, 0},
        {876.5, -2, 900},
        {1250, -2, 1300},
        {0, 3, 0},
        {4.7683715820, 2, 4.77},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(round_to_decimals(c.value, c.decimals), c.expected)
            << c.value << " to " << c.decimals;
    }
    const double negative_zero = round_to_decimals(-0.4, 0);
    EXPECT_EQ(negative_zero, 0);
    EXPECT_TRUE(std::signbit(negative_zero));
}

TEST(RoundToDecimals, RoundsToZeroAtPlacesPastTheRangeOfADouble) {
    // The C library's pow(10, 308) may be a unit in the last place off 1e308 (mingw-w64's is).
    EXPECT_DOUBLE_EQ(round_to_decimals(5e307, -308), 1e308);
    EXPECT_EQ(round_to_decimals(1e308, -309), 0);
    EXPECT_EQ(round_to_decimals(-5, -400), 0);
    EXPECT_EQ(round_to_decimals(5, std::numeric_limits<int>::min()), 0);
}

TEST(NumberText, WritesThirteenSignificantDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {4.77, "4.77"},
        {5, "5"},
        {1024, "1024"},
        {-0.0, "0"},
        {-4.77, "-4.77"},
        {12.5, "12.5"},
        {1.0 / 3 * 100, "33.33333333333"},
        {100.0 / 3, "33.33333333333"},
        {2.0 / 3 * 100, "66.66666666667"},
        {1.0 / 7 * 100, "14.28571428571"},
        {99.99999999999999, "100"},
        {0.30000000000000004, "0.3"},
        {0.0001, "0.0001"},
        {0.00001, "1e-005"},
        {1e12, "1000000000000"},
        {1.5e13, "1.5e+013"},
        {1e13, "1e+013"},
        {-1.5e-7, "-1.5e-007"},
        {1e300, "1e+300"},
        {9999999999999.5, "1e+013"},
        // Two roundings (17 digits, then 13) differ here from rounding straight to 13.
        {700294.71470555, "700294.7147056"},
        {25, "25"},
        {100, "100"},
    };
    for (const auto& c : cases) EXPECT_EQ(number_text(c.value), c.text) << c.text;
}

TEST(SizeText, GivesMegabytesAboveOneMebibyteAndKilobytesOtherwise) {
    const struct {
        std::int64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0KB"},
        {1, "0KB"},
        {511, "0KB"},
        {512, "1KB"},
        {1536, "2KB"},
        {1048575, "1024KB"},
        {1048576, "1024KB"},
        {1048577, "1MB"},
        {1153434, "1.1MB"},
        {5000000, "4.77MB"},
        {5242880, "5MB"},
        {2147483647, "2048MB"},
        {-1, "0KB"},
        // Byte counts are 64-bit: large files keep their size.
        {2147483648LL, "2048MB"},
        {3LL * 1024 * 1024 * 1024, "3072MB"},
        {5LL * 1024 * 1024 * 1024 * 1024, "5242880MB"},
    };
    for (const auto& c : cases) EXPECT_EQ(size_text(c.bytes), c.text) << c.bytes;
}

}  // namespace
}  // namespace melodex
