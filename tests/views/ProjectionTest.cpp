// Projection, fitting, zooming and panning of a drawing view.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "ViewFixtures.h"

namespace {

// Degrees of one pixel in each direction at the view's scale.
double lonPixel(const TGPXDraw& v) { return 1.0 / (v.ViewBox.Scale * static_cast<double>(kDrawK)); }
double latPixel(const TGPXDraw& v) { return 1.0 / v.ViewBox.Scale; }

bool sameBox(const TBBox& a, const TBBox& b) {
  return a.MaxLat == b.MaxLat && a.MinLat == b.MinLat && a.MaxLon == b.MaxLon && a.MinLon == b.MinLon &&
         a.Scale == b.Scale && a.Valid == b.Valid;
}

bool finiteBox(const TBBox& b) {
  for (double d : {b.MaxLat, b.MinLat, b.MaxLon, b.MinLon, b.Scale, b.ScaleX, b.ScaleY})
    if (!std::isfinite(d)) return false;
  return true;
}

// Data wider than tall: lat 10..11, lon 20..23.
struct WideDoc {
  TGPX gpx;
  TGPXrte* route = addRoute(gpx, {{10, 20}, {10.5, 21}, {11, 23}});
};

}  // namespace

TEST(Projection, FitAllCentresShrinksAndInverts) {
  struct Case { int w, h; bool shrink; };
  for (const Case& k : {Case{400, 400, true}, Case{400, 400, false}, Case{300, 900, true}}) {
    WideDoc d;
    SizedView s(k.w, k.h, &d.gpx);
    EXPECT_EQ(s.view.XToLon(100), 0.0);  // no scale yet
    ASSERT_TRUE(s.view.FitAll(true, k.shrink));
    EXPECT_TRUE(s.view.ViewBox.Valid);
    SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << (k.shrink ? " shrink" : ""));
    EXPECT_NEAR(s.view.LonToX(20), k.w - s.view.LonToX(23), 1);  // equal margins
    EXPECT_NEAR(s.view.LatToY(11), k.h - s.view.LatToY(10), 1);
    EXPECT_NEAR(s.view.LonToX(23) - s.view.LonToX(20), k.w / (k.shrink ? kDrawShrink : 1.0), 1.0);
    for (auto [lat, lon] : {LatLon{10.123, 22.9}, LatLon{9.5, 19.5}}) {
      EXPECT_NEAR(s.view.XToLon(s.view.LonToX(lon)), lon, lonPixel(s.view));
      EXPECT_NEAR(s.view.YToLat(s.view.LatToY(lat)), lat, latPixel(s.view));
    }
  }
  WideDoc d;  // uncentred: the lower-left data corner on the lower-left pixel
  SizedView s(400, 400, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(false, false));
  EXPECT_EQ(s.view.LonToX(20), 0);
  EXPECT_EQ(s.view.LatToY(10), 400);
}

