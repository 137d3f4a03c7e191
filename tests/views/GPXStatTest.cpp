// The statistics graph: margins from the font, positions of the first, last and extreme
// points, refusals, the value builders, nearest-point searches, zoom ranges, hairlines and
// labels under a ',' locale.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "base/LocaleFormats.h"
#include "views/GPXStat.h"
#include "views/GraphTexts.h"

namespace {

constexpr int kW = 400, kH = 120;
constexpr double kT0 = 45000.0, kMinute = 1.0 / 1440;

struct P {
  double lat, ele = 0, time = 0;
  int sat = 255;
  double hdop = -1;
};

std::unique_ptr<TGPXtrkseg> makeList(const std::vector<P>& pts) {
  auto list = std::make_unique<TGPXtrkseg>();
  for (const P& p : pts) {
    auto w = std::make_unique<TGPXwpt>();
    w->Lat = p.lat;
    w->Lon = 5;
    w->Ele = p.ele;
    w->Time = p.time;
    if (p.sat != 255) w->edit().sat = static_cast<uint8_t>(p.sat);
    if (p.hdop != -1) w->edit().hdop = p.hdop;
    list->AddPoint(std::move(w));
  }
  return list;
}

// n points 0.01 degree apart northwards, one a minute, with these elevations.
std::unique_ptr<TGPXtrkseg> timedLine(const std::vector<double>& eles) {
  std::vector<P> pts;
  for (size_t i = 0; i < eles.size(); ++i) pts.push_back({45 + 0.01 * i, eles[i], kT0 + i * kMinute, 7, 1.5});
  return makeList(pts);
}

struct Graph {
  Canvas canvas{kW, kH};
  TGPX gpx;
  TGPXStat g;
  Graph() {
    g.Canvas = &canvas;
    g.GPX = &gpx;
    g.SetSize(kW, kH);
    g.Clear();  // the background, as the window clears before drawing
  }
  std::vector<double> values() {
    std::vector<double> v;
    for (const TStatPoint& p : g.Points.Items()) v.push_back(p.Value);
    return v;
  }
};

QFontMetrics labelMetrics() {
  Canvas c(1, 1);
  return QFontMetrics(c.QtFont());
}

}  // namespace

TEST(GPXStat, MarginsFromTheFontAndTheExtremePoints) {
  struct Case { bool byTime; std::vector<double> eles; const char* maxLabel; const char* minLabel; };
  const Case cases[] = {{false, {500, 512, 1234, 480, 600}, "1234 m", "480 m"},
                        {true, {-20, 5, 10, 7}, "10 m", "-20 m"}};
  for (const Case& k : cases) {
    Graph t;
    auto list = timedLine(k.eles);
    ASSERT_TRUE(t.g.DrawAltitude(list.get(), k.byTime));
    const QFontMetrics fm = labelMetrics();
    EXPECT_EQ(t.g.BottomMargin, fm.height() + 2);
    EXPECT_EQ(t.g.LeftMargin, std::max(fm.horizontalAdvance(k.maxLabel), fm.horizontalAdvance(k.minLabel)) + 2);
    auto& pts = t.g.Points.Items();
    ASSERT_EQ(pts.size(), k.eles.size());
    EXPECT_EQ(pts.front().X, t.g.LeftMargin);
    EXPECT_EQ(pts.back().X, kW - 1);
    const auto hi = std::max_element(k.eles.begin(), k.eles.end()) - k.eles.begin();
    const auto lo = std::min_element(k.eles.begin(), k.eles.end()) - k.eles.begin();
    EXPECT_EQ(pts[hi].Y, 0);
    EXPECT_EQ(pts[lo].Y, kH - t.g.BottomMargin);
    // The curve is drawn and kept in the snapshot; the axis runs along the plot's bottom.
    EXPECT_EQ(t.canvas.GetPixel(pts[hi].X, 0), t.g.Options.LineColor);
    EXPECT_EQ(t.canvas.GetPixel(kW - 2, t.g.PlotBottom()), t.g.Options.AxisColor);
    EXPECT_EQ(t.g.Snapshot.Image(), t.canvas.Image());
  }
}

