// Great-circle distance, the RoundCos rule and the rectangle test.
#include <gtest/gtest.h>

#include <cmath>

#include "model/GPS.h"

namespace {
constexpr double kR = 6378137.0;
constexpr double kPi = 3.14159265358979323846;

TPoint4D2 pt(double lat, double lon, double ele = 0, double time = 0) {
  TPoint4D2 p;
  p.Lat = lat;
  p.Lon = lon;
  p.Ele = ele;
  p.Time = time;
  return p;
}

// Haversine on the same sphere: an independent check, well conditioned at all ranges.
double haversine(double lat1, double lon1, double lat2, double lon2) {
  const double r = kPi / 180;
  double dphi = (lat2 - lat1) * r, dl = (lon2 - lon1) * r;
  double a = std::sin(dphi / 2) * std::sin(dphi / 2) +
             std::cos(lat1 * r) * std::cos(lat2 * r) * std::sin(dl / 2) * std::sin(dl / 2);
  return 2 * kR * std::asin(std::sqrt(std::min(1.0, a)));
}

struct DistCase {
  const char* name;
  double lat1, lon1, lat2, lon2;
  double expected;   // metres
  double tolerance;  // metres
};

TEST(Distance, KnownDistances) {
  const DistCase cases[] = {
      {"one degree on the equator", 0, 0, 0, 1, kPi / 180 * kR, 1e-6},
      {"one degree along Greenwich", 0, 0, 1, 0, kPi / 180 * kR, 1e-6},
      {"pole to pole", 90, 0, -90, 0, kPi * kR, 1e-3},
      {"antipodes on the equator", 0, 0, 0, 180, kPi * kR, 1e-3},
      {"antipodes off the axes", 37.5, -122.25, -37.5, 57.75, kPi * kR, 1e-3},
      {"Paris to London", 48.8566, 2.3522, 51.5074, -0.1278,
       haversine(48.8566, 2.3522, 51.5074, -0.1278), 1e-3},
      {"across the date line", 10, 179.5, 10, -179.5, haversine(10, 179.5, 10, -179.5), 1e-3},
      {"ten metres apart", 45, 7, 45 + 10 / (kPi / 180 * kR), 7, 10.0, 1e-2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TPoint4D2 a = pt(c.lat1, c.lon1);
    double d = a.DistanceTo(c.lat2, c.lon2, false);
    ASSERT_FALSE(std::isnan(d));
    EXPECT_NEAR(d, c.expected, c.tolerance);
    // Symmetric, and the point form agrees.
    EXPECT_NEAR(pt(c.lat2, c.lon2).DistanceToPoint(a, false), d, 1e-6);
  }
}

TEST(Distance, IdenticalPositionsAreZeroWhateverElevationAndTime) {
  const double positions[][2] = {{0, 0}, {45.5, 7.25}, {-89.999, 179.999}, {90, 0}};
  for (const auto& p : positions) {
    TPoint4D2 a = pt(p[0], p[1], 100, 45000.5), b = pt(p[0], p[1], -20, 12.25);
    for (bool roundCos : {false, true}) EXPECT_EQ(a.DistanceToPoint(b, roundCos), 0.0);
  }
}

TEST(Distance, RoundCosTreatsHairlineDistancesAsZero) {
  // Points a centimetre apart: the rounded cosine is 1, so the distance is 0; without
  // rounding the cosine may land a hair off 1 and must still give a tiny, finite distance.
  TPoint4D2 a = pt(45, 7);
  double lat2 = 45 + 1e-7;  // about 1.1 cm
  EXPECT_EQ(a.DistanceTo(lat2, 7, true), 0.0);
  double raw = a.DistanceTo(lat2, 7, false);
  EXPECT_GE(raw, 0.0);
  EXPECT_LT(raw, 0.2);
  // Far enough apart the rounding changes nothing.
  EXPECT_DOUBLE_EQ(a.DistanceTo(46, 7, true), a.DistanceTo(46, 7, false));
}

TEST(Distance, CosinePastOneByRoundingGivesNoNaN) {
  // Positions where the rounded products sum to just below -1 or just above +1.
  struct Case {
    double lat1, lon1, lat2, lon2, expected;
  } cases[] = {
      {-65.902204077744102, -130.89346690816899, 65.902204077744102, 49.106533091831011,
       kPi * kR},
      {12.572486766377395, 48.683238592944974, -12.572486766377395, -131.31676140705503, kPi * kR},
      {-8.7813173079831301, -172.43127776997827, -8.7813173069831301, -172.43127776997827, 0.0},
      {-73.898425143962186, 20.224403684056767, -73.898425142962182, 20.224403684056767, 0.0},
  };
  for (const auto& c : cases) {
    double d = pt(c.lat1, c.lon1).DistanceTo(c.lat2, c.lon2, false);
    ASSERT_FALSE(std::isnan(d)) << c.lat1 << " " << c.lon1;
    EXPECT_NEAR(d, c.expected, 0.5);
  }
}

TEST(Distance, NeverNaNNearAntipodes) {
  for (double eps : {0.0, 1e-12, 1e-9, 1e-6}) {
    for (double lat : {0.0, 12.345678, -60.0}) {
      TPoint4D2 a = pt(lat, 30);
      double d = a.DistanceTo(-lat + eps, -150 + eps, false);
      EXPECT_FALSE(std::isnan(d)) << lat << " " << eps;
      EXPECT_NEAR(d, kPi * kR, 1.0);
    }
  }
}

struct RectCase {
  const char* name;
  double lat, lon;
  double lon1, lon2, lat1, lat2;
  bool inside;
};

TEST(IsInRect, StrictInsideInEitherOrder) {
  const RectCase cases[] = {
      {"inside", 1, 1, 0, 2, 0, 2, true},
      {"inside, pairs swapped", 1, 1, 2, 0, 2, 0, true},
      {"on the corner latitude", 0, 1, 0, 2, 0, 2, false},
      {"on the corner", 2, 2, 0, 2, 0, 2, false},
      {"on the west edge", 1, 0, 0, 2, 0, 2, false},
      {"outside north", 3, 1, 0, 2, 0, 2, false},
      {"negative quadrant", -1.5, -1.5, -2, -1, -1, -2, true},
      {"empty rectangle", 1, 1, 1, 1, 1, 1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pt(c.lat, c.lon).IsInRect(c.lon1, c.lon2, c.lat1, c.lat2), c.inside) << c.name;
  }
}

}  // namespace
