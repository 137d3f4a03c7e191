// Hit-testing and box edits: nearest searches, selection operations, cutting points
// inside or outside a box and what the edit reports.
#include <gtest/gtest.h>

#include <algorithm>

#include "ViewFixtures.h"

namespace {

// Waypoints w0 and w1 on one position (a tie wherever the mouse is); a hidden route;
// a track of two segments.
struct Doc {
  TGPX gpx;
  TGPXwpt* w0;
  TGPXwpt* w1;
  TGPXrte* r0;
  TGPXrte* r1;
  TGPXtrk* t;
  TGPXtrkseg* s0;
  TGPXtrkseg* s1;
  Doc() {
    w0 = addPoint(gpx.Waypoints, 45, 6);
    w1 = addPoint(gpx.Waypoints, 45, 6);
    r0 = addRoute(gpx, {{44, 4}, {44, 5}});
    r1 = addRoute(gpx, {{46, 6}, {46.2, 6.2}});
    r1->SetVisible(false);
    t = addTrack(gpx);
    s0 = addSegment(*t, {{43, 8}, {43.5, 8}});
    s1 = addSegment(*t, {{47, 8}, {47.5, 8}});
  }
};

std::vector<TItem*> selected(const TGPX& gpx) { return gpx.Selection.Items; }

}  // namespace

TEST(Pick, NearestSearches) {
  Doc d;
  TGPXDraw v;
  v.SetGPX(&d.gpx);
  v.SelectNearestObject(at(45.01, 6.02), false);  // a tie: the first waypoint wins
  EXPECT_EQ(selected(d.gpx), std::vector<TItem*>{d.w0});
  v.SelectNearestRoute(at(45.9, 6), false);  // hidden items are found too
  EXPECT_EQ(selected(d.gpx), std::vector<TItem*>{d.r1});
  v.SelectNearestTrackSeg(at(46, 6), true);
  EXPECT_EQ(selected(d.gpx), (std::vector<TItem*>{d.r1, d.s1}));
  v.SelectNearestRoute(at(46.1, 6.1), true);  // already selected: unchanged
  EXPECT_EQ(selected(d.gpx), (std::vector<TItem*>{d.r1, d.s1}));
  v.SelectNearestWayPoint(at(0, 170), false);
  EXPECT_EQ(selected(d.gpx), std::vector<TItem*>{d.w0});
  v.SelectNearestObject(at(43.4, 8.1), false);
  EXPECT_EQ(selected(d.gpx), std::vector<TItem*>{d.s0});

  TGPX empty;
  v.SetGPX(&empty);
  empty.Selection.Add(d.w0);
  v.SelectNearestObject(at(45, 6), false);  // no data: nothing changes
  EXPECT_EQ(selected(empty), std::vector<TItem*>{d.w0});
}

TEST(Pick, PointTools) {
  Doc d;
  TGPXDraw v;
  v.SetGPX(&d.gpx);
  v.SelectNearestPoint(at(45.1, 5.9));  // waypoints are no candidates
  EXPECT_EQ(selected(d.gpx), std::vector<TItem*>{d.r1});
  EXPECT_EQ(v.CurrentPoint, d.r1->GetPoint(0));
  d.gpx.Selection.Clear();
  d.gpx.Selection.Add(d.s1);
  v.PickPointInSelection(at(48, 8));
  EXPECT_EQ(v.CurrentPoint, d.s1->GetPoint(1));
  for (TItem* other : {static_cast<TItem*>(d.w0), static_cast<TItem*>(d.t)}) {
    d.gpx.Selection.Clear();
    d.gpx.Selection.Add(other);
    v.PickPointInSelection(at(44, 4));
    EXPECT_EQ(v.CurrentPoint, d.s1->GetPoint(1));  // kept
  }
  d.gpx.Selection.Add(d.r0);  // two items: kept too
  v.PickPointInSelection(at(44, 4));
  EXPECT_EQ(v.CurrentPoint, d.s1->GetPoint(1));
}

TEST(Pick, SecondOfKind) {
  struct Case {
    std::vector<TItem*> before;
    TPoint4D2 where;
    std::vector<TItem*> after;
  };
  Doc d;
  const Case cases[] = {
      {{d.r0, d.s0, d.w1}, at(46, 6), {d.r0, d.r1}},
      {{d.r0}, at(44, 4.5), {d.r0}},  // nearest is the first itself
      {{d.s1}, at(43, 8), {d.s1, d.s0}},
      {{d.w0, d.r0}, at(44, 4), {d.w0}},
      {{}, at(44, 4), {}},
  };
  TGPXDraw v;
  v.SetGPX(&d.gpx);
  for (const Case& k : cases) {
    d.gpx.Selection.Items = k.before;
    v.SelectSecondOfKind(k.where);
    EXPECT_EQ(selected(d.gpx), k.after);
  }
}

