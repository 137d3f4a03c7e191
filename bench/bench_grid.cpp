// Times the point grid on a large track segment: filling it (the scan of the columns and
// their sizing, then the first paint) and scrolling it page by page and to its end.
// The track: 1,000,000 points with elevations and times, one in a thousand named.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include "base/NumberText.h"
#include "model/GPX.h"
#include "ui/PointGrid.h"

namespace {

double msSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

std::string ms(double value) { return formatInt(std::lround(value)); }

void makeTrack(TGPXtrkseg& seg, int count) {
  seg.Reserve(count);
  for (int i = 0; i < count; ++i) {
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = 46.5 + 0.8 * std::sin(i * 1e-4);
    p->Lon = 7.5 + 1.1 * std::cos(i * 1e-4);
    p->Ele = 500 + 300 * std::sin(i * 7.3e-4);
    p->Time = 44348.25 + i / 86400.0;
    if (i % 1000 == 0) p->edit().name = "Point " + formatInt(i);
    seg.AddPoint(std::move(p));
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  TGPX doc;
  TGPXtrkseg* seg = doc.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
  makeTrack(*seg, 1000000);
  std::printf("points: %s\n", formatInt(seg->Count()).c_str());

  TPointGridView grid;
  grid.resize(900, 600);
  grid.show();
  QApplication::processEvents();
  auto t0 = std::chrono::steady_clock::now();
  fillPointGrid(&grid, seg);
  grid.viewport()->repaint();
  std::printf("grid fill ms: %s\n", ms(msSince(t0)).c_str());

  // A page down and its paint, as the scroll bar's page step does.
  QScrollBar* bar = grid.verticalScrollBar();
  double total = 0, worst = 0;
  const int steps = 200;
  for (int i = 0; i < steps; ++i) {
    t0 = std::chrono::steady_clock::now();
    bar->setValue(bar->value() + bar->pageStep());
    grid.viewport()->repaint();
    const double step = msSince(t0);
    total += step;
    worst = std::max(worst, step);
  }
  std::printf("grid scroll ms per page: %s (worst %s)\n", formatFixed(total / steps, 2).c_str(),
              formatFixed(worst, 2).c_str());
  t0 = std::chrono::steady_clock::now();
  bar->setValue(bar->maximum());
  grid.viewport()->repaint();
  std::printf("grid jump to end ms: %s\n", formatFixed(msSince(t0), 2).c_str());
  return 0;
}
