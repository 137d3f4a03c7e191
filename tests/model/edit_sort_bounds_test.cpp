// Sorting by time, metadata bounds and emptying a document.
#include <gtest/gtest.h>

#include "edit_helpers.h"

namespace {

TEST(SortByTime, PointsRoutesAndSegmentsEarliestFirst) {
  TGPXwptList w;
  // -1.75 is 1899-12-29 18:00, later than -1.25 (06:00).
  fill(w, {{1, 0, 0, 30}, {2, 0, 0, 10}, {3, 0, 0, 20}, {4, 0, 0, 10}, {5, 0, 0, -1.75}, {6, 0, 0, -1.25}});
  w.SortByTime();
  EXPECT_EQ(lats(w), (std::vector<double>{6, 5, 2, 4, 3, 1}));

  // Lists without points count as time 0 and keep their order among equals.
  TGPX doc;
  TGPXrte* late = addRoute(doc, {{1, 0, 0, 50}});
  TGPXrte* empty1 = addRoute(doc, {});
  TGPXrte* early = addRoute(doc, {{1, 0, 0, 5}});
  TGPXrte* empty2 = addRoute(doc, {});
  doc.Routes.SortByTime();
  const std::vector<TGPXrte*> routes{doc.Routes.GetRoute(0), doc.Routes.GetRoute(1),
                                     doc.Routes.GetRoute(2), doc.Routes.GetRoute(3)};
  EXPECT_EQ(routes, (std::vector<TGPXrte*>{empty1, empty2, early, late}));

  TGPXtrk t;
  TGPXtrkseg* s1 = addSegment(t, {{1, 0, 0, 9}, {2, 0, 0, 1}});
  TGPXtrkseg* s2 = addSegment(t, {});
  TGPXtrkseg* s3 = addSegment(t, {{1, 0, 0, 3}});
  t.SortSegmentsByTime();
  EXPECT_EQ(t.GetSegment(0), s2);
  EXPECT_EQ(t.GetSegment(1), s3);
  EXPECT_EQ(t.GetSegment(2), s1);
}

struct BoundsCase {
  const char* what;
  std::vector<Pt> wpts, route, seg;
  bool changes;
  double minlat, maxlat, minlon, maxlon;
};

const BoundsCase kBounds[] = {
    {"all lists together", {{10, 20}, {11, 21}}, {{12, 22}, {13, 19}}, {{9, 25}, {10, 24}}, true,
     9, 13, 19, 25},
    {"one-point lists count", {{10, 20}, {11, 21}}, {{50, 50}}, {{-50, -50}}, true, -50, 50, -50,
     50},
    {"a lone waypoint", {{10, 20}}, {}, {}, true, 10, 10, 20, 20},
    {"one meridian", {{10, 20}, {11, 20}}, {}, {}, true, 10, 11, 20, 20},
    {"one parallel", {{10, 20}, {10, 21}}, {}, {}, true, 10, 10, 20, 21},
    {"no data", {}, {}, {}, false, 0, 0, 0, 0},
    {"a limit on the equator is data", {{0, 10}, {1, 11}}, {{5, 12}, {6, 13}}, {}, true, 0, 6, 10,
     13},
    {"southern and western", {{-10, -20}, {-11, -21}}, {}, {}, true, -11, -10, -21, -20},
};

TEST(UpdateBounds, CoversEveryPointOrKeepsOldBounds) {
  for (const BoundsCase& c : kBounds) {
    SCOPED_TRACE(c.what);
    TGPX doc;
    doc.Metadata.bounds = {1, 2, 3, 4, false};
    fill(doc.Waypoints, c.wpts);
    addRoute(doc, c.route);
    addSegment(*addTrack(doc), c.seg);
    doc.UpdateBounds();
    const TGPXbounds& b = doc.Metadata.bounds;
    EXPECT_EQ(b.Present, c.changes);
    EXPECT_EQ(doc.Metadata.Present, c.changes);
    if (c.changes) {
      EXPECT_EQ(b.minlat, c.minlat);
      EXPECT_EQ(b.maxlat, c.maxlat);
      EXPECT_EQ(b.minlon, c.minlon);
      EXPECT_EQ(b.maxlon, c.maxlon);
    } else {
      EXPECT_EQ(b.minlat, 1);
      EXPECT_EQ(b.maxlon, 4);
    }
  }
}

// A file's bounds hold all of its data, what the views hide included.
TEST(UpdateBounds, HiddenPointsAndListsCount) {
  TGPX doc;
  fill(doc.Waypoints, {{10, 20}, {11, 21}, {80, 80}});
  doc.Waypoints.GetPoint(2)->Visible = false;
  addRoute(doc, {{-30, 20}, {-31, 21}})->SetVisible(false);
  doc.UpdateBounds();
  EXPECT_EQ(doc.Metadata.bounds.maxlat, 80);
  EXPECT_EQ(doc.Metadata.bounds.minlat, -31);
}

TEST(Clear, EmptiesListsKeepsHeaderAndRetiresItems) {
  TGPX doc;
  doc.Creator = "c";
  fill(doc.Waypoints, numbered(2));
  TGPXrte* r = addRoute(doc, numbered(2));
  TGPXtrk* t = addTrack(doc);
  doc.Waypoints.Present = doc.Routes.Present = doc.Tracks.Present = true;
  doc.Selection.Add(r);
  RetiredItems retired;
  doc.Clear(retired);
  EXPECT_EQ(doc.Waypoints.Count() + doc.Routes.Count() + doc.Tracks.Count(), 0);
  EXPECT_FALSE(doc.Waypoints.Present || doc.Routes.Present || doc.Tracks.Present);
  EXPECT_EQ(doc.Selection.Count(), 0);
  EXPECT_EQ(doc.Creator, "c");
  EXPECT_EQ(retired.Count(), 4);
  EXPECT_TRUE(retired.Contains(r) && retired.Contains(t));
  EXPECT_EQ(r->Count(), 2) << "retired items stay whole until the holder is emptied";
}

}  // namespace