namespace {

// A 100x100 view over lat 0..10, lon 0..10/K exactly: pixel (x, y) is (lat (100-y)/10, lon x/10/K).
struct BoxDoc {
  TGPX gpx;
  SizedView s{100, 100, &gpx};
  TGPXrte* inner;   // wholly inside the box below
  TGPXrte* mixed;   // one point in, one out
  TGPXtrk* trk;
  TGPXtrkseg* segIn;
  TGPXtrkseg* segOut;
  TGPXwpt* onEdge;  // on the box's southern edge latitude
  TGPXwpt* far;
  BoxDoc() {
    const double k = static_cast<double>(kDrawK);
    auto lon = [k](double x) { return x / 10 / k; };
    onEdge = addPoint(gpx.Waypoints, 3, lon(50));
    far = addPoint(gpx.Waypoints, 9, lon(90));
    inner = addRoute(gpx, {{5, lon(40)}, {6, lon(60)}});
    mixed = addRoute(gpx, {{5, lon(50)}, {9, lon(90)}});
    trk = addTrack(gpx);
    segIn = addSegment(*trk, {{4, lon(30)}, {5, lon(40)}});
    segOut = addSegment(*trk, {{9, lon(10)}, {9.5, lon(10)}});
    TBBox& b = s.view.ViewBox;
    b.MinLat = 0, b.MaxLat = 10, b.MinLon = 0, b.MaxLon = lon(100);
    b.Scale = 10;  // exact, so that row 70 is latitude 3.0 exactly
    b.Valid = true;
  }
  // The box of pixels 20..80 across, rows 20..70 from the top: lat 3..8, y counted upward.
  TCutReport cut(bool onlySelected, bool keepInside) {
    return s.view.CutPointsInRect({20, 30, 80, 80}, onlySelected, keepInside);
  }
};

}  // namespace

TEST(Pick, CutInsideDeletesAndRemovesWhatEmpties) {
  BoxDoc d;
  ASSERT_EQ(d.s.view.YToLat(70), 3.0);
  d.s.view.CurrentList = d.inner;
  d.s.view.CurrentPoint = d.mixed->GetPoint(0);
  d.gpx.Selection.Add(d.inner);
  d.gpx.Selection.Add(d.far);
  TCutReport rep = d.cut(false, false);
  EXPECT_EQ(d.gpx.Routes.IndexOf(d.inner), -1);
  EXPECT_EQ(d.mixed->Count(), 1);
  EXPECT_EQ(d.trk->Count(), 1);
  EXPECT_EQ(d.trk->At(0), d.segOut);
  EXPECT_EQ(d.gpx.Waypoints.Count(), 2);  // the edge point counts as outside
  EXPECT_TRUE(rep.Removed(d.inner));
  EXPECT_TRUE(rep.Removed(d.segIn));
  EXPECT_FALSE(rep.Removed(d.far));
  EXPECT_EQ(rep.Points.size(), 5u);
  // The view and the selection have let go of what was removed.
  EXPECT_EQ(d.s.view.CurrentList, nullptr);
  EXPECT_EQ(d.s.view.CurrentPoint, nullptr);
  EXPECT_EQ(selected(d.gpx), std::vector<TItem*>{d.far});
}

TEST(Pick, KeepInsideOnlySelected) {
  BoxDoc d;
  d.gpx.Selection.Add(d.segOut);
  TCutReport rep = d.cut(true, true);
  // Only the selected segment is cut; it lay wholly outside and goes, its track keeps the other.
  EXPECT_TRUE(rep.Removed(d.segOut));
  EXPECT_EQ(d.trk->Count(), 1);
  EXPECT_EQ(d.segIn->Count(), 2);
  EXPECT_EQ(d.mixed->Count(), 2);
  EXPECT_EQ(d.inner->Count(), 2);
  EXPECT_EQ(d.gpx.Waypoints.Count(), 2);
  EXPECT_TRUE(d.gpx.Selection.Items.empty());

  BoxDoc all;
  TCutReport everything = all.cut(false, true);
  EXPECT_EQ(all.gpx.Waypoints.Count(), 0);  // the edge point is outside as well
  EXPECT_EQ(all.mixed->Count(), 1);
  EXPECT_EQ(all.mixed->GetPoint(0)->Lat, 5);
  EXPECT_EQ(all.gpx.Tracks.Count(), 1);
  EXPECT_TRUE(everything.Removed(all.segOut));
}

TEST(Pick, DegenerateBoxesChangeNothing) {
  BoxDoc d;
  d.s.view.AnchorX = 40, d.s.view.AnchorY = 10;
  EXPECT_FALSE(d.s.view.CutPointsInDragRect(40, 90, false, false).Changed());  // zero width
  EXPECT_FALSE(d.s.view.CutPointsInDragRect(90, 10, false, true).Changed());   // zero height
  d.s.view.ViewBox.Valid = false;
  EXPECT_FALSE(d.cut(false, false).Changed());
  EXPECT_EQ(d.gpx.Routes.Count(), 2);
  EXPECT_EQ(d.segIn->Count(), 2);
  d.s.view.ViewBox.Valid = true;
  d.s.view.AnchorX = 20, d.s.view.AnchorY = 20;
  EXPECT_TRUE(d.s.view.CutPointsInDragRect(80, 70, false, false).Changed());
  EXPECT_EQ(d.gpx.Routes.Count(), 1);
}
