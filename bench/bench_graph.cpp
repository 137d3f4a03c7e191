// Draws the altitude graph of a generated 1,000,000-point track into an 800x100 pane and
// moves the hairline across it; prints the time per frame and per mouse move.
#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "base/NumberText.h"
#include "views/GPXStat.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// One point a second along a slowly climbing and falling line.
TGPXtrkseg* buildTrack(TGPX& gpx, int points) {
  auto* seg = gpx.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
  seg->Reserve(points);
  for (int i = 0; i < points; ++i) {
    auto p = std::make_unique<TGPXwpt>();
    const double a = static_cast<double>(i) / points;
    p->Lat = 45.0 + a * 0.5;
    p->Lon = 6.0 + std::sin(a * 40.0) * 0.01;
    p->Ele = 500 + 300 * std::sin(a * 7.3) + 20 * std::sin(a * 900.0);
    p->Time = 45000.0 + i / 86400.0;
    seg->AddPoint(std::move(p));
  }
  return seg;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  constexpr int kPoints = 1000000, kFrames = 20, kMoves = 400;
  TGPX gpx;
  TGPXtrkseg* seg = buildTrack(gpx, kPoints);

  Canvas canvas(800, 100);
  TGPXStat graph;
  graph.Canvas = &canvas;
  graph.GPX = &gpx;
  graph.SetSize(800, 100);
  graph.DrawAltitude(seg, true);  // warm-up
  auto t0 = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    graph.Clear();
    graph.DrawAltitude(seg, true);
  }
  std::printf("graph frame ms: %s\n", formatFixed(msSince(t0) / kFrames, 1).c_str());

  // A mouse move: the nearest plotted point, the snapshot back, the hairlines over it.
  t0 = Clock::now();
  for (int i = 0; i < kMoves; ++i) {
    const int x = graph.LeftMargin + i * (800 - graph.LeftMargin) / kMoves;
    const int k = graph.Points.NearestX(x);
    graph.RestoreSnapshot();
    graph.DrawHairlines(k);
  }
  std::printf("hairline ms: %s\n", formatFixed(msSince(t0) / kMoves, 2).c_str());
  return 0;
}
