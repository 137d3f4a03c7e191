// Times the Douglas-Peucker variants and the scatter removal on a generated million-point
// walk; with --gpx FILE it writes the same track as GPX text for outside tools instead.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/GPXText.h"
#include "model/GPX.h"
#include "model/PointListEdit.h"

namespace {

// splitmix64: the same track on every machine and library.
struct Random {
  uint64_t state;
  double uniform() {  // [0, 1)
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
  }
  double between(double a, double b) { return a + (b - a) * uniform(); }
};

// A hiker's track, a fix a second: wandering heading and pace, hills, and now and then a
// rest of a few minutes where the fixes drift around the spot.
void generateTrack(TGPXtrkseg& seg, int count) {
  Random rng{20240501};
  const double metresPerDegree = 6378137.0 * M_PI / 180.0;
  const double t0 = encodeDateTime(2024, 5, 1, 8, 0, 0);
  double lat = 45.9, lon = 6.8, ele = 1200, heading = 0.5, slope = 0;
  double restLeft = 0, restLat = 0, restLon = 0;
  seg.Reserve(count);
  for (int i = 0; i < count; ++i) {
    double pLat = lat, pLon = lon;
    if (restLeft > 0) {
      restLeft -= 1;
      pLat = restLat + rng.between(-1.5, 1.5) / metresPerDegree * 0.1;
      pLon = restLon + rng.between(-1.5, 1.5) / metresPerDegree * 0.1;
    } else {
      heading += rng.between(-0.15, 0.15);
      const double pace = rng.between(0.9, 1.6);
      lat += pace * std::cos(heading) / metresPerDegree;
      lon += pace * std::sin(heading) / (metresPerDegree * std::cos(lat * M_PI / 180));
      slope = std::clamp(slope + rng.between(-0.01, 0.01), -0.25, 0.25);
      ele += slope * pace;
      pLat = lat, pLon = lon;
      if (rng.uniform() < 1.0 / 2500) restLeft = rng.between(120, 900), restLat = lat, restLon = lon;
    }
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = pLat;
    p->Lon = pLon;
    p->Ele = ele + rng.between(-0.3, 0.3);
    p->Time = t0 + i / 86400.0;
    seg.AddPoint(std::move(p));
  }
}

void copyPoints(const TGPXtrkseg& from, TGPXtrkseg& to) {
  to.Reserve(from.Count());
  for (const auto& q : from.Items()) {
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = q->Lat, p->Lon = q->Lon, p->Ele = q->Ele, p->Time = q->Time;
    to.AddPoint(std::move(p));
  }
}

int writeGpx(const TGPXtrkseg& seg, const char* path) {
  FILE* out = std::fopen(path, "wb");
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path);
    return 1;
  }
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"bench_filters\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "<trk><name>bench</name><trkseg>\n";
  for (const auto& p : seg.Items()) {
    text += "<trkpt lat=\"" + formatFixed(p->Lat, 8) + "\" lon=\"" + formatFixed(p->Lon, 8) + "\"><ele>" +
            formatFixed(p->Ele, 2) + "</ele><time>" + DateTimeToGPXTime(p->Time) + "</time></trkpt>\n";
    if (text.size() > (1 << 20)) std::fwrite(text.data(), 1, text.size(), out), text.clear();
  }
  text += "</trkseg></trk>\n</gpx>\n";
  std::fwrite(text.data(), 1, text.size(), out);
  return std::fclose(out) == 0 ? 0 : 1;
}

void timeFilter(const TGPXtrkseg& track, const char* name, const std::function<void(TPointList2&)>& filter) {
  TGPXtrkseg work;
  copyPoints(track, work);
  const auto begin = std::chrono::steady_clock::now();
  filter(work);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
  std::printf("%-34s %9.1f ms   kept %8d of %d\n", name, ms, work.Count(), track.Count());
}

}  // namespace

int main(int argc, char** argv) {
  int count = 1000000;
  const char* gpxPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--gpx") && i + 1 < argc) gpxPath = argv[++i];
    else if (!std::strcmp(argv[i], "--points") && i + 1 < argc) count = std::atoi(argv[++i]);
  }
  TGPXtrkseg track;
  generateTrack(track, count);
  if (gpxPath) return writeGpx(track, gpxPath);

  // 1/50000 degree is about 2.2 m, beside the metric variant's 2 m.
  timeFilter(track, "DouglasPeucker2D (n=50000)", [](TPointList2& l) { DouglasPeucker2D(l, 50000); });
  timeFilter(track, "DouglasPeucker3D (n=50000)", [](TPointList2& l) { DouglasPeucker3D(l, 50000); });
  timeFilter(track, "DouglasPeuckerMetric (n=2 m)", [](TPointList2& l) { DouglasPeuckerMetric(l, 2); });
  timeFilter(track, "RemoveScatter (n=2 min)", [](TPointList2& l) { RemoveScatter(l, 2); });
  return 0;
}
