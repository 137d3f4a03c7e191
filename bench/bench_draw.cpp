// Fits and draws a generated 1,000,000-point track into an 800x600 preview and prints the
// time per frame, fitted and zoomed in.
#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

#include "views/GPXDraw.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// A wandering walk of about 8 m steps with a slowly turning heading, like a long ride.
void buildTrack(TGPX& gpx, int points) {
  std::mt19937 rng(20240607);
  std::normal_distribution<double> turn(0.0, 0.05);
  std::uniform_real_distribution<double> step(4.0, 12.0);
  auto* seg = gpx.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
  seg->Reserve(points);
  double lat = 45.0, lon = 6.0, heading = 0.3;
  for (int i = 0; i < points; ++i) {
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = lat;
    p->Lon = lon;
    p->Time = 45000.0 + i / 86400.0;
    seg->AddPoint(std::move(p));
    heading += turn(rng);
    const double metres = step(rng);
    lat += std::cos(heading) * metres / 111320.0;
    lon += std::sin(heading) * metres / (111320.0 * std::cos(lat * M_PI / 180.0));
  }
}

double timeFrames(TGPXDraw& view, int frames) {
  view.Draw();  // warm-up
  const auto t0 = Clock::now();
  for (int i = 0; i < frames; ++i) view.Draw();
  return msSince(t0) / frames;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  constexpr int kPoints = 1000000, kFrames = 20;
  TGPX gpx;
  auto t0 = Clock::now();
  buildTrack(gpx, kPoints);
  std::printf("build track      %9.1f ms (%d points)\n", msSince(t0), kPoints);

  Canvas canvas(800, 600);
  TGPXDraw view;
  view.Canvas = &canvas;
  view.SetGPX(&gpx);
  view.SetSize(800, 600);
  t0 = Clock::now();
  view.FitAll(true, true);
  std::printf("FitAll           %9.1f ms\n", msSince(t0));
  std::printf("draw, fitted     %9.1f ms per frame\n", timeFrames(view, kFrames));
  gpx.Selection.Add(gpx.Tracks.At(0)->At(0));
  std::printf("draw, selected   %9.1f ms per frame\n", timeFrames(view, kFrames));
  gpx.Selection.Clear();
  for (int i = 0; i < 12; ++i) view.ZoomIn();
  std::printf("draw, zoomed in  %9.1f ms per frame\n", timeFrames(view, kFrames));
  return 0;
}
