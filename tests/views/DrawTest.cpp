// Drawing the document: colours and order, style colours, symbols, edition-preview
// styles, the counts line and the rubber band.
#include <gtest/gtest.h>

#include "ViewFixtures.h"

namespace {

constexpr uint32_t kGreen = 0x00FF00;

int countColor(const Canvas& c, uint32_t color, TRect r = {0, 0, 1 << 20, 1 << 20}) {
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(c.Height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(c.Width(), r.Right); ++x) n += c.GetPixel(x, y) == color;
  return n;
}

// Two routes crossing in the middle: a west-east one, then a south-north one.
struct Cross {
  TGPX gpx;
  TGPXrte* we;
  TGPXrte* sn;
  Cross() {
    we = addRoute(gpx, {{45, 5}, {45, 7}});
    sn = addRoute(gpx, {{44, 6}, {46, 6}});
  }
};

}  // namespace

TEST(Draw, SelectionIsDrawnOnTop) {
  Cross d;
  SizedView s(300, 300, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TDrawOptions& o = s.view.Options;
  const int cx = s.view.LonToX(6), cy = s.view.LatToY(45);
  s.view.Draw();
  EXPECT_EQ(s.canvas.GetPixel(cx, cy), o.RouteColor);
  EXPECT_EQ(s.canvas.GetPixel(0, 0), o.BackgroundColor);
  d.gpx.Selection.Add(d.we);  // first in the list, yet on top once selected
  s.view.Draw();
  EXPECT_EQ(s.canvas.GetPixel(cx, cy), o.SelectionColor);
  EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6), s.view.LatToY(44) - 1), o.RouteColor);
  // A hidden selected route is not drawn at all.
  d.we->Visible = false;
  s.view.Draw();
  EXPECT_EQ(countColor(s.canvas, o.SelectionColor), 0);
  // The finished picture is kept in both snapshots.
  EXPECT_EQ(s.view.SnapshotA.Image(), s.canvas.Image());
  EXPECT_EQ(s.view.SnapshotB.Image(), s.canvas.Image());
}

TEST(Draw, StyleColourOnlyWhenAskedAndSet) {
  struct Case { bool option, routeSet, trackSet; uint32_t route, track; };
  const TDrawOptions def;
  const Case cases[] = {{false, true, true, def.RouteColor, def.TrackColor},
                        {true, true, false, kGreen, def.TrackColor},
                        {true, false, true, def.RouteColor, 0x123456}};
  for (const Case& k : cases) {
    TGPX gpx;
    TGPXrte* r = addRoute(gpx, {{45, 5}, {45, 7}});
    TGPXtrk* t = addTrack(gpx);
    addSegment(*t, {{44, 5}, {44, 7}});
    if (k.routeSet) r->Style.Color = kGreen;
    if (k.trackSet) t->Style.Color = 0x123456;
    SizedView s(200, 200, &gpx);
    s.view.Options.GPXDrawLineStyle = k.option;
    ASSERT_TRUE(s.view.FitAll(true, true));
    s.view.Draw();
    EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6), s.view.LatToY(45)), k.route);
    EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6), s.view.LatToY(44)), k.track);
  }
}

TEST(Draw, PointSymbols) {
  struct Case {
    int symbol;
    std::vector<TPoint> lit, clear;  // offsets from the point's pixel
    uint32_t centre;
  };
  const uint32_t c = 0x0000FF, white = 0xFFFFFF, bg = 0xC0C0C0;
  const Case cases[] = {
      {0, {{-3, -3}, {-3, 3}, {3, 3}, {3, -3}, {0, 3}}, {{4, 0}, {-4, 0}}, bg},
      {1, {{-4, -3}, {-4, 3}, {4, 3}, {4, -3}}, {{5, 0}}, bg},
      {2, {{-3, -3}, {-3, 3}}, {{3, 4}, {-4, 0}}, c},
      {3, {{0, -4}, {-4, 0}}, {{5, 0}, {0, 5}}, white},
      {4, {{-2, 0}, {0, -2}}, {{4, 4}, {0, 4}}, c},
      {5, {{-3, -3}, {-3, 2}, {2, -3}}, {{4, 4}}, c},
      {9, {}, {{1, 0}, {0, 1}, {-1, 0}}, c},
  };
  TGPX gpx;
  addRoute(gpx, {{45, 5}, {46, 7}});
  for (const Case& k : cases) {
    SizedView s(200, 200, &gpx);
    ASSERT_TRUE(s.view.FitAll(true, true));
    s.canvas.Brush.Color = bg;
    s.canvas.FillRect(s.view.GetRect());
    const TPoint4D2 p = at(s.view.YToLat(100), s.view.XToLon(100));
    const int x = s.view.PointToX(p), y = s.view.PointToY(p);
    s.canvas.Pen.Width = 7;
    ASSERT_TRUE(s.view.DrawPoint(&p, c, k.symbol));
    EXPECT_EQ(s.canvas.Pen.Width, 7);
    SCOPED_TRACE(k.symbol);
    EXPECT_EQ(s.canvas.GetPixel(x, y), k.centre);
    for (TPoint o : k.lit) EXPECT_EQ(s.canvas.GetPixel(x + o.X, y + o.Y), c) << o.X << "," << o.Y;
    for (TPoint o : k.clear) EXPECT_EQ(s.canvas.GetPixel(x + o.X, y + o.Y), bg) << o.X << "," << o.Y;
    if (k.symbol == 9) EXPECT_EQ(countColor(s.canvas, c), 1);
  }
  SizedView s(200, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  const TPoint4D2 outside = at(80, 5);
  EXPECT_FALSE(s.view.DrawPoint(&outside, c, 0));
  EXPECT_FALSE(s.view.DrawPoint(nullptr, c, 0));
}

TEST(Draw, EditionPreviewStylesAndStartMark) {
  struct Case { uint8_t showPoints; int treDrawing; bool line, disc; };
  const Case cases[] = {{0, 1, true, false}, {1, 0, true, false}, {1, 1, false, true}, {1, 2, true, true}};
  for (const Case& k : cases) {
    TGPX gpx;
    TGPXrte* r = addRoute(gpx, {{45, 5}, {46, 7}});
    TGPXrte* single = addRoute(gpx, {{45.5, 5.2}});
    SizedView s(200, 200, &gpx);
    s.view.ShowPoints = k.showPoints;
    s.view.Options.TREDrawing = k.treDrawing;
    ASSERT_TRUE(s.view.FitAll(true, true));
    s.view.Draw();
    const uint32_t rc = s.view.Options.RouteColor;
    const int mx = (s.view.LonToX(5) + s.view.LonToX(7)) / 2, my = (s.view.LatToY(45) + s.view.LatToY(46)) / 2;
    SCOPED_TRACE(testing::Message() << int(k.showPoints) << "/" << k.treDrawing);
    EXPECT_EQ(countColor(s.canvas, rc, {mx - 2, my - 2, mx + 3, my + 3}) > 0, k.line);
    // Disc pixels below the last point (top right), where the line never reaches.
    const TGPXwpt* last = r->GetPoint(1);
    EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*last), s.view.PointToY(*last) + 2) == rc, k.disc);
    const TGPXwpt* lone = single->GetPoint(0);
    EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*lone) - 2, s.view.PointToY(*lone)) == rc, k.disc);
  }
  TGPX gpx;
  TGPXrte* r = addRoute(gpx, {{45, 5}, {46, 7}});
  SizedView s(200, 200, &gpx);
  s.view.Options.MarkStart = 1;
  ASSERT_TRUE(s.view.FitAll(true, true));
  s.view.Draw();
  const TGPXwpt* first = r->GetPoint(0);
  EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*first), s.view.PointToY(*first)), 0xFFFFFFu);
  EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*first), s.view.PointToY(*first) - 4), s.view.Options.RouteColor);
}

