// Writes a large GPX file for the benchmarks: one track of N points (default 1,000,000),
// each with elevation and time, laid out as a GPS device writes them.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/NumberText.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_gen_gpx OUT [POINTS]\n");
    return 2;
  }
  long points = argc > 2 ? std::atol(argv[2]) : 1000000;
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
  // A slow spiral over rolling ground, one point a second from 2021-06-01 06:00:00 UTC.
  const long start = 6 * 3600;
  for (long i = 0; i < points; ++i) {
    double a = i * 1e-4;
    double lat = 46.5 + 0.8 * std::sin(a) * (1 + i * 1e-7);
    double lon = 7.5 + 1.1 * std::cos(a) * (1 + i * 1e-7);
    double ele = 500 + 300 * std::sin(a * 7.3);
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
