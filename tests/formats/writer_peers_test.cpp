// Other GPX readers (python3-gpxpy, gpsbabel) read back what the writer wrote.
#include <gtest/gtest.h>

#include <sstream>

#include "base/NumberText.h"
#include "formats/GPXText.h"
#include "formats/GPXWriter.h"
#include "writer_fixture.h"

namespace {

// One line per route, track, segment and point: "trkpt lat lon ele time", and a point's
// comment of several lines on a line of its own as Python writes it (gpsbabel makes a
// comment of the name where there is none).
const char* kSummaryScript = R"PY(
import sys, gpxpy
g = gpxpy.parse(open(sys.argv[1], encoding='utf-8'))
def pt(kind, p):
    t = p.time.strftime('%Y-%m-%dT%H:%M:%SZ') if p.time else '-'
    print(kind, '%.9f %.9f %.3f' % (p.latitude, p.longitude, p.elevation), t)
    if p.comment and '\n' in p.comment: print('cmt', repr(p.comment))
for w in g.waypoints: pt('wpt', w)
for r in g.routes:
    print('rte')
    for p in r.points: pt('rtept', p)
for t in g.tracks:
    print('trk')
    for s in t.segments:
        print('trkseg')
        for p in s.points: pt('trkpt', p)
)PY";

void summarisePoints(std::ostringstream& out, const TGPXwptList& list, const char* kind) {
  for (const auto& p : list.Items()) {
    out << kind << ' ' << formatFixed(p->Lat, 9) << ' ' << formatFixed(p->Lon, 9) << ' '
        << formatFixed(p->Ele, 3) << ' ' << (p->Time ? DateTimeToGPXTime(p->Time) : "-") << '\n';
    // A parser reads the CR LF of a written text as LF.
    const auto& w = static_cast<const TGPXwpt&>(*p);
    std::string cmt = w.HasData() ? w.data().cmt : "";
    for (size_t at; (at = cmt.find("\r\n")) != std::string::npos;) cmt.replace(at, 2, "\\n");
    if (!cmt.empty()) out << "cmt '" << cmt << "'\n";
  }
}

std::string expectedSummary(const TGPX& gpx) {
  std::ostringstream out;
  summarisePoints(out, gpx.Waypoints, "wpt");
  for (const auto& r : gpx.Routes.Items()) {
    out << "rte\n";
    summarisePoints(out, *r, "rtept");
  }
  for (const auto& t : gpx.Tracks.Items()) {
    out << "trk\n";
    for (const auto& s : t->Items()) {
      out << "trkseg\n";
      summarisePoints(out, *s, "trkpt");
    }
  }
  return out.str();
}

// Several of each kind; no zero elevation, which is left out of the file.
std::unique_ptr<TGPX> makePeerDocument() {
  auto gpx = std::make_unique<TGPX>();
  const double t0 = encodeDateTime(2021, 6, 30, 23, 59, 58);
  addPoint(gpx->Waypoints, 48.858370123, 2.294481987, 35.25, t0)->edit().name = "Tour & co";
  addPoint(gpx->Waypoints, -33.856784, 151.215297, 4.5)->edit().cmt = "typed\r\n  lines";
  addPoint(gpx->Waypoints, 0.00001, -0.000000015, -412.75, t0 + 1.0);
  for (int r = 0; r < 2; ++r) {
    TGPXrte* rte = gpx->Routes.Add(std::make_unique<TGPXrte>());
    for (int i = 0; i < 3; ++i) addPoint(*rte, 10 + r + i * 0.125, 20 - i * 0.25, 100 + i);
  }
  for (int t = 0; t < 2; ++t) {
    TGPXtrk* trk = gpx->Tracks.Add(std::make_unique<TGPXtrk>());
    for (int s = 0; s < 2; ++s) {
      TGPXtrkseg* seg = trk->Add(std::make_unique<TGPXtrkseg>());
      for (int i = 0; i < 4; ++i)
        addPoint(*seg, 45.1234567 + i * 1e-5, 6.7654321 - s * 1e-4, 1500.125 + i,
                 t0 + (t * 100 + s * 10 + i) / 86400.0);
    }
  }
  return gpx;
}

TEST(WriterPeers, GpxpyAndGpsbabelReadBackPointsElevationsAndTimes) {
  std::string output;
  if (!programExists("/usr/bin/python3") ||
      runCommand("/usr/bin/python3 -c 'import gpxpy'", output) != 0)
    GTEST_SKIP() << "python3-gpxpy is not installed";
  const bool haveBabel = programExists("/usr/bin/gpsbabel");
  auto gpx = makePeerDocument();
  const std::string expected = expectedSummary(*gpx);
  const std::string folder = makeTempFolder();
  writeWholeFile(folder + "/summary.py", kSummaryScript);
  auto summary = [&](const std::string& file) {
    EXPECT_EQ(runCommand("/usr/bin/python3 '" + folder + "/summary.py' '" + file + "'", output), 0)
        << output;
    return output;
  };
  for (bool compressed : {false, true}) {
    const std::string ours = folder + "/ours.gpx";
    writeWholeFile(ours, TGPXWriter(compressed).WriteDocument(*gpx));
    EXPECT_EQ(summary(ours), expected) << "gpxpy, compressed " << compressed;
    if (!haveBabel) continue;
    // gpsbabel writes what it understood as GPX of its own.
    const std::string babel = folder + "/babel.gpx";
    ASSERT_EQ(runCommand("/usr/bin/gpsbabel -i gpx -f '" + ours + "' -o gpx -F '" + babel + "'",
                         output),
              0)
        << output;
    EXPECT_EQ(summary(babel), expected) << "gpsbabel, compressed " << compressed;
  }
  if (!haveBabel) GTEST_SKIP() << "gpsbabel is not installed";
}

}  // namespace
