// Hit-testing and box edits: nearest searches, selection operations, cutting points
// inside or outside a box and what the edit reports.
#include <gtest/gtest.h>

#include <functional>

#include "ViewFixtures.h"

namespace {

using Items = std::vector<TItem*>;

// Two waypoints on one position (a tie wherever the mouse is), a hidden route, two segments.
struct Doc {
  TGPX gpx;
  TGPXwpt* w0 = addPoint(gpx.Waypoints, 45, 6);
  TGPXwpt* w1 = addPoint(gpx.Waypoints, 45, 6);
  TGPXrte* r0 = addRoute(gpx, {{44, 4}, {44, 5}});
  TGPXrte* r1 = addRoute(gpx, {{46, 6}, {46.2, 6.2}});
  TGPXtrk* t = addTrack(gpx);
  TGPXtrkseg* s0 = addSegment(*t, {{43, 8}, {43.5, 8}});
  TGPXtrkseg* s1 = addSegment(*t, {{47, 8}, {47.5, 8}});
  TGPXDraw v;
  Doc() {
    r1->SetVisible(false);
    v.SetGPX(&gpx);
  }
};

}  // namespace

TEST(Pick, NearestSearchesAndSelectionOperations) {
  Doc d;
  struct Step { std::function<void(TGPXDraw&)> act; Items before, after; };
  const Step steps[] = {
      {[](TGPXDraw& v) { v.SelectNearestObject(at(45.01, 6.02), false); }, {d.r0}, {d.w0}},  // tie: first
      {[](TGPXDraw& v) { v.SelectNearestRoute(at(45.9, 6), false); }, {}, {d.r1}},  // hidden, still found
      {[](TGPXDraw& v) { v.SelectNearestTrackSeg(at(46, 6), true); }, {d.r1}, {d.r1, d.s1}},
      {[](TGPXDraw& v) { v.SelectNearestRoute(at(46.1, 6.1), true); }, {d.r1, d.s1}, {d.r1, d.s1}},
      {[](TGPXDraw& v) { v.SelectNearestWayPoint(at(0, 170), false); }, {}, {d.w0}},
      {[](TGPXDraw& v) { v.SelectNearestObject(at(43.4, 8.1), false); }, {d.w0}, {d.s0}},
      {[](TGPXDraw& v) { v.SelectSecondOfKind(at(46, 6)); }, {d.r0, d.s0, d.w1}, {d.r0, d.r1}},
      {[](TGPXDraw& v) { v.SelectSecondOfKind(at(44, 4.5)); }, {d.r0}, {d.r0}},  // nearest is the first
      {[](TGPXDraw& v) { v.SelectSecondOfKind(at(43, 8)); }, {d.s1}, {d.s1, d.s0}},
      {[](TGPXDraw& v) { v.SelectSecondOfKind(at(44, 4)); }, {d.w0, d.r0}, {d.w0}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    d.gpx.Selection.Items = steps[i].before;
    steps[i].act(d.v);
    EXPECT_EQ(d.gpx.Selection.Items, steps[i].after) << "step " << i;
  }
  TGPX empty;  // no data: nothing changes
  d.v.SetGPX(&empty);
  empty.Selection.Add(d.w0);
  d.v.SelectNearestObject(at(45, 6), false);
  EXPECT_EQ(empty.Selection.Items, Items{d.w0});
}

TEST(Pick, PointTools) {
  Doc d;
  d.v.SelectNearestPoint(at(45.1, 5.9));  // waypoints are no candidates
  EXPECT_EQ(d.gpx.Selection.Items, Items{d.r1});
  EXPECT_EQ(d.v.CurrentPoint, d.r1->GetPoint(0));
  for (Items sel : {Items{d.s1}, Items{d.w0}, Items{d.t}, Items{d.s1, d.r0}}) {
    d.gpx.Selection.Items = sel;
    d.v.PickPointInSelection(at(48, 8));
    EXPECT_EQ(d.v.CurrentPoint, d.s1->GetPoint(1));  // picked once, then kept
  }
}

namespace {

// A 100x100 view over lat 0..10, lon 0..10/K: pixel x is lon x/10/K, row y is lat (100-y)/10.
// The cut box is pixels 20..80 across and lat 3..8 (y counted upward: 30..80).
struct BoxDoc {
  static double lon(double x) { return x / 10 / static_cast<double>(kDrawK); }
  TGPX gpx;
  SizedView s{100, 100, &gpx};
  TGPXwpt* onEdge = addPoint(gpx.Waypoints, 3, lon(50));  // on the southern edge
  TGPXwpt* far = addPoint(gpx.Waypoints, 9, lon(90));
  TGPXrte* inner = addRoute(gpx, {{5, lon(40)}, {6, lon(60)}});
  TGPXrte* mixed = addRoute(gpx, {{5, lon(50)}, {9, lon(90)}});
  TGPXtrk* trk = addTrack(gpx);
  TGPXtrkseg* segIn = addSegment(*trk, {{4, lon(30)}, {5, lon(40)}});
  TGPXtrkseg* segOut = addSegment(*trk, {{9, lon(10)}, {9.5, lon(10)}});
  BoxDoc() {
    TBBox& b = s.view.ViewBox;
    b.MinLat = 0, b.MaxLat = 10, b.MinLon = 0, b.MaxLon = lon(100);
    b.Scale = 10;  // exact, so that row 70 is latitude 3.0 exactly
    b.Valid = true;
  }
  TCutReport cut(bool onlySelected, bool keepInside) {
    return s.view.CutPointsInRect({20, 30, 80, 80}, onlySelected, keepInside);
  }
};

}  // namespace

TEST(Pick, CutInsideRemovesWhatEmptiesAndLetsGoOfIt) {
  BoxDoc d;
  ASSERT_EQ(d.s.view.YToLat(70), 3.0);
  d.s.view.CurrentList = d.inner;
  d.s.view.CurrentPoint = d.mixed->GetPoint(0);
  d.gpx.Selection.Items = {d.inner, d.far};
  TCutReport rep = d.cut(false, false);
  EXPECT_EQ(d.gpx.Routes.Items().size(), 1u);
  EXPECT_EQ(d.mixed->Count(), 1);
  EXPECT_EQ(d.trk->Count(), 1);
  EXPECT_EQ(d.gpx.Waypoints.Count(), 2);  // the edge point counts as outside
  EXPECT_TRUE(rep.Removed(d.inner) && rep.Removed(d.segIn));
  EXPECT_EQ(rep.Points.size(), 5u);
  EXPECT_EQ(d.s.view.CurrentList, nullptr);
  EXPECT_EQ(d.s.view.CurrentPoint, nullptr);
  EXPECT_EQ(d.gpx.Selection.Items, Items{d.far});
}

TEST(Pick, KeepInsideWithAndWithoutOnlySelected) {
  BoxDoc d;
  d.gpx.Selection.Add(d.segOut);
  TCutReport rep = d.cut(true, true);
  // Only the selected segment is cut; it lay wholly outside and goes, its track keeps the other.
  EXPECT_TRUE(rep.Removed(d.segOut));
  EXPECT_EQ(rep.Points.size(), 2u);
  EXPECT_EQ(d.trk->Count(), 1);
  EXPECT_TRUE(d.gpx.Selection.Items.empty());

  BoxDoc all;
  all.cut(false, true);
  EXPECT_EQ(all.gpx.Waypoints.Count(), 0);  // the edge point is outside here too
  ASSERT_EQ(all.mixed->Count(), 1);
  EXPECT_EQ(all.mixed->GetPoint(0)->Lat, 5);
  EXPECT_EQ(all.inner->Count(), 2);
  EXPECT_EQ(all.trk->Count(), 1);
}

TEST(Pick, DegenerateBoxesChangeNothing) {
  BoxDoc d;
  d.s.view.AnchorX = 40, d.s.view.AnchorY = 10;
  EXPECT_FALSE(d.s.view.CutPointsInDragRect(40, 90, false, false).Changed());  // zero width
  EXPECT_FALSE(d.s.view.CutPointsInDragRect(90, 10, false, true).Changed());   // zero height
  d.s.view.ViewBox.Valid = false;
  EXPECT_FALSE(d.cut(false, false).Changed());
  d.s.view.ViewBox.Valid = true;
  d.s.view.AnchorX = 20, d.s.view.AnchorY = 20;  // the box of `cut`, dragged on screen
  EXPECT_EQ(d.s.view.CutPointsInDragRect(80, 70, false, false).Points.size(), 5u);
}
