// Douglas-Peucker: straight lines shrink to their ends, and the stack-driven reduction keeps
// exactly the points of the plain recursive definition.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>

#include "filters_helpers.h"
#include "model/PointListEdit.h"

namespace {

TEST(DouglasPeucker, CollinearPointsKeepOnlyTheEnds) {
  struct Variant {
    void (*filter)(TPointList2&, int);
    int n;
  };
  for (const Variant& v : {Variant{DouglasPeucker2D, 100000}, Variant{DouglasPeucker3D, 100000},
                           Variant{DouglasPeuckerMetric, 1}}) {
    TPointList2 list;
    // Along the equator (straight in earth-centred space within a hair) with a steady climb.
    for (int i = 0; i < 50; ++i) addPoint(list, 0, equatorDegrees(2.0 * i), 3.0 * i);
    v.filter(list, v.n);
    EXPECT_EQ(originalIndexes(list), (std::vector<int>{0, 49}));
  }
}

TEST(DouglasPeucker, MetricToleranceIsInMetresAndLeavesMarkAlone) {
  for (auto [offset, n, kept] : {std::tuple{10.0, 5, true}, std::tuple{10.0, 20, false}}) {
    TPointList2 list;
    addPoint(list, 0, 0);
    addPoint(list, equatorDegrees(offset), equatorDegrees(500));
    addPoint(list, 0, equatorDegrees(1000));
    for (const auto& p : list.Items()) p->Mark = 9;
    DouglasPeuckerMetric(list, n);
    EXPECT_EQ(list.Count(), kept ? 3 : 2) << "offset " << offset << " tolerance " << n;
    for (const auto& p : list.Items()) EXPECT_EQ(p->Mark, 9);
  }
}

// Each variant measures in its own space: 3D counts Ele as a third raw coordinate, 2D ignores
// it, and the metric variant converts the height too. A point exactly at the tolerance goes.
TEST(DouglasPeucker, EachVariantMeasuresInItsOwnSpace) {
  struct Case {
    const char* what;
    void (*filter)(TPointList2&, int);
    int n;
    double midLat, midLon, midEle;
    bool kept;
  } cases[] = {
      {"3D raised 1 m", DouglasPeucker3D, 2, 0, 1e-6, 1.0, true},
      {"2D raised 1 m", DouglasPeucker2D, 2, 0, 1e-6, 1.0, false},
      {"2D at the tolerance", DouglasPeucker2D, 2, 0.5, 1e-6, 0, false},   // 0.5^2 == 1/2^2
      {"2D past the tolerance", DouglasPeucker2D, 3, 0.5, 1e-6, 0, true},
      {"3D at the tolerance", DouglasPeucker3D, 2, 0, 1e-6, 0.5, false},
      {"metric raised 10 m", DouglasPeuckerMetric, 5, 0, 1e-6, 10.0, true},
      {"metric raised 10 m, 20 m tolerance", DouglasPeuckerMetric, 20, 0, 1e-6, 10.0, false},
  };
  for (const Case& c : cases) {
    TPointList2 list;
    addPoint(list, 0, 0);
    addPoint(list, c.midLat, c.midLon, c.midEle);
    addPoint(list, 0, 2e-6);
    for (const auto& p : list.Items()) p->Mark = 9;
    c.filter(list, c.n);
    EXPECT_EQ(originalIndexes(list), c.kept ? (std::vector<int>{0, 1, 2}) : (std::vector<int>{0, 2})) << c.what;
    if (c.filter != DouglasPeuckerMetric) {
      EXPECT_EQ(list.First()->Mark, 0) << c.what;
      EXPECT_EQ(list.Last()->Mark, 0) << c.what;
      if (c.kept) {
        EXPECT_EQ(list.GetPoint(1)->Mark, 1) << c.what;
      }
    }
  }
}

// The textbook recursion over (Lat, Lon): the reference the explicit stack must agree with.
void referenceStep(const std::vector<std::pair<double, double>>& pts, int first, int last, double tol2,
                   std::set<int>& kept) {
  if (first + 1 >= last) return;
  const auto [ax, ay] = pts[first];
  const auto [bx, by] = pts[last];
  const double wx = bx - ax, wy = by - ay, c2 = wx * wx + wy * wy;
  double best = 0;
  int k = 0;
  for (int i = first + 1; i < last; ++i) {
    const auto [px, py] = pts[i];
    const double c1 = (px - ax) * wx + (py - ay) * wy;
    double qx = ax, qy = ay;
    if (c1 > c2) {
      qx = bx, qy = by;
    } else if (c1 > 0) {
      const double t = c1 / c2;
      qx = ax + t * wx, qy = ay + t * wy;
    }
    const double d = (px - qx) * (px - qx) + (py - qy) * (py - qy);
    if (d > best) best = d, k = i;
  }
  if (best <= tol2) return;
  kept.insert(k);
  referenceStep(pts, first, k, tol2, kept);
  referenceStep(pts, k, last, tol2, kept);
}

TEST(DouglasPeucker, TwoDimensionalAgreesWithTheRecursiveDefinition) {
  std::mt19937_64 rng(20240501);
  std::normal_distribution<double> step(0.0, 1e-4);
  std::uniform_int_distribution<int> length(0, 400);
  for (int round = 0; round < 200; ++round) {
    const int count = length(rng);
    const int n = std::vector<int>{100, 1000, 10000, 100000}[round % 4];
    TPointList2 list;
    std::vector<std::pair<double, double>> pts;
    double lat = 45, lon = 6;
    for (int i = 0; i < count; ++i) {
      if (round % 5 != 0 || i % 3 != 0) lat += step(rng), lon += step(rng);  // some repeated points
      addPoint(list, lat, lon, step(rng) * 1e6);
      pts.emplace_back(lat, lon);
    }
    std::set<int> kept;
    if (count > 0) kept = {0, count - 1};
    referenceStep(pts, 0, count - 1, 1.0 / (double(n) * n), kept);
    DouglasPeucker2D(list, n);
    ASSERT_EQ(originalIndexes(list), std::vector<int>(kept.begin(), kept.end())) << "round " << round;
    // The graph and the polyline encoder read Mark: 1 on kept interior points, 0 on the ends.
    for (int i = 0; i < list.Count(); ++i)
      EXPECT_EQ(list.GetPoint(i)->Mark, (i == 0 || i == list.Count() - 1) ? 0 : 1);
  }
}

}  // namespace
