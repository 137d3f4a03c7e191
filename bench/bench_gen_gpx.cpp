// Writes a large GPX file for the benchmarks: one track of N points (default 1,000,000),
// each with elevation and time, laid out as a GPS device writes them. The default shape is
// a smooth spiral, which the map's line encoding thins to a few points; "walk" gives a
// wandering walk with a GPS receiver's few metres of jitter, of which most points survive.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/NumberText.h"

namespace {

// A fixed small generator, so that every machine writes the same file.
struct Noise {
  uint64_t state = 0x9E3779B97F4A7C15ull;
  double uniform() {  // [0, 1)
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<double>(state >> 11) * 0x1.0p-53;
  }
  double signedUnit() { return 2 * uniform() - 1; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_gen_gpx OUT [POINTS] [spiral|walk]\n");
    return 2;
  }
  long points = argc > 2 ? std::atol(argv[2]) : 1000000;
  const bool walk = argc > 3 && std::strcmp(argv[3], "walk") == 0;
  if (argc > 3 && !walk && std::strcmp(argv[3], "spiral") != 0) {
    std::fprintf(stderr, "unknown shape %s\n", argv[3]);
    return 2;
  }
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<gpx version=\"1.1\" creator=\"bench_gen_gpx\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
             "  <metadata>\n    <name>Benchmark track</name>\n    <time>2021-06-01T06:00:00Z</time>\n  </metadata>\n"
             "  <trk>\n    <name>Long ride</name>\n    <trkseg>\n",
             f);
  // One point a second from 2021-06-01 06:00:00 UTC.
  const long start = 6 * 3600;
  Noise noise;
  // The walk: about 1.4 m a second on a slowly turning heading, from 46.5 N 7.5 E.
  double walkLat = 46.5, walkLon = 7.5, heading = 0.3;
  const double metresPerDegree = 6378137.0 * M_PI / 180;
  for (long i = 0; i < points; ++i) {
    double lat, lon, ele;
    if (walk) {
      heading += 0.05 * noise.signedUnit();
      const double step = 1.4 * (0.8 + 0.4 * noise.uniform()) / metresPerDegree;
      walkLat += step * std::cos(heading);
      walkLon += step * std::sin(heading) / std::cos(walkLat * M_PI / 180);
      // A receiver's jitter of up to about 3 m around the true path.
      lat = walkLat + 3 * noise.signedUnit() / metresPerDegree;
      lon = walkLon + 3 * noise.signedUnit() / metresPerDegree / std::cos(walkLat * M_PI / 180);
      ele = 500 + 300 * std::sin(i * 7.3e-4) + 2 * noise.signedUnit();
    } else {
      // A slow spiral over rolling ground.
      double a = i * 1e-4;
      lat = 46.5 + 0.8 * std::sin(a) * (1 + i * 1e-7);
      lon = 7.5 + 1.1 * std::cos(a) * (1 + i * 1e-7);
      ele = 500 + 300 * std::sin(a * 7.3);
    }
    long t = start + i;
    long day = 1 + t / 86400, sod = t % 86400;
    // Days beyond June roll into the following months of 2021 (30, 31, 31 ... days).
    static const int lengths[] = {30, 31, 31, 30, 31, 30, 31};
    int month = 6, d = int(day);
    for (int m = 0; m < 7 && d > lengths[m]; ++m) {
      d -= lengths[m];
      ++month;
    }
    auto two = [](long v) { return formatIntPadded(v, 2); };
    std::string line = "      <trkpt lat=\"" + formatFixed(lat, 7) + "\" lon=\"" + formatFixed(lon, 7) +
                       "\">\n        <ele>" + formatFixed(ele, 1) + "</ele>\n        <time>2021-" + two(month) +
                       "-" + two(d) + "T" + two(sod / 3600) + ":" + two(sod / 60 % 60) + ":" + two(sod % 60) +
                       "Z</time>\n      </trkpt>\n";
    std::fputs(line.c_str(), f);
  }
  std::fputs("    </trkseg>\n  </trk>\n</gpx>\n", f);
  return std::fclose(f) == 0 ? 0 : 1;
}
