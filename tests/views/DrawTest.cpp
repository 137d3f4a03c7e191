// Drawing the document: colours and order, style colours, symbols, edition-preview
// styles, the counts line and the rubber band.
#include <gtest/gtest.h>

#include "ViewFixtures.h"

namespace {

int countColor(const Canvas& c, uint32_t color, TRect r = {0, 0, 1 << 20, 1 << 20}) {
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(c.Height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(c.Width(), r.Right); ++x) n += c.GetPixel(x, y) == color;
  return n;
}

}  // namespace

TEST(Draw, SelectionOnTopAndStyleColours) {
  // A west-east route crossed by a south-north route; a track below them.
  struct Case { bool select, styleOption, routeStyled, trackStyled; uint32_t cross, track; };
  const TDrawOptions o;
  const Case cases[] = {{false, false, true, true, o.RouteColor, o.TrackColor},
                        {true, false, false, false, o.SelectionColor, o.TrackColor},
                        {false, true, true, false, 0x00FF00, o.TrackColor},
                        {false, true, false, true, o.RouteColor, 0x123456}};
  for (const Case& k : cases) {
    TGPX gpx;
    TGPXrte* we = addRoute(gpx, {{45, 5}, {45, 7}});
    TGPXrte* sn = addRoute(gpx, {{44.5, 6}, {46, 6}});
    TGPXtrk* t = addTrack(gpx);
    addSegment(*t, {{44, 5}, {44, 7}});
    if (k.routeStyled) we->Style.Color = sn->Style.Color = 0x00FF00;
    if (k.trackStyled) t->Style.Color = 0x123456;
    if (k.select) gpx.Selection.Add(we);  // first in the list, yet on top once selected
    SizedView s(200, 200, &gpx);
    s.view.Options.GPXDrawLineStyle = k.styleOption;
    ASSERT_TRUE(s.view.FitAll(true, true));
    s.view.Draw();
    EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6), s.view.LatToY(45)), k.cross);
    EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6), s.view.LatToY(44)), k.track);
    EXPECT_EQ(s.view.SnapshotA.Image(), s.canvas.Image());
    if (k.select) {  // hidden, a selected route is not drawn at all
      we->Visible = false;
      s.view.Draw();
      EXPECT_EQ(countColor(s.canvas, o.SelectionColor), 0);
    }
  }
}

TEST(Draw, PointSymbols) {
  struct Case { int symbol; std::vector<TPoint> lit, clear; uint32_t centre; };
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
    const TPoint4D2 outside = at(80, 5);
    EXPECT_FALSE(s.view.DrawPoint(&outside, c, k.symbol));
  }
}

TEST(Draw, EditionPreviewStylesStartMarkAndOnePixelLists) {
  struct Case { uint8_t showPoints; int treDrawing; bool markStart, line, disc; };
  const Case cases[] = {{0, 1, false, true, false}, {1, 0, false, true, false}, {1, 1, false, false, true},
                        {1, 2, false, true, true}, {0, 0, true, true, false}};
  for (const Case& k : cases) {
    TGPX gpx;
    TGPXrte* r = addRoute(gpx, {{45, 5}, {46, 7}});
    TGPXwpt* lone = addPoint(*addRoute(gpx, {}), 45.5, 5.2);
    TGPXtrk* t = addTrack(gpx);  // all on one pixel: a dot is still drawn
    addSegment(*t, {{45.2, 6.5}, {45.2000001, 6.5000001}, {45.2, 6.5}});
    SizedView s(200, 200, &gpx);
    s.view.ShowPoints = k.showPoints;
    s.view.Options.TREDrawing = k.treDrawing;
    s.view.Options.MarkStart = k.markStart;
    ASSERT_TRUE(s.view.FitAll(true, true));
    s.view.Draw();
    const uint32_t rc = s.view.Options.RouteColor;
    const int mx = (s.view.LonToX(5) + s.view.LonToX(7)) / 2, my = (s.view.LatToY(45) + s.view.LatToY(46)) / 2;
    SCOPED_TRACE(testing::Message() << int(k.showPoints) << "/" << k.treDrawing);
    EXPECT_EQ(countColor(s.canvas, rc, {mx - 2, my - 2, mx + 3, my + 3}) > 0, k.line);
    // Disc pixels below the last point (top right) and beside the lone one, where no line goes.
    const TGPXwpt* last = r->GetPoint(1);
    EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*last), s.view.PointToY(*last) + 2) == rc, k.disc);
    EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*lone) - 2, s.view.PointToY(*lone)) == rc, k.disc);
    EXPECT_EQ(s.canvas.GetPixel(s.view.LonToX(6.5), s.view.LatToY(45.2)),
              k.markStart ? 0xFFFFFF : s.view.Options.TrackColor);
    const TGPXwpt* first = r->GetPoint(0);
    EXPECT_EQ(s.canvas.GetPixel(s.view.PointToX(*first), s.view.PointToY(*first)) == 0xFFFFFF, k.markStart);
  }
}