TEST(GPXStat, RefusesWhatItCannotPlot) {
  using Draw = std::function<bool(TGPXStat&, TGPXwptList*)>;
  struct Case { const char* what; std::vector<P> pts; Draw draw; bool drawn; uint8_t mode; };
  const Draw altTime = [](TGPXStat& g, TGPXwptList* l) { return g.DrawAltitude(l, true); };
  const Draw altIndex = [](TGPXStat& g, TGPXwptList* l) { return g.DrawAltitude(l, false); };
  const Draw speed = [](TGPXStat& g, TGPXwptList* l) { return g.DrawSpeed(l); };
  const Draw sat = [](TGPXStat& g, TGPXwptList* l) { return g.DrawSatellites(l, false); };
  const Draw hdop = [](TGPXStat& g, TGPXwptList* l) { return g.DrawHDOP(l, false); };
  const Case cases[] = {
      {"one point", {{45, 10, kT0}}, altIndex, false, 0},
      {"no time by time", {{45, 10}, {46, 20}}, altTime, false, 0},
      {"no time for speed", {{45, 10}, {46, 20}}, speed, false, 0},
      {"no time by index", {{45, 10}, {46, 20}}, altIndex, true, 2},
      {"sat unset", {{45, 0, 0, 255}, {46, 0, 0, 5}}, sat, false, 0},
      {"hdop unset", {{45, 0, 0, 255, -1}, {46, 0, 0, 255, 2}}, hdop, false, 0},
      {"same times: axes only", {{45, 10, kT0}, {46, 20, kT0}}, altTime, false, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Graph t;
    auto list = makeList(k.pts);
    EXPECT_EQ(k.draw(t.g, list.get()), k.drawn);
    EXPECT_EQ(t.g.Mode, k.mode);
  }
  Graph t;
  EXPECT_FALSE(t.g.DrawAltitude(nullptr, false));
}

TEST(GPXStat, ValueBuilders) {
  // A right-angle turn at point 1 and a stop at point 2 (its neighbours share its time).
  auto turn = makeList({{45, 100, kT0, 4, 0.8}, {45.01, 300, kT0 + 60 * kMinute, 255, -1},
                        {45.01, 200, kT0 + 60 * kMinute, 6, 2.5}, {45.02, 250, kT0 + 120 * kMinute, 9, 1.0}});
  // Point 2 lies east of point 1 by about 0.01 degree of longitude at this latitude.
  turn->GetPoint(2)->Lon = 5 + 0.01 / std::cos(45.01 * M_PI / 180);
  turn->GetPoint(3)->Lon = turn->GetPoint(2)->Lon;
  turn->GetPoint(3)->Lat = 45.0;
  const double d01 = turn->GetPoint(0)->DistanceToPoint(*turn->GetPoint(1), false);
  const double d12 = turn->GetPoint(1)->DistanceToPoint(*turn->GetPoint(2), false);
  const double d23 = turn->GetPoint(2)->DistanceToPoint(*turn->GetPoint(3), false);
  using Draw = std::function<bool(TGPXStat&, TGPXwptList*)>;
  struct Case { const char* what; Draw draw; std::vector<double> values; double tolerance; };
  const Case cases[] = {
      {"altitude", [](TGPXStat& g, TGPXwptList* l) { return g.DrawAltitude(l, true); }, {100, 300, 200, 250}, 0},
      {"speed: out, centred, centred, in",
       [](TGPXStat& g, TGPXwptList* l) { return g.DrawSpeed(l); },
       {d01 / 1000, (d01 + d12) / 1000, (d12 + d23) / 1000, d23 / 1000}, 1e-9},
      {"distance", [](TGPXStat& g, TGPXwptList* l) { return g.DrawDistance(l, false); },
       {0, d01, d01 + d12, d01 + d12 + d23}, 1e-6},
      {"satellites, unset as 0", [](TGPXStat& g, TGPXwptList* l) { return g.DrawSatellites(l, true); },
       {4, 0, 6, 9}, 0},
      {"hdop, unset as 0", [](TGPXStat& g, TGPXwptList* l) { return g.DrawHDOP(l, false); }, {0.8, 0, 2.5, 1.0}, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Graph t;
    k.draw(t.g, turn.get());
    const auto v = t.values();
    ASSERT_EQ(v.size(), k.values.size());
    for (size_t i = 0; i < v.size(); ++i) EXPECT_NEAR(v[i], k.values[i], k.tolerance) << i;
  }
  // Angles: both right-angle turns give 90; the ends copy their neighbours.
  Graph t;
  t.g.DrawAngle(turn.get(), false);
  for (double v : t.values()) EXPECT_NEAR(v, 90.0, 2.0);
  // Two points: both 0, nothing counted.
  auto two = makeList({{45}, {46}});
  t.g.Clear();
  t.g.DrawAngle(two.get(), false);
  EXPECT_EQ(t.values(), (std::vector<double>{0, 0}));
}

TEST(GPXStat, FarOffValuesAndMissingTimesStayOnThePixelRange) {
  auto list = timedLine({0, 1e300, -1e300, 5});
  list->GetPoint(2)->Time = 0;  // a point without a time in a timed list
  Graph t;
  EXPECT_TRUE(t.g.DrawAltitude(list.get(), true));
  for (const TStatPoint& p : t.g.Points.Items()) {
    EXPECT_LE(std::abs(p.X), kPixelLimit + t.g.LeftMargin);
    EXPECT_LE(std::abs(p.Y), kPixelLimit + kH);
  }
}

TEST(StatPointList, NearestPoints) {
  struct Case { std::vector<TPoint> pts; int x, y, nearestX, nearestXY; };
  const Case cases[] = {
      {{}, 5, 5, -1, -1},
      {{{10, 50}, {20, 0}, {20, 10}, {30, 0}}, 25, 0, 1, 1},  // ties: the first wins
      {{{10, 50}, {20, 0}, {20, 10}, {30, 0}}, 20, 9, 1, 2},
      {{{10, 50}, {20, 0}, {30, 10}}, 0, 50, 0, 0},
      {{{10, 50}, {20, 0}, {30, 10}}, 99, 0, 2, 2},
      {{{30, 0}, {10, 0}, {20, 0}, {10, 5}}, 12, 5, 1, 3},  // out of order: searched one by one
  };
  for (const Case& k : cases) {
    TStatPointList list;
    for (const TPoint& p : k.pts) list.Add({p.X, p.Y, nullptr, 0});
    list.PositionsSet();
    EXPECT_EQ(list.NearestX(k.x), k.nearestX) << k.x;
    EXPECT_EQ(list.NearestXY(k.x, k.y), k.nearestXY) << k.x << "," << k.y;
  }
  TStatPointList list;
  EXPECT_THROW(list.GetItem(0), std::out_of_range);
}

TEST(GPXStat, ZoomRanges) {
  struct Case { int count, first, last; double at; bool in; int newFirst, newLast; };
  const Case cases[] = {
      {101, 0, 100, 0.5, true, 10, 90},   // around the middle point
      {101, 10, 90, 0.5, false, 2, 98},
      {101, 0, 100, 0.5, false, 0, 100},  // clamped to the list
      {101, 0, 100, 0.0, true, 0, 80},    // the point under the mouse stays in the range
      {101, 40, 42, 0.5, true, 40, 42},   // three points: no narrower
      {2, 0, 1, 0.5, false, 0, 1},        // a short list stays drawn, never below 0
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.first << ".." << k.last << (k.in ? " in" : " out"));
    std::vector<double> eles;
    for (int i = 0; i < k.count; ++i) eles.push_back(i % 7);
    auto list = timedLine(eles);
    Graph t;
    t.g.FirstIndex = k.first;
    t.g.LastIndex = k.last;
    ASSERT_TRUE(t.g.DrawAltitude(list.get(), false));
    const auto& pts = t.g.Points.Items();
    const int x = pts[static_cast<size_t>(std::lround(k.at * (pts.size() - 1)))].X;
    if (k.in)
      t.g.ZoomIn(x);
    else
      t.g.ZoomOut(x);
    EXPECT_EQ(t.g.FirstIndex, k.newFirst);
    EXPECT_EQ(t.g.LastIndex, k.newLast);
    EXPECT_EQ(t.g.Points.SourceList, list.get());
  }
}

TEST(GPXStat, HairlinesOverTheSnapshotAndClear) {
  auto list = timedLine({10, 30, 20, 40, 15});
  Graph t;
  ASSERT_TRUE(t.g.DrawAltitude(list.get(), false));
  const TStatPoint p = *t.g.Points.GetItem(2);
  for (int mode : {0, 1, 2}) {
    t.g.Options.ShowHorizontalHairline = mode;
    t.g.RestoreSnapshot();
    t.g.DrawHairlines(2);
    EXPECT_EQ(t.canvas.GetPixel(p.X, 1), t.g.Options.SelectionColor);
    const uint32_t across = t.canvas.GetPixel(t.g.LeftMargin + 1, p.Y);
    EXPECT_EQ(across == t.g.Options.SelectionColor, mode == 1) << mode;
    EXPECT_EQ(across == t.g.Options.BackgroundColor, mode == 0) << mode;
  }
  t.g.RestoreSnapshot();
  EXPECT_EQ(t.g.Snapshot.Image(), t.canvas.Image());
  t.g.Clear();
  EXPECT_EQ(t.g.Points.NearestX(p.X), -1);
  EXPECT_EQ(t.g.Points.SourceList, nullptr);
  EXPECT_EQ(t.canvas.GetPixel(p.X, p.Y), t.g.Options.BackgroundColor);
}

TEST(GraphTexts, NumbersUnderACommaLocale) {
  struct Comma : LocaleFormats {
    std::string decimalSeparator() const override { return ","; }
  };
  setLocaleFormats(std::make_unique<Comma>());
  struct Case { uint8_t mode; double v; const char* caption; const char* status; };
  const Case cases[] = {{1, 512.25, "512,3 m ", "Altitude : 512.3 m "},
                        {3, 12.04, "12,0 km/h ", "Speed : 12.0 km/h "},
                        {5, 90, "90,0 \xC2\xB0 ", "Angle : 90.0 \xC2\xB0 "},
                        {9, 7.9, "7 satellite", "Satellite used  : 7"},
                        {11, 1.25, "1,3", "HDOP : 1.3"},
                        {0, 1, "", ""}};
  for (const Case& k : cases) {
    EXPECT_EQ(GraphValueCaption(k.mode, k.v), k.caption);
    EXPECT_EQ(GraphValueText(k.mode, k.v), k.status);
  }
  // Axis labels have no decimals, so no separator and no grouping.
  Graph t;
  auto list = timedLine({1234.6, 10.4});
  t.g.DrawAltitude(list.get(), false);
  EXPECT_EQ(t.g.LeftMargin, labelMetrics().horizontalAdvance("1235 m") + 2);
  setLocaleFormats(nullptr);
}
