// The statistics graph of a 1,000,000-point track in the main window: drawing the altitude
// graph, and moving the mouse over it (hairlines, status texts, the preview's marker).
#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/NumberText.h"
#include "platform/AppPaths.h"
#include "ui/ImageView.h"
#include "ui/Main.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// One point a second along a slowly climbing and falling line.
TGPXtrkseg* buildTrack(TGPX& gpx, int points) {
  auto* seg = gpx.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
  gpx.Tracks.Present = true;
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

std::string ms(double v) { return formatFixed(v, 2); }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The window's settings go to a folder of our own, not beside the program.
  const auto folder = std::filesystem::temp_directory_path() / "corvantel_bench_graph";
  std::filesystem::create_directories(folder);
  AppPaths::setProgramFolder(folder.string() + "/");
  constexpr int kPoints = 1000000, kFrames = 20, kMoves = 400;
  {
    TMainForm form;
    form.resize(1000, 700);
    form.show();
    QApplication::processEvents();
    TGPX& gpx = *form.CurrentGPX;
    TGPXtrkseg* seg = buildTrack(gpx, kPoints);
    form.GPXLoaded = true;
    TGPXDraw& preview = *form.PreviewDraw;
    preview.SetGPX(&gpx);
    preview.Canvas = &form.findChild<TImageView*>("GPXImage")->canvas();
    preview.SetSize(preview.Canvas->Width(), preview.Canvas->Height());
    preview.FitAll(true, true);
    preview.Draw();
    gpx.Selection.Add(seg);
    preview.CurrentList = seg;

    // A frame: the graph cleared and the altitude graph drawn over the whole track.
    form.UpdateStatGraph();
    TGPXStat& graph = *form.GPXStat;
    auto t0 = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
      graph.Clear();
      graph.DrawAltitude(seg, true);
    }
    std::printf("graph frame ms: %s\n", ms(msSince(t0) / kFrames).c_str());

    // A mouse move over the graph, painted: hairlines over the snapshot (the curve is not
    // drawn again), the status texts, the marker on the preview.
    auto* image = form.findChild<TImageView*>("GPXStatImage");
    auto* previewImage = form.findChild<TImageView*>("GPXImage");
    t0 = Clock::now();
    for (int i = 0; i < kMoves; ++i) {
      const int x = graph.LeftMargin + i * (graph.Width - graph.LeftMargin) / kMoves;
      form.GPXStatImageMouseMove(Qt::NoButton, x, 10);
      image->repaint();
      previewImage->repaint();
    }
    std::printf("hairline ms: %s\n", ms(msSince(t0) / kMoves).c_str());
  }
  std::filesystem::remove_all(folder);
  return 0;
}
