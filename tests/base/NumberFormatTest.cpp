// General and fixed-decimal number text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "base/NumberText.h"

namespace {

struct TextCase {
  double value;
  const char* text;
};

TEST(FormatGeneral, WritesFifteenDigitsWithClassicExponentForm) {
  const TextCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-1.0, "-1"},
      {0.5, "0.5"},
      {10.0, "10"},
      {100.25, "100.25"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 15 digits hide the binary noise
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},
      {0.000015, "1.5E-5"},
      {-1.2345e-10, "-1.2345E-10"},
      {1.5e20, "1.5E20"},
      {1e15, "1E15"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {999999999999999.9, "1E15"},  // rounding carries into the exponent
      {99999999999999.99, "100000000000000"},
      {0.000099999999999999999, "0.0001"},
      {47.644548, "47.644548"},
      {-122.326897, "-122.326897"},
      {4.94065645841247e-324, "4.94065645841247E-324"},
      {1.7976931348623157e308, "1.79769313486232E308"},
      {12.0000000000000001, "12"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatGeneral(c.value), c.text) << c.text;
}

TEST(FormatGeneral, NonFiniteValuesHaveNames) {
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(formatGeneral(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FormatGeneral, TextParsesBackToTheValueAtFifteenDigits) {
  // Any double, written and read back, keeps its first 15 significant digits.
  uint64_t state = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 20000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    double v;
    std::memcpy(&v, &state, sizeof v);
    if (!std::isfinite(v)) continue;
    double back = 0;
    ASSERT_TRUE(parseFloatStrict(formatGeneral(v), back)) << formatGeneral(v);
    EXPECT_EQ(formatGeneral(back), formatGeneral(v));
    if (v != 0) {
      EXPECT_LE(std::fabs(back - v) / std::fabs(v), 5e-15) << formatGeneral(v);
    }
  }
}

struct FixedCase {
  double value;
  int decimals;
  const char* text;
};

TEST(FormatFixed, RoundsDecimalHalvesAwayFromZero) {
  const FixedCase cases[] = {
      {123.25, 1, "123.3"},
      {123.35, 1, "123.4"},
      {-123.25, 1, "-123.3"},
      {0.125, 2, "0.13"},
      {1.005, 2, "1.01"},  // binary 1.00499999..., but written "1.005"
      {2.675, 2, "2.68"},
      {-0.05, 1, "-0.1"},
      {0.05, 1, "0.1"},
      {0.5, 0, "1"},
      {1.5, 0, "2"},
      {2.5, 0, "3"},
      {-2.5, 0, "-3"},
      {0.49, 0, "0"},
      {0.005, 2, "0.01"},
      {0.0049, 2, "0.00"},
      {-0.04, 1, "0.0"},  // rounds to zero: no minus sign
      {-0.0, 2, "0.00"},
      {-0.000001, 3, "0.000"},
      {9.96, 1, "10.0"},
      {99.95, 1, "100.0"},
      {0.96, 0, "1"},
      {0.0, 0, "0"},
      {0.0, 3, "0.000"},
      {7.0, 3, "7.000"},
      {1e-20, 2, "0.00"},
      {1e20, 2, "100000000000000000000.00"},
      {123456.789, 2, "123456.79"},
      {47.6445481, 6, "47.644548"},
      {-122.3268975, 6, "-122.326898"},
      {0.1, 20, "0.10000000000000000000"},
      {5.0, -1, "5"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatFixed(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
}

TEST(FormatInt, WritesPlainAndPaddedIntegers) {
  EXPECT_EQ(formatInt(0), "0");
  EXPECT_EQ(formatInt(-42), "-42");
  EXPECT_EQ(formatInt(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  const struct {
    int64_t value;
    int width;
    const char* text;
  } cases[] = {{5, 2, "05"}, {12, 2, "12"}, {123, 2, "123"}, {-5, 2, "-05"}, {0, 4, "0000"}, {7, 0, "7"},
               {std::numeric_limits<int64_t>::min(), 2, "-9223372036854775808"}};
  for (const auto& c : cases) EXPECT_EQ(formatIntPadded(c.value, c.width), c.text);
}

}  // namespace
