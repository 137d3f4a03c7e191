// Times the track editing dialog on a large segment: opening it (the two copies, both
// previews fitted and drawn) and one slider step of each live filter page (the filter run
// again from the source and both previews redrawn).
// Usage: bench_track_edit [FILE.gpx]; without a file, a 1,000,000-point spiral is made.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QSlider>
#include <QTabWidget>

#include "base/NumberText.h"
#include "formats/GPXFile.h"
#include "ui/ImageView.h"
#include "ui/dialogs/TrackEdit.h"

namespace {

double msSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The same spiral as bench_gen_gpx writes, a point a second.
void makeSpiral(TGPXtrkseg& seg, int count) {
  seg.Reserve(count);
  for (int i = 0; i < count; ++i) {
    const double a = i * 1e-4;
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = 46.5 + 0.8 * std::sin(a) * (1 + i * 1e-7);
    p->Lon = 7.5 + 1.1 * std::cos(a) * (1 + i * 1e-7);
    p->Ele = 500 + 300 * std::sin(a * 7.3);
    p->Time = 44348.25 + i / 86400.0;
    seg.AddPoint(std::move(p));
  }
}

std::unique_ptr<TGPXtrkseg> copyOf(const TGPXtrkseg& s) {
  auto c = std::make_unique<TGPXtrkseg>();
  c->Assign(s);
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  TGPX doc;
  TGPXtrkseg* seg = nullptr;
  if (argc > 1) {
    TGPXFile reader;
    reader.GPX = &doc;
    reader.LoadFromFile(argv[1]);
    if (doc.Tracks.Count() == 0 || doc.Tracks.At(0)->Count() == 0) {
      std::fprintf(stderr, "no track segment in %s\n", argv[1]);
      return 1;
    }
    seg = doc.Tracks.At(0)->At(0);
  } else {
    seg = doc.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
    makeSpiral(*seg, 1000000);
  }
  std::printf("points: %s\n", formatInt(seg->Count()).c_str());

  TTrackEditForm dialog;
  dialog.resize(960, 580);
  auto* pages = dialog.findChild<QTabWidget*>("pcFilter");
  pages->setCurrentIndex(2);  // the Douglas-Peucker page: opening runs no filter
  auto t0 = std::chrono::steady_clock::now();
  dialog.SetSegments(copyOf(*seg), copyOf(*seg));
  dialog.show();
  QApplication::processEvents();
  std::printf("open ms: %s\n", formatInt(std::lround(msSince(t0))).c_str());

  // One step: the slider moves, the filter runs again, both previews are drawn and painted.
  double worst = 0;
  auto step = [&](const char* name, int page, const char* slider, std::initializer_list<int> values) {
    pages->setCurrentIndex(page);
    auto* bar = dialog.findChild<QSlider*>(name ? name : slider);
    double sum = 0, most = 0;
    for (int v : values) {
      auto t = std::chrono::steady_clock::now();
      bar->setValue(v);
      dialog.SourceDraw->Draw();
      dialog.findChild<TImageView*>("SrcImage")->repaint();
      dialog.findChild<TImageView*>("DstImage")->repaint();
      const double ms = msSince(t);
      sum += ms;
      most = std::max(most, ms);
    }
    worst = std::max(worst, most);
    std::printf("  %-15s mean %s ms, max %s ms (%s points left)\n", slider,
                formatInt(std::lround(sum / values.size())).c_str(), formatInt(std::lround(most)).c_str(),
                formatInt(dialog.ResultSegment->Count()).c_str());
  };
  const int n = seg->Count();
  step(nullptr, 2, "tbThreshold", {2, 10, 50, 200, 1000});
  step(nullptr, 1, "tbBefore", {n / 10, n / 4, n / 3});
  step(nullptr, 1, "tbAfter", {n - 10, n / 2, n - n / 3});
  step(nullptr, 3, "tbScatterSpeed", {1, 5, 10});
  step(nullptr, 4, "tbAngleLess", {5, 30, 90});
  std::printf("slider step ms: %s\n", formatInt(std::lround(worst)).c_str());
  dialog.ClearSegments();
  return 0;
}
