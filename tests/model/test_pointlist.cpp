// Point lists: nearest point, leg speed, visibility, index errors and sorting.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "base/DateTime.h"
#include "model/GPS.h"

namespace {
TPoint4D2* add(TPointList2& list, double lat, double lon, double time = 0) {
  auto p = std::make_unique<TPoint4D2>();
  p->Lat = lat;
  p->Lon = lon;
  p->Time = time;
  return list.Add(std::move(p));
}

TEST(PointList, FindNearestFirstOfEqualsWins) {
  TPointList2 list;
  EXPECT_EQ(list.FindNearestIndex(0, 0), -1);
  EXPECT_EQ(list.FindNearest(0, 0), nullptr);
  add(list, 10, 10);
  add(list, 1, 0);
  add(list, -1, 0);  // as near to (0,0) as the one before
  add(list, 0, 1);
  EXPECT_EQ(list.FindNearestIndex(0, 0), 1);
  EXPECT_EQ(list.FindNearestIndex(9, 9), 0);
  EXPECT_EQ(list.FindNearest(-0.9, 0), list.GetPoint(2));
}

TEST(PointList, GetSpeed) {
  const double t0 = encodeDateTime(2024, 5, 1, 12, 0, 0);
  const double hour = 1.0 / 24;
  TPointList2 list;
  TPoint4D2* a = add(list, 0, 0, t0);
  TPoint4D2* b = add(list, 0, 1, t0 + hour);       // one degree in an hour
  TPoint4D2* c = add(list, 0, 2, t0 + hour);       // same time as its predecessor
  TPoint4D2* d = add(list, 0, 3, 0);               // no time
  TPoint4D2* e = add(list, 0, 4, t0);              // after a point without time
  TPoint4D2* f = add(list, 0, 4, t0 - 2 * hour);   // backwards in time: |dt|
  TPoint4D2 outside;
  const double degreeKm = 3.14159265358979323846 / 180 * 6378137.0 / 1000;

  struct Case {
    const char* name;
    const TPoint4D2* point;
    double expected;
  } cases[] = {
      {"first point", a, -1.0},
      {"one degree in an hour", b, degreeKm},
      {"same time as predecessor", c, -1.0},
      {"without time", d, -1.0},
      {"predecessor without time", e, -1.0},
      {"standing still, time going backwards", f, 0.0},
      {"not in the list", &outside, -1.0},
      {"null", nullptr, -1.0},
  };
  for (const auto& cs : cases) EXPECT_NEAR(list.GetSpeed(cs.point), cs.expected, 1e-6) << cs.name;
  // A leg over midnight before 1899-12-30, or over that day itself, is as fast a century later.
  const int days[][3] = {{1850, 9, 20}, {1950, 9, 20}, {1899, 12, 29}, {1999, 12, 29}};
  for (const auto& d : days) {
    TPointList2 leg;
    add(leg, 0, 0, encodeDateTime(d[0], d[1], d[2], 18));
    EXPECT_NEAR(leg.GetSpeed(add(leg, 0, 1, encodeDateTime(d[0], d[1], d[2] + 1, 6))), degreeKm / 12, 1e-6) << d[0];
  }
}

TEST(PointList, IndexErrorsAndDeletion) {
  TPointList2 list;
  EXPECT_THROW(list.GetPoint(0), std::out_of_range);
  add(list, 1, 1);
  TPoint4D2* second = add(list, 2, 2);
  EXPECT_THROW(list.GetPoint(-1), std::out_of_range);
  EXPECT_THROW(list.GetPoint(2), std::out_of_range);
  list.DeletePoint(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetPoint(0), second);
  // A plain unlink hands the point over without freeing it.
  std::unique_ptr<TPoint4D2> owned = list.Extract(0);
  EXPECT_EQ(owned.get(), second);
  EXPECT_TRUE(list.Empty());
}

TEST(PointList, SortIsInPlaceAndKeepsEqualsInOrder) {
  TPointList2 list;
  std::vector<TPoint4D2*> pts = {add(list, 0, 0, 3), add(list, 1, 0, 1), add(list, 2, 0, 3),
                                 add(list, 3, 0, 2)};
  list.Sort([](const TPoint4D2* a, const TPoint4D2* b) {
    return a->Time < b->Time ? -1 : a->Time > b->Time ? 1 : 0;
  });
  const TPoint4D2* expected[] = {pts[1], pts[3], pts[0], pts[2]};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.GetPoint(i), expected[i]) << i;
}
}  // namespace
