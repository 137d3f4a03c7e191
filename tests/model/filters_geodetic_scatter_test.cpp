// Earth-centred coordinates, the vertex angle, the angle filter and the removal of fixes
// scattered around a stop.
#include <gtest/gtest.h>

#include <cmath>

#include "filters_helpers.h"
#include "model/PointListEdit.h"

namespace {

TEST(GeodeticToECEF, KnownPlaces) {
  const double a = 6378137.0, b = 6356752.314245179;
  struct Case {
    double lon, lat, h, x, y, z;
  } cases[] = {
      {0, 0, 0, a, 0, 0},
      {90, 0, 0, 0, a, 0},
      {180, 0, 0, -a, 0, 0},
      {-90, 0, 1000, 0, -(a + 1000), 0},
      {0, 90, 0, 0, 0, b},
      {0, -90, 100, 0, 0, -(b + 100)},
      {45, 45, 0, 3194419.145061, 3194419.145061, 4487348.408866},
  };
  for (const Case& c : cases) {
    const ECEFPoint e = GeodeticToECEF(c.lon, c.lat, c.h);
    EXPECT_NEAR(e.X, c.x, 1e-5) << c.lon << "," << c.lat;
    EXPECT_NEAR(e.Y, c.y, 1e-5) << c.lon << "," << c.lat;
    EXPECT_NEAR(e.Z, c.z, 1e-5) << c.lon << "," << c.lat;
  }
}

TEST(VertexAngle, RightAngleAndTheDegenerateVertices) {
  auto pt = [](double lat, double lon, double ele) {
    TPoint4D2 p;
    p.Lat = lat, p.Lon = lon, p.Ele = ele;
    return p;
  };
  const TPoint4D2 origin = pt(0, 0, 0), up = pt(0, 0, 100), higher = pt(0, 0, 200);
  EXPECT_NEAR(VertexAngle(up, origin, pt(0, 0.001, 0)), 90.0, 1e-3);
  EXPECT_NEAR(VertexAngle(pt(0.001, 0, 0), origin, pt(0, 0.001, 0)), 90.0, 1e-3);
  EXPECT_EQ(VertexAngle(origin, origin, up), 0.0);    // middle repeats the first
  EXPECT_EQ(VertexAngle(origin, up, higher), 0.0);    // straight vertex counts as 0
  EXPECT_EQ(VertexAngle(origin, up, origin), 0.0);    // full reversal
}

TEST(FilterAngle, DropsWigglesAndKeepsTheCorner) {
  TPointList2 list;
  const double step = equatorDegrees(10), wiggle = equatorDegrees(0.5);
  for (int i = 0; i <= 20; ++i) addPoint(list, (i % 2 ? wiggle : -wiggle), i * step);  // east
  for (int i = 1; i <= 20; ++i) addPoint(list, i * step, 20 * step + (i % 2 ? wiggle : -wiggle));  // north
  const int last = list.Count() - 1;
  FilterAngle(list, 20);
  EXPECT_EQ(originalIndexes(list), (std::vector<int>{0, 1, 20, last - 1, last}));
  for (const auto& p : list.Items()) EXPECT_EQ(p->Mark, 0);
}

// Walk east at 5 km/h with a fix a second, stand for ten minutes with a fix every ten seconds
// wandering by up to a metre, walk on. Ele holds each point's original index.
void walkStopWalk(TPointList2& list, bool walkOn = true) {
  const double walk = equatorDegrees(1.4), jitter = equatorDegrees(0.5), second = 1.0 / 86400;
  double lon = 0, t = 45000.0;
  auto add = [&](double lat, double lo) {
    TPoint4D2* p = addPoint(list, lat, lo, list.Count());
    p->Time = t;
  };
  for (int i = 0; i < 100; ++i, lon += walk, t += second) add(0, lon);
  for (int i = 0; i < 60; ++i, t += 10 * second) add((i % 3 - 1) * jitter, lon + (i % 2 ? jitter : 0));
  if (walkOn)
    for (int i = 0; i < 100; ++i, t += second) add(0, lon += walk);
}

TEST(RemoveScatter, RemovesTheStopButNotTheWalks) {
  // The stretch runs from the second stop fix (the step onto the stop is fast) to the last
  // one (the first step off it is slow too): 580 s.
  std::vector<int> withoutStop, all;
  for (int i = 0; i < 260; ++i) {
    all.push_back(i);
    if (i <= 100 || i >= 160) withoutStop.push_back(i);
  }
  for (auto [minutes, expected] : {std::pair{5, withoutStop}, std::pair{9, withoutStop}, std::pair{10, all}}) {
    TPointList2 list;
    walkStopWalk(list);
    for (const auto& p : list.Items()) p->Mark = 7;
    RemoveScatter(list, minutes);
    std::vector<int> kept;
    for (const auto& p : list.Items()) kept.push_back(static_cast<int>(p->Ele));
    EXPECT_EQ(kept, expected) << minutes << " minutes";
    for (const auto& p : list.Items()) EXPECT_EQ(p->Mark, 0);
  }
}

// A track that ends standing still: the last window closes the stretch, whose end search
// starts one point short of the window's end, so the last two fixes stay.
TEST(RemoveScatter, ClosesAStopThatLastsToTheEnd) {
  TPointList2 list;
  walkStopWalk(list, false);
  RemoveScatter(list, 5);
  std::vector<int> kept;
  for (const auto& p : list.Items()) kept.push_back(static_cast<int>(p->Ele));
  std::vector<int> expected;
  for (int i = 0; i <= 100; ++i) expected.push_back(i);
  expected.insert(expected.end(), {158, 159});
  EXPECT_EQ(kept, expected);
}

TEST(RemoveScatter, NeedsElevenPointsAndATimeOnPointNine) {
  for (auto [count, timeOnNine] : {std::pair{10, true}, std::pair{30, false}}) {
    TPointList2 list;
    for (int i = 0; i < count; ++i) addPoint(list, 0, 0)->Time = (i == 9 && !timeOnNine) ? 0 : 45000 + i;
    RemoveScatter(list, 0);
    EXPECT_EQ(list.Count(), count);
  }
}

}  // namespace