TEST(Draw, SegmentOnOnePixelStillLeavesAMark) {
  TGPX gpx;
  addRoute(gpx, {{45, 5}, {46, 7}});
  TGPXtrk* t = addTrack(gpx);
  addSegment(*t, {{45.5, 6}, {45.5000001, 6.0000001}, {45.5, 6}});
  SizedView s(200, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  s.view.Draw();
  EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6), s.view.LatToY(45.5)), s.view.Options.TrackColor);
}

TEST(Draw, CountsLine) {
  TGPX gpx;
  for (int i = 0; i < 3; ++i) addPoint(gpx.Waypoints, 45 + i * 0.1, 5 + i * 0.1)->Visible = i != 1;
  TGPXrte* r = addRoute(gpx, {});
  for (int i = 0; i < 20; ++i) addPoint(*r, 45 + i * 0.01, 5);
  TGPXtrk* t1 = addTrack(gpx);
  TGPXtrk* t2 = addTrack(gpx);
  TGPXtrkseg* segs[3] = {t1->Add(std::make_unique<TGPXtrkseg>()), t2->Add(std::make_unique<TGPXtrkseg>()),
                         t2->Add(std::make_unique<TGPXtrkseg>())};
  for (int i = 0; i < 410; ++i) addPoint(*segs[i % 3], 45, 5 + i * 0.001);
  segs[2]->Visible = false;
  t1->Visible = false;
  SizedView s(300, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  EXPECT_EQ(s.view.CountsText(), "[3], [1, 20],[2, 3, 410]");
  const TSize ext = s.canvas.TextExtent(s.view.CountsText());
  const TRect cell{0, 0, ext.cx, ext.cy};
  s.view.Options.BackgroundColor = 0xFFFFFF;  // no line or symbol draws in text green
  s.view.Draw();
  EXPECT_EQ(countColor(s.canvas, 0x008000), 0);
  for (int mode = 0; mode < 2; ++mode) {
    s.view.Options.ShowGPXData = mode == 0;
    s.view.Debug = mode == 1;
    s.view.Draw();
    const int green = countColor(s.canvas, 0x008000);
    EXPECT_GT(green, 20);
    EXPECT_EQ(countColor(s.canvas, 0x008000, cell), green);  // all of it inside the cell at (0, 0)
    EXPECT_EQ(s.canvas.Brush.Style, TBrushStyle::Solid);
  }
}

TEST(Draw, RubberBandOverTheSnapshot) {
  Cross d;
  SizedView s(200, 200, &d.gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  s.view.Draw();
  const QImage drawn = s.canvas.Image().copy();
  s.view.AnchorX = 10, s.view.AnchorY = 10;
  s.view.DrawRubberBand(50, 40, 0x0000FF);
  EXPECT_EQ(s.canvas.GetPixel(10, 20), 0x0000FFu);
  EXPECT_EQ(s.canvas.GetPixel(50, 20), 0x0000FFu);
  s.view.DrawRubberBand(30, 30, 0x0000FF);
  EXPECT_EQ(s.canvas.GetPixel(10, 35), s.view.Options.BackgroundColor);
  EXPECT_EQ(s.canvas.GetPixel(10, 25), 0x0000FFu);
  s.view.RestoreSnapshot();
  EXPECT_EQ(s.canvas.Image(), drawn);
}
