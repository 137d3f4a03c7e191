// Text forms of coordinates, elevation and time.
#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "model/GPS.h"

namespace {
TPoint4D2 pt(double lat, double lon, double ele = 0) {
  TPoint4D2 p;
  p.Lat = lat;
  p.Lon = lon;
  p.Ele = ele;
  return p;
}

TEST(PointText, CoordinatesWithDegreeSignAndHemisphere) {
  struct Case {
    double lat, lon;
    const char *latText, *lonText;
  } cases[] = {
      {-12.5, 3.25, "12.500000\xC2\xB0 S", "3.250000\xC2\xB0 E"},
      {0, 0, "0.000000\xC2\xB0 N", "0.000000\xC2\xB0 E"},
      {45.1234565, -0.0000004, "45.123457\xC2\xB0 N", "0.000000\xC2\xB0 W"},
      {89.9999999, -179.9999995, "90.000000\xC2\xB0 N", "180.000000\xC2\xB0 W"},
  };
  for (const auto& c : cases) {
    TPoint4D2 p = pt(c.lat, c.lon);
    EXPECT_EQ(p.LatToStr(), c.latText);
    EXPECT_EQ(p.LonToStr(), c.lonText);
    EXPECT_EQ(p.LatLonToStr(), std::string(c.latText) + ", " + c.lonText);
  }
}

TEST(PointText, DegreesAndMinutes) {
  struct Case {
    double value;
    const char *latText, *lonText;
  } cases[] = {
      {0.0, "0,0.00000,N", "0,0.00000,E"},
      {-0.25, "0,15.00000,S", "0,15.00000,W"},
      {45.5, "45,30.00000,N", "45,30.00000,E"},
      {-122.1, "122,6.00000,S", "122,6.00000,W"},
  };
  for (const auto& c : cases) {
    TPoint4D2 p = pt(c.value, c.value);
    EXPECT_EQ(p.LatToDegMinStr(), c.latText);
    EXPECT_EQ(p.LonToDegMinStr(), c.lonText);
  }
}

TEST(PointText, Elevation) {
  EXPECT_EQ(pt(0, 0, 123.25).EleToStr(), "123.3 m");
  EXPECT_EQ(pt(0, 0, -5).EleToStr(), "-5.0 m");
  EXPECT_EQ(pt(0, 0, 0).EleToStr(), "0.0 m");
}

TEST(PointText, TimeLeavesOutMidnightAndNone) {
  TPoint4D2 p;
  EXPECT_EQ(p.TimeToStr(), "");
  p.Time = encodeDateTime(2024, 2, 29);
  EXPECT_EQ(p.TimeToStr(), "2024-02-29");
  p.Time = encodeDateTime(2024, 2, 29, 13, 5, 9);
  EXPECT_EQ(p.TimeToStr(), "2024-02-29 13:05:09");
}
}  // namespace
