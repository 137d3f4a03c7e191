// Strict number parsing, trims, rounding and case helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/NumberText.h"

namespace {

TEST(ParseFloatStrict, AcceptsPlainDecimalForms) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0.0},         {"1", 1.0},           {"-1", -1.0},         {"+1.5", 1.5},
      {"47.644548", 47.644548},                 {"-122.326897", -122.326897},
      {"1E-5", 1e-5},     {"1e-5", 1e-5},       {"1.5E20", 1.5e20},   {"1.5e+20", 1.5e20},
      {"  12.5\t\r\n", 12.5},                   {".5", 0.5},          {"5.", 5.0},
      {"-.5", -0.5},      {"007", 7.0},         {"1.7976931348623157e308", 1.7976931348623157e308},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
  };
  for (const auto& c : cases) {
    double v = -999;
    EXPECT_TRUE(parseFloatStrict(c.text, v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(ParseFloatStrict, RefusesEverythingElseAndLeavesOutputAlone) {
  const char* cases[] = {"", "   ", "-", "+", ".", "e5", "1e", "1e+", "1.2.3", "1,5", "1 000", "1_000",
                         "inf", "-inf", "INF", "nan", "NaN", "infinity", "0x1p3", "0x10", "1f", "1d",
                         "--1", "+-1", "1-", "1e5.5", "1 e5", "abc", "1e400", "-1e400", "12a"};
  for (const char* text : cases) {
    double v = 42;
    EXPECT_FALSE(parseFloatStrict(text, v)) << text;
    EXPECT_EQ(v, 42) << text;
  }
}

TEST(ParseFloatStrict, UnderflowBecomesZero) {
  double v = 42;
  ASSERT_TRUE(parseFloatStrict("1e-400", v));
  EXPECT_EQ(v, 0.0);
  ASSERT_TRUE(parseFloatStrict("-0.0000001e-999999999999", v));
  EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(std::signbit(v));
  ASSERT_TRUE(parseFloatStrict("0e999999", v));
  EXPECT_EQ(v, 0.0);
}

TEST(ParseFloatWithSeparator, UsesOnlyTheGivenSeparator) {
  double v = 0;
  EXPECT_TRUE(parseFloatWithSeparator("3,25", ',', v));
  EXPECT_EQ(v, 3.25);
  v = 42;
  EXPECT_FALSE(parseFloatWithSeparator("3.25", ',', v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(parseFloatWithSeparator("3.25", '.', v));
  EXPECT_EQ(v, 3.25);
  EXPECT_FALSE(parseFloatWithSeparator("3,25", '.', v));
}

TEST(ParseIntStrict, AcceptsWholeIntegersInRange) {
  const struct {
    const char* text;
    bool ok;
    int64_t value;
  } cases[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"+42", true, 42},
      {"-42", true, -42},
      {" 7 ", true, 7},
      {"9223372036854775807", true, std::numeric_limits<int64_t>::max()},
      {"-9223372036854775808", true, std::numeric_limits<int64_t>::min()},
      {"9223372036854775808", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"+-1", false, 0},
      {"--1", false, 0},
      {"1.0", false, 0},
      {"1e3", false, 0},
      {"0x10", false, 0},
      {"12a", false, 0},
      {"1 2", false, 0},
  };
  for (const auto& c : cases) {
    int64_t v = 99;
    EXPECT_EQ(parseIntStrict(c.text, v), c.ok) << c.text;
    EXPECT_EQ(v, c.ok ? c.value : 99) << c.text;
  }
  int small = 5;
  EXPECT_TRUE(parseIntStrict("2147483647", small));
  EXPECT_EQ(small, 2147483647);
  EXPECT_FALSE(parseIntStrict("2147483648", small));
  EXPECT_EQ(small, 2147483647);
}

TEST(ParseOr, GivesTheFallbackForTextThatIsNoNumber) {
  EXPECT_EQ(parseFloatOr(" 2.5 ", -1.0), 2.5);
  EXPECT_EQ(parseFloatOr("2,5", -1.0), -1.0);
  EXPECT_EQ(parseFloatOr("", 7.0), 7.0);
  EXPECT_EQ(parseIntOr("-12", 0), -12);
  EXPECT_EQ(parseIntOr("12.0", -1), -1);
  EXPECT_EQ(parseIntOr("2147483648", -1), -1);  // out of int range
}

TEST(Trim, RemovesControlCharactersAndBlanksOnlyAtTheEnds) {
  EXPECT_EQ(trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(trim(std::string("\0\x01x\x1f", 4)), "x");
  EXPECT_EQ(trim("   "), "");
  EXPECT_EQ(trim(""), "");
  EXPECT_EQ(trim(" \xC3\xA9t\xC3\xA9 "), "\xC3\xA9t\xC3\xA9");  // UTF-8 bytes are kept
  EXPECT_EQ(trimLeft("  x  "), "x  ");
  EXPECT_EQ(trimRight("  x  "), "  x");
}

TEST(Rounding, HalvesGoToEvenAndTruncCutsTowardZero) {
  const struct {
    double value;
    int64_t even, trunc;
  } cases[] = {
      {0.5, 0, 0},   {1.5, 2, 1},    {2.5, 2, 2},   {3.5, 4, 3},     {-0.5, 0, 0},
      {-1.5, -2, -1}, {-2.5, -2, -2}, {2.4999, 2, 2}, {2.5001, 3, 2}, {-2.7, -3, -2},
      {1e300, std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()},
      {-1e300, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min()},
      {std::numeric_limits<double>::quiet_NaN(), 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(roundHalfEven(c.value), c.even) << c.value;
    EXPECT_EQ(truncToInt(c.value), c.trunc) << c.value;
  }
}

TEST(CaseHelpers, FoldAsciiOnly) {
  EXPECT_EQ(toLowerAscii("GpX Trk \xC3\x89"), "gpx trk \xC3\x89");
  EXPECT_EQ(toUpperAscii("gpx\xC3\xA9"), "GPX\xC3\xA9");
  EXPECT_TRUE(equalsIgnoreCase("gpxtpx:TrackPointExtension", "GPXTPX:trackpointextension"));
  EXPECT_FALSE(equalsIgnoreCase("trk", "trkpt"));
  EXPECT_FALSE(equalsIgnoreCase("a\xC3\xA9", "A\xC3\x89"));
}

TEST(HexDigitValue, ReadsEitherCaseAndRefusesTheRest) {
  EXPECT_EQ(hexDigitValue('0'), 0);
  EXPECT_EQ(hexDigitValue('9'), 9);
  EXPECT_EQ(hexDigitValue('a'), 10);
  EXPECT_EQ(hexDigitValue('F'), 15);
  for (char c : {'g', 'G', ' ', '/', ':', '@', '`', '\xC3'}) EXPECT_EQ(hexDigitValue(c), -1) << c;
}

}  // namespace