TEST(Projection, DataOnTheEquatorAndGreenwichIsFitted) {
  TGPX gpx;
  addRoute(gpx, {{0, 0}, {1, 2}});
  addRoute(gpx, {{-1, -0.5}, {0, 0}});
  SizedView s(200, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  EXPECT_TRUE(s.view.IsPointVisible(at(-1, -0.5)));
  EXPECT_TRUE(s.view.IsPointVisible(at(1, 2)));
}

TEST(Projection, NoExtentIsFittedNoDataOrNoSizeChangesNothing) {
  // A lone waypoint or route point, data on one meridian, parallel or position: fitted to
  // about 100 m and zoomable. No visible data: invalid. Never a NaN.
  TGPX lone, lonePoint, meridian, parallel, onePlace, empty, hidden;
  addPoint(lone.Waypoints, 45, 5);
  addRoute(lonePoint, {{45, 5}});
  addRoute(meridian, {{45, 5}, {45.5, 5}});
  addRoute(parallel, {{45, 5}, {45, 5.5}});
  addRoute(onePlace, {{45, 5}, {45, 5}, {45, 5}});
  addPoint(hidden.Waypoints, 45, 5)->Visible = false;
  for (TGPX* g : {&lone, &lonePoint, &meridian, &parallel, &onePlace, &empty, &hidden}) {
    const bool data = g != &empty && g != &hidden;
    SizedView s(300, 200, g);
    EXPECT_EQ(s.view.FitAll(true, true), data);
    const TBBox& b = s.view.ViewBox;
    EXPECT_EQ(b.Valid && s.view.IsPointVisible(at(45, 5)), data);
    EXPECT_EQ(std::min(b.MaxLat - b.MinLat, b.MaxLon - b.MinLon) >= 0.0009, data);
    EXPECT_TRUE(finiteBox(b));
    EXPECT_EQ(s.view.ZoomIn(), data);
  }
  // Zooming to a list or range without extent keeps a fitted view as it was.
  WideDoc d;
  SizedView s(400, 300, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TBBox fitted = s.view.ViewBox;
  EXPECT_FALSE(s.view.ZoomToPointList(addRoute(d.gpx, {{10.2, 21}, {10.2, 21}})));
  EXPECT_FALSE(s.view.ZoomToPointList(addRoute(d.gpx, {{10.2, 21}})));
  EXPECT_FALSE(s.view.ZoomToPointList(addRoute(d.gpx, {})));
  EXPECT_FALSE(s.view.ZoomToPointRange(d.route, 2, 5));
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
  // So does every operation on a view of zero size.
  s.view.SetSize(0, 300);
  EXPECT_FALSE(s.view.FitAll(true, true));
  EXPECT_FALSE(s.view.ZoomIn());
  EXPECT_FALSE(s.view.WheelZoomOut({10, 10}));
  EXPECT_FALSE(s.view.ZoomToPointList(d.route));
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
}

TEST(Projection, ZoomToRangeCentresItAndKeepsTheListBox) {
  WideDoc d;
  d.route->BBox.MaxLat = 77;
  SizedView s(400, 300, &d.gpx);
  ASSERT_TRUE(s.view.ZoomToPointRange(d.route, 0, 1));
  EXPECT_EQ(d.route->BBox.MaxLat, 77);
  EXPECT_TRUE(s.view.ViewBox.Valid);
  EXPECT_NEAR(s.view.LonToX(20), 400 - s.view.LonToX(21), 1);
  EXPECT_NEAR(s.view.LatToY(10.5), 300 - s.view.LatToY(10), 1);
}

TEST(Projection, ZoomsAndPansKeepTheirFixedPoint) {
  // Each step: the pixel whose position must not move, where it is afterwards, the scale factor.
  struct Case { const char* name; std::function<bool(TGPXDraw&)> act; TPoint before, after; double factor; };
  const Case cases[] = {
      {"in", [](TGPXDraw& v) { return v.ZoomIn(); }, {320, 240}, {320, 240}, 1 / 0.85},
      {"out", [](TGPXDraw& v) { return v.ZoomOut(); }, {320, 240}, {320, 240}, 1 / 1.15},
      {"wheel in", [](TGPXDraw& v) { return v.WheelZoomIn({100, 50}); }, {100, 50}, {100, 50}, 1 / 0.85},
      {"wheel out", [](TGPXDraw& v) { return v.WheelZoomOut({600, 400}); }, {600, 400}, {600, 400}, 1 / 1.15},
      {"pan", [](TGPXDraw& v) { v.PanTo(10, 10); v.PanTo(70, 50); return v.AnchorX == 70; }, {10, 10}, {70, 50}, 1},
      // The drag box's lower-left corner goes to the view's; its width limits the scale.
      {"drag", [](TGPXDraw& v) { v.AnchorX = 100, v.AnchorY = 250; return v.ZoomToDragRect(250, 150); },
       {100, 250}, {0, 480}, 640.0 / 150},
  };
  for (const Case& k : cases) {
    WideDoc d;
    SizedView s(640, 480, &d.gpx);
    ASSERT_TRUE(s.view.FitAll(true, true));
    const double lat = s.view.YToLat(k.before.Y), lon = s.view.XToLon(k.before.X), scale = s.view.ViewBox.Scale;
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(k.act(s.view));
    EXPECT_NEAR(s.view.ViewBox.Scale, scale * k.factor, scale * 0.01);
    EXPECT_NEAR(s.view.XToLon(k.after.X), lon, lonPixel(s.view));
    EXPECT_NEAR(s.view.YToLat(k.after.Y), lat, latPixel(s.view));
  }
  WideDoc d;  // a pan whose anchor is the origin only records it
  SizedView s(640, 480, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TBBox fitted = s.view.ViewBox;
  s.view.PanTo(0, 0);
  s.view.PanTo(30, 30);
  EXPECT_TRUE(sameBox(s.view.ViewBox, fitted));
}

TEST(Projection, PixelsRoundHalvesToEvenAndMarginsTruncate) {
  // A hand-set box: pixel = degrees * 4 (times K across), the lower-left corner at (0, 100).
  SizedView s(100, 100);
  TBBox& b = s.view.ViewBox;
  b.MinLat = 0, b.MinLon = 0, b.Scale = 4, b.Valid = true;
  EXPECT_EQ(s.view.LatToY(0.625), 98);   // 2.5 rounds down to even
  EXPECT_EQ(s.view.LatToY(0.875), 96);   // 3.5 rounds up to even
  EXPECT_EQ(s.view.LatToY(-0.625), 102);  // -2.5 to -2
  EXPECT_EQ(s.view.LonToX(2.9 * 55 / 144), 3);  // 2.9 rounds, not truncates
  EXPECT_EQ(s.view.YToLat(98), 0.5);
  EXPECT_DOUBLE_EQ(s.view.XToLon(3), 3.0 * 55 / 144);

  // Centred fit with 199 free rows: 99 below the data (rounded toward zero), 100 above.
  TGPX gpx;
  addRoute(gpx, {{10, 20}, {11, 26.05}});
  SizedView fit(400, 300, &gpx);
  ASSERT_TRUE(fit.view.FitAll(true, false));
  EXPECT_EQ(fit.view.LatToY(10), 201);
  EXPECT_EQ(fit.view.LatToY(11), 100);
  EXPECT_EQ(fit.view.LonToX(20), 0);
  EXPECT_EQ(fit.view.LonToX(26.05), 400);

  // Zoom steps are truncated: 330 * 0.15 / 2 = 24.75 -> 24, 250 * 0.15 / 2 = 18.75 -> 18.
  SizedView z(330, 250, &gpx);
  ASSERT_TRUE(z.view.FitAll(true, true));
  // The box's lower-left corner is the one that lands exactly on the view's.
  const double lon = z.view.XToLon(24), lat = z.view.YToLat(250 - 18);
  ASSERT_TRUE(z.view.ZoomIn());
  EXPECT_EQ(z.view.LonToX(lon), 0);
  EXPECT_EQ(z.view.LatToY(lat), 250);
}
