// Bounding boxes: Extend with 0.0 limits as data, and the list's box over its visible points.
#include <gtest/gtest.h>

#include <vector>

#include "model/GPS.h"

namespace {
struct Box {
  double maxLat, minLat, maxLon, minLon;
};

TBBox makeBox(Box b, bool valid) {
  TBBox box;
  box.MaxLat = b.maxLat;
  box.MinLat = b.minLat;
  box.MaxLon = b.maxLon;
  box.MinLon = b.minLon;
  box.Valid = valid;
  return box;
}

void expectBox(const TBBox& box, Box b) {
  EXPECT_EQ(box.MaxLat, b.maxLat);
  EXPECT_EQ(box.MinLat, b.minLat);
  EXPECT_EQ(box.MaxLon, b.maxLon);
  EXPECT_EQ(box.MinLon, b.minLon);
}

struct ExtendCase {
  const char* name;
  std::vector<Box> boxes;  // each a valid box, extended into a cleared one in order
  Box expected;
};

TEST(BBoxExtend, ZeroLimitsAreData) {
  const ExtendCase cases[] = {
      {"one ordinary box", {{2, 1, 4, 3}}, {2, 1, 4, 3}},
      {"two boxes grow", {{2, 1, 4, 3}, {5, -1, 3.5, -7}}, {5, -1, 4, -7}},
      {"box touching the equator, then another", {{1, 0, 5, 4}, {3, 2, 6, 5}}, {3, 0, 6, 4}},
      {"box on Greenwich, then another", {{5, 4, 1, 0}, {6, 5, 3, 2}}, {6, 4, 3, 0}},
      {"a (0,0) point box, then another", {{0, 0, 0, 0}, {2, 1, 2, 1}}, {2, 0, 2, 0}},
      {"another, then a (0,0) point box", {{2, 1, 2, 1}, {0, 0, 0, 0}}, {2, 0, 2, 0}},
      {"straddling both axes", {{1, -1, 1, -1}, {0.5, -2, 0, 0}}, {1, -2, 1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TBBox box;
    for (const Box& b : c.boxes) box.Extend(makeBox(b, true));
    EXPECT_TRUE(box.Valid);
    expectBox(box, c.expected);
  }
}

TEST(BBoxExtend, InvalidBoxesContributeNothing) {
  TBBox box;
  box.Extend(TBBox());
  EXPECT_FALSE(box.Valid);

  // Stale limits of an invalid box (a one-point list keeps its old ones) must not leak in.
  box.Extend(makeBox({50, 40, 10, 5}, false));
  EXPECT_FALSE(box.Valid);
  box.Extend(makeBox({2, 1, 4, 3}, true));
  box.Extend(makeBox({50, 40, 10, 5}, false));
  box.Extend(TBBox());
  EXPECT_TRUE(box.Valid);
  expectBox(box, {2, 1, 4, 3});
}

struct P {
  double lat, lon;
  bool visible;
};

void fill(TPointList2& list, const std::vector<P>& pts) {
  for (const P& p : pts) {
    auto pt = std::make_unique<TPoint4D2>();
    pt->Lat = p.lat;
    pt->Lon = p.lon;
    pt->Visible = p.visible;
    list.Add(std::move(pt));
  }
}

struct RangeCase {
  const char* name;
  std::vector<P> points;
  int first, last;  // last -1 = Count-1
  bool valid;
  Box expected;  // checked when valid
};

TEST(UpdateBBoxRange, WithReset) {
  const RangeCase cases[] = {
      {"empty list", {}, 0, -1, false, {}},
      {"one visible point", {{1, 2, true}}, 0, -1, false, {}},
      {"only the last point visible", {{1, 2, false}, {3, 4, false}, {5, 6, true}}, 0, -1, false, {}},
      {"two visible points, equal latitudes", {{1, 2, true}, {1, 5, true}}, 0, -1, true, {1, 1, 5, 2}},
      {"invisible points left out", {{9, 9, false}, {1, 2, true}, {-9, -9, false}, {3, 0, true}},
       0, -1, true, {3, 1, 2, 0}},
      {"(0,0) points count", {{0, 0, true}, {0, 0, true}}, 0, -1, true, {0, 0, 0, 0}},
      {"equator and Greenwich", {{0, 5, true}, {-2, 0, true}}, 0, -1, true, {0, -2, 5, 0}},
      {"sub-range", {{50, 50, true}, {1, 2, true}, {3, 4, true}, {-50, -50, true}}, 1, 2, true,
       {3, 1, 4, 2}},
      {"last of the range never starts the box", {{1, 1, false}, {2, 2, true}, {3, 3, true}}, 0, 1,
       false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TPointList2 list;
    fill(list, c.points);
    list.UpdateBBoxRange(c.first, c.last < 0 ? list.Count() - 1 : c.last, true);
    EXPECT_EQ(list.BBox.Valid, c.valid);
    if (c.valid) expectBox(list.BBox, c.expected);
  }
}

TEST(UpdateBBoxRange, WithoutResetOnlyGrows) {
  TPointList2 list;
  fill(list, {{1, 2, true}, {3, 4, true}, {80, 80, false}});
  list.BBox = makeBox({10, -10, 10, -10}, false);
  list.UpdateBBox(false);
  EXPECT_TRUE(list.BBox.Valid);
  expectBox(list.BBox, {10, -10, 10, -10});

  list.UpdateBBox(true);
  expectBox(list.BBox, {3, 1, 4, 2});
  list.GetPoint(2)->Visible = true;
  list.UpdateBBox(false);
  expectBox(list.BBox, {80, 1, 80, 2});
}

TEST(UpdateBBoxRange, OnePointListKeepsOldLimitsButInvalid) {
  TPointList2 list;
  fill(list, {{1, 2, true}});
  list.BBox = makeBox({7, 6, 5, 4}, true);
  list.UpdateBBox(true);
  EXPECT_FALSE(list.BBox.Valid);
  expectBox(list.BBox, {7, 6, 5, 4});
}
}  // namespace
