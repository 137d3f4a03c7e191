// Track statistics and their text forms.
#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "edit_helpers.h"
#include "model/GPSAnalysis.h"

namespace {


TEST(Analysis, DistanceAlongThePoints) {
  EXPECT_EQ(GetDistance(nullptr), 0);
  TGPXwptList one;
  fill(one, {{0, 0}});
  EXPECT_EQ(GetDistance(&one), 0);
  TGPXwptList l;
  fill(l, {{0, 0}, {0, 1}, {0, 1, 500}, {0, 2}});
  const double degree = 6378137.0 * 3.14159265358979323846 / 180.0;
  EXPECT_NEAR(GetDistance(&l), 2 * degree, 1e-6);
}

TEST(Analysis, DurationSkipsPointsWithoutTime) {
  const struct {
    std::vector<Pt> pts;
    double days;
  } cases[] = {
      {{}, 0},
      {{{0}, {0}}, 0},
      {{{0, 0, 0, 45000.25}}, 0},
      {{{0, 0, 0, 45000.5}, {0, 0, 0, 45000.25}, {0, 0, 0, 45001}}, 0.75},
      {{{0}, {0, 0, 0, 45000.25}, {0}, {0, 0, 0, 45000.5}}, 0.25},
      // 18:00 to 06:00 is half a day before 1899-12-30, a century later and across that day.
      {{{0, 0, 0, encodeDateTime(1850, 9, 21, 6)}, {0, 0, 0, encodeDateTime(1850, 9, 20, 18)}}, 0.5},
      {{{0, 0, 0, encodeDateTime(1950, 9, 21, 6)}, {0, 0, 0, encodeDateTime(1950, 9, 20, 18)}}, 0.5},
      {{{0, 0, 0, encodeDateTime(1899, 12, 29, 18)}, {0, 0, 0, encodeDateTime(1899, 12, 30, 6)}}, 0.5},
  };
  EXPECT_EQ(GetDuration(nullptr), 0);
  for (const auto& c : cases) {
    TGPXwptList l;
    fill(l, c.pts);
    EXPECT_EQ(GetDuration(&l), c.days);
  }
}

TEST(Analysis, ClimbDescentAndElevationExtremes) {
  const struct {
    std::vector<double> ele;
    double climb, descent, maxEle, minEle;
  } cases[] = {
      {{100, 150, 120, 130}, 60, 30, 150, 100},
      {{-10, -20}, 0, 10, -10, -20},  // below sea level: the maximum is not 0
      {{0, 0, 5}, 5, 0, 5, 0},
      {{7}, 0, 0, 7, 7},
      {{}, 0, 0, 0.0, 2147483647.0},
  };
  for (const auto& c : cases) {
    TGPXwptList l;
    for (double e : c.ele) fill(l, {{0, 0, e}});
    EXPECT_EQ(GetClimb(&l), c.climb);
    EXPECT_EQ(GetDescent(&l), c.descent);
    EXPECT_EQ(GetMaxElevation(&l), c.maxEle);
    EXPECT_EQ(GetMinElevation(&l), c.minEle);
  }
  EXPECT_EQ(GetClimb(nullptr) + GetDescent(nullptr) + GetMaxElevation(nullptr), 0);
  EXPECT_EQ(GetMinElevation(nullptr), 2147483647.0);
}

TEST(Analysis, DistanceTexts) {
  const struct {
    double metres;
    const char* text;
  } cases[] = {{2000, "2000.0 m"}, {2000.04, "2.0 km"}, {-150, "150.0 m"},
               {0, "0.0 m"},       {12345, "12.3 km"},  {999.95, "1000.0 m"}};
  for (const auto& c : cases) EXPECT_EQ(DistanceToStr(c.metres), c.text) << c.metres;
}

TEST(Analysis, DurationTexts) {
  const double second = 1.0 / 86400.0;
  const struct {
    double days;
    const char* text;
  } cases[] = {
      {0, "0:00:00"},
      {0.1, "2:24:00"},
      {1, "1 day 0:00:00"},
      {2.5, "2 days 12:00:00"},
      {31, "1 month 1 day 0:00:00"},
      {62, "2 months 2 days 0:00:00"},
      {365, "12 months 5 days 0:00:00"},
      {366, "1 year 1 day 0:00:00"},
      {730, "2 years 0:00:00"},
      {400.5, "1 year 1 month 5 days 12:00:00"},
      {1.25 + 59 * 60 * second + 59 * second, "1 day 6:59:59"},
      // Whole seconds computed as fractions must not lose a second.
      {7 * second, "0:00:07"},
      {(3600 + 1) * second, "1:00:01"},
      {45000 + 29 * second - 45000, "0:00:29"},
      {0.5 * second, "0:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(DurationToStr(c.days), c.text) << c.days;
}

TEST(Analysis, SpeedTexts) {
  EXPECT_EQ(SpeedToStr(10000, 1.0 / 24), "10.0 km/h");
  EXPECT_EQ(SpeedToStr(1500, 0.25 / 24), "6.0 km/h");
  EXPECT_EQ(SpeedToStr(1000, 0), "");
  EXPECT_EQ(SpeedToStr(1000, -1), "");
}

}  // namespace
