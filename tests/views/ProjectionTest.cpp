// Projection, fitting, zooming and panning of a drawing view.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "ViewFixtures.h"

namespace {

// Degrees of one pixel in each direction at the view's scale.
double lonPixel(const TGPXDraw& v) { return 1.0 / (v.ViewBox.Scale * static_cast<double>(kDrawK)); }
double latPixel(const TGPXDraw& v) { return 1.0 / v.ViewBox.Scale; }

bool sameBox(const TBBox& a, const TBBox& b) {
  return a.MaxLat == b.MaxLat && a.MinLat == b.MinLat && a.MaxLon == b.MaxLon && a.MinLon == b.MinLon &&
         a.Scale == b.Scale && a.ScaleX == b.ScaleX && a.ScaleY == b.ScaleY && a.Valid == b.Valid;
}

bool finiteBox(const TBBox& b) {
  for (double d : {b.MaxLat, b.MinLat, b.MaxLon, b.MinLon, b.Scale, b.ScaleX, b.ScaleY})
    if (!std::isfinite(d)) return false;
  return true;
}

struct WideDoc {
  TGPX gpx;
  WideDoc() { addRoute(gpx, {{10, 20}, {10.5, 21}, {11, 23}}); }
};

}  // namespace

TEST(Projection, InverseWithinOnePixel) {
  WideDoc d;
  SizedView s(640, 480, &d.gpx);
  EXPECT_EQ(s.view.XToLon(100), 0.0);  // no scale yet
  EXPECT_EQ(s.view.YToLat(100), 0.0);
  ASSERT_TRUE(s.view.FitAll(true, true));
  for (auto [lat, lon] : {LatLon{10, 20}, LatLon{10.123, 22.9}, LatLon{11, 23}, LatLon{9.5, 19.5}}) {
    EXPECT_NEAR(s.view.XToLon(s.view.LonToX(lon)), lon, lonPixel(s.view));
    EXPECT_NEAR(s.view.YToLat(s.view.LatToY(lat)), lat, latPixel(s.view));
  }
}

TEST(Projection, FitAllCentresAndShrinks) {
  struct Case { int w, h; bool shrink; };
  for (const Case& k : {Case{400, 400, true}, Case{400, 400, false}, Case{300, 900, true}}) {
    WideDoc d;
    SizedView s(k.w, k.h, &d.gpx);
    ASSERT_TRUE(s.view.FitAll(true, k.shrink));
    EXPECT_TRUE(s.view.ViewBox.Valid);
    const int left = s.view.LonToX(20), right = k.w - s.view.LonToX(23);
    const int top = s.view.LatToY(11), bottom = k.h - s.view.LatToY(10);
    SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << (k.shrink ? " shrink" : ""));
    EXPECT_NEAR(left, right, 1);
    EXPECT_NEAR(top, bottom, 1);
    // The data is wider than tall here: the width limits the scale.
    const double used = s.view.LonToX(23) - s.view.LonToX(20);
    EXPECT_NEAR(used, k.w / (k.shrink ? kDrawShrink : 1.0), 1.0);
  }
  // Uncentred, the lower-left data corner sits on the lower-left pixel.
  WideDoc d;
  SizedView s(400, 400, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(false, false));
  EXPECT_EQ(s.view.LonToX(20), 0);
  EXPECT_EQ(s.view.LatToY(10), 400);
  EXPECT_EQ(s.view.Messages.size(), 1u);
}