TEST(Draw, CountsLine) {
  TGPX gpx;
  for (int i = 0; i < 3; ++i) addPoint(gpx.Waypoints, 45 + i * 0.1, 5 + i * 0.1)->Visible = i != 1;
  TGPXrte* r = addRoute(gpx, {});
  for (int i = 0; i < 20; ++i) addPoint(*r, 45 + i * 0.01, 5);
  TGPXtrk* t1 = addTrack(gpx);
  TGPXtrk* t2 = addTrack(gpx);
  TGPXtrkseg* segs[3] = {addSegment(*t1, {}), addSegment(*t2, {}), addSegment(*t2, {})};
  for (int i = 0; i < 410; ++i) addPoint(*segs[i % 3], 45, 5 + i * 0.001);
  segs[2]->Visible = false;  // hidden items are counted too
  SizedView s(300, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  EXPECT_EQ(s.view.CountsText(), "[3], [1, 20],[2, 3, 410]");
  const TSize ext = s.canvas.TextExtent(s.view.CountsText());
  s.view.Options.BackgroundColor = 0xFFFFFF;  // nothing else draws in the text's green
  for (int mode = 0; mode < 3; ++mode) {
    s.view.Options.ShowGPXData = mode == 1;
    s.view.Debug = mode == 2;
    s.view.Draw();
    const int green = countColor(s.canvas, 0x008000);
    EXPECT_EQ(green > 20, mode != 0);
    EXPECT_EQ(countColor(s.canvas, 0x008000, {0, 0, ext.cx, ext.cy}), green);  // in the cell at (0, 0)
    EXPECT_EQ(s.canvas.Brush.Style, TBrushStyle::Solid);
  }
}

TEST(Draw, RubberBandOverTheSnapshot) {
  TGPX gpx;
  addRoute(gpx, {{45, 5}, {46, 7}});
  SizedView s(200, 200, &gpx);
  ASSERT_TRUE(s.view.FitAll(true, true));
  s.view.Draw();
  const QImage drawn = s.canvas.Image().copy();
  s.view.AnchorX = 10, s.view.AnchorY = 10;
  s.view.DrawRubberBand(50, 40, 0x0000FF);
  EXPECT_EQ(s.canvas.GetPixel(10, 35), 0x0000FFu);
  EXPECT_EQ(s.canvas.GetPixel(50, 20), 0x0000FFu);
  s.view.DrawRubberBand(30, 30, 0x0000FF);  // the larger band is gone
  EXPECT_EQ(s.canvas.GetPixel(10, 35), s.view.Options.BackgroundColor);
  EXPECT_EQ(s.canvas.GetPixel(10, 25), 0x0000FFu);
  s.view.RestoreSnapshot();
  EXPECT_EQ(s.canvas.Image(), drawn);
}