TEST(Projection, DataOnTheEquatorAndGreenwichIsFitted) {
  TGPX gpx;
  addRoute(gpx, {{0, 0}, {1, 2}});
  addRoute(gpx, {{-1, -0.5}, {0, 0}});
  SizedView s(200, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  EXPECT_TRUE(s.view.IsPointVisible(at(-1, -0.5)));
  EXPECT_TRUE(s.view.IsPointVisible(at(1, 2)));
  EXPECT_TRUE(s.view.IsPointVisible(at(0, 0)));
}

TEST(Projection, NothingToFitLeavesTheViewInvalid) {
  // A lone waypoint, all data on one meridian, one position, or no data at all.
  TGPX lone, meridian, onePlace, empty;
  addPoint(lone.Waypoints, 45, 5);
  addRoute(meridian, {{45, 5}, {46, 5}});
  addRoute(onePlace, {{45, 5}, {45, 5}, {45, 5}});
  for (TGPX* g : {&lone, &meridian, &onePlace, &empty}) {
    SizedView s(300, 200, g);
    EXPECT_FALSE(s.view.FitAll(true, true));
    EXPECT_FALSE(s.view.ViewBox.Valid);
    EXPECT_TRUE(finiteBox(s.view.ViewBox));
    EXPECT_FALSE(s.view.ZoomIn());
    EXPECT_FALSE(s.view.ZoomOut());
    EXPECT_FALSE(s.view.PanBy(0, 0, 10, 10));
  }
}

TEST(Projection, ZeroSizeViewIsLeftAlone) {
  WideDoc d;
  SizedView s(400, 300, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TBBox fitted = s.view.ViewBox;
  s.view.SetSize(0, 300);
  EXPECT_FALSE(s.view.FitAll(true, true));
  EXPECT_FALSE(s.view.ZoomIn());
  EXPECT_FALSE(s.view.WheelZoomOut({10, 10}));
  EXPECT_FALSE(s.view.ZoomToPointList(d.gpx.Routes.At(0)));
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
  // A fresh zero-size view: no scale, no NaN.
  TGPXDraw fresh;
  fresh.SetGPX(&d.gpx);
  EXPECT_FALSE(fresh.FitAll(true, false));
  EXPECT_TRUE(finiteBox(fresh.ViewBox));
  EXPECT_EQ(fresh.ViewBox.Scale, 0.0);
}

TEST(Projection, ZoomToListWithoutExtentKeepsTheView) {
  WideDoc d;
  TGPXrte* same = addRoute(d.gpx, {{10.2, 21}, {10.2, 21}});
  TGPXrte* single = addRoute(d.gpx, {{10.2, 21}});
  TGPXrte* none = addRoute(d.gpx, {});
  SizedView s(400, 300, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TBBox fitted = s.view.ViewBox;
  for (TGPXrte* r : {same, single, none}) {
    EXPECT_FALSE(s.view.ZoomToPointList(r));
    EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
  }
  EXPECT_FALSE(s.view.ZoomToPointRange(d.gpx.Routes.At(0), 2, 5));  // past the end
  EXPECT_FALSE(s.view.ZoomToPointRange(d.gpx.Routes.At(0), 1, 1));  // one point
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
}

TEST(Projection, ZoomToRangeCentresTheRange) {
  WideDoc d;
  TGPXrte* r = d.gpx.Routes.At(0);
  r->BBox.MaxLat = 77;  // the list's own box comes back unchanged
  SizedView s(400, 300, &d.gpx);
  ASSERT_TRUE(s.view.ZoomToPointRange(r, 0, 1));  // valid even on a view never fitted
  EXPECT_EQ(r->BBox.MaxLat, 77);
  EXPECT_TRUE(s.view.ViewBox.Valid);
  EXPECT_NEAR(s.view.LonToX(20), 400 - s.view.LonToX(21), 1);
  EXPECT_NEAR(s.view.LatToY(10.5), 300 - s.view.LatToY(10), 1);
}

TEST(Projection, ZoomInAndOutKeepTheCentre) {
  WideDoc d;
  SizedView s(640, 480, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  for (int step = 0; step < 2; ++step) {
    const double lat = s.view.YToLat(240), lon = s.view.XToLon(320);
    const double scale = s.view.ViewBox.Scale;
    ASSERT_TRUE(step == 0 ? s.view.ZoomIn() : s.view.ZoomOut());
    EXPECT_NEAR(s.view.ViewBox.Scale, scale * (step == 0 ? 1 / 0.85 : 1 / 1.15), scale * 0.01);
    EXPECT_NEAR(s.view.XToLon(320), lon, lonPixel(s.view));
    EXPECT_NEAR(s.view.YToLat(240), lat, latPixel(s.view));
  }
}

TEST(Projection, WheelZoomKeepsThePointUnderTheMouse) {
  WideDoc d;
  SizedView s(640, 480, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  for (TPoint m : {TPoint{100, 50}, TPoint{600, 400}, TPoint{320, 240}}) {
    for (bool in : {true, false}) {
      const double lat = s.view.YToLat(m.Y), lon = s.view.XToLon(m.X);
      ASSERT_TRUE(in ? s.view.WheelZoomIn(m) : s.view.WheelZoomOut(m));
      EXPECT_NEAR(s.view.XToLon(m.X), lon, lonPixel(s.view));
      EXPECT_NEAR(s.view.YToLat(m.Y), lat, latPixel(s.view));
    }
  }
}

TEST(Projection, PanFollowsTheMouse) {
  WideDoc d;
  SizedView s(640, 480, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TBBox fitted = s.view.ViewBox;
  s.view.PanTo(0, 0);  // an anchor at the origin only records it
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
  s.view.PanTo(10, 10);
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
  const double lat = s.view.YToLat(10), lon = s.view.XToLon(10);
  s.view.PanTo(70, 50);
  EXPECT_EQ(s.view.AnchorX, 70);
  EXPECT_NEAR(s.view.XToLon(70), lon, lonPixel(s.view));
  EXPECT_NEAR(s.view.YToLat(50), lat, latPixel(s.view));
}

TEST(Projection, DragRectangleFillsTheView) {
  WideDoc d;
  SizedView s(600, 400, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, false));
  const double west = s.view.XToLon(100), south = s.view.YToLat(250);
  s.view.AnchorX = 100, s.view.AnchorY = 250;
  ASSERT_TRUE(s.view.ZoomToDragRect(250, 150));
  EXPECT_NEAR(s.view.ViewBox.MinLon, west, 1e-9);
  EXPECT_NEAR(s.view.ViewBox.MinLat, south, 1e-9);
  s.view.AnchorX = 100, s.view.AnchorY = 100;
  EXPECT_FALSE(s.view.ZoomToDragRect(100, 300));  // no width
}
