// Other GPX readers (python3-gpxpy, gpsbabel) read back what the writer wrote.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

#include "formats/GPXText.h"
#include "formats/GPXWriter.h"
#include "writer_fixture.h"

namespace {

// One line per list start and per point: "trk", "trkseg", "trkpt lat lon ele time".
struct Entry {
  std::string kind;
  double lat = 0, lon = 0, ele = 0;
  std::string time;
};

Entry marker(const std::string& kind) {
  Entry e;
  e.kind = kind;
  return e;
}

void expectSame(const std::vector<Entry>& expected, const std::vector<Entry>& actual,
                const char* peer) {
  ASSERT_EQ(expected.size(), actual.size()) << peer;
  for (size_t i = 0; i < expected.size(); ++i) {
    const Entry& e = expected[i];
    const Entry& a = actual[i];
    EXPECT_EQ(e.kind, a.kind) << peer << " entry " << i;
    EXPECT_NEAR(e.lat, a.lat, 1e-9) << peer << " entry " << i;
    EXPECT_NEAR(e.lon, a.lon, 1e-9) << peer << " entry " << i;
    EXPECT_NEAR(e.ele, a.ele, 1e-3) << peer << " entry " << i;
    EXPECT_EQ(e.time, a.time) << peer << " entry " << i;
  }
}

void listPoints(std::vector<Entry>& out, const TGPXwptList& list, const char* kind) {
  for (const auto& p : list.Items())
    out.push_back({kind, p->Lat, p->Lon, p->Ele, p->Time ? DateTimeToGPXTime(p->Time) : std::string()});
}

std::vector<Entry> summary(const TGPX& gpx) {
  std::vector<Entry> out;
  listPoints(out, gpx.Waypoints, "wpt");
  for (const auto& r : gpx.Routes.Items()) {
    out.push_back(marker("rte"));
    listPoints(out, *r, "rtept");
  }
  for (const auto& t : gpx.Tracks.Items()) {
    out.push_back(marker("trk"));
    for (const auto& s : t->Items()) {
      out.push_back(marker("trkseg"));
      listPoints(out, *s, "trkpt");
    }
  }
  return out;
}

std::vector<Entry> parseLines(const std::string& text) {
  std::vector<Entry> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Entry e;
    fields >> e.kind;
    if (e.kind.empty()) continue;
    if (e.kind == "wpt" || e.kind == "rtept" || e.kind == "trkpt") {
      fields >> e.lat >> e.lon >> e.ele;
      fields >> e.time;
    }
    out.push_back(e);
  }
  return out;
}

// A document for the peers: several of each kind, no zero elevation (it is left out).
std::unique_ptr<TGPX> makePeerDocument() {
  auto gpx = std::make_unique<TGPX>();
  gpx->Creator = "Corvantel";
  const double t0 = encodeDateTime(2021, 6, 30, 23, 59, 58);
  addPoint(gpx->Waypoints, 48.858370123456, 2.294481987654, 35.25, t0)->edit().name = "Tour";
  addPoint(gpx->Waypoints, -33.856784, 151.215297, 4.5);
  addPoint(gpx->Waypoints, 0.00001, -0.0000015, -412.75, t0 + 1.0);
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

const char* kGpxpyScript = R"PY(
import sys, gpxpy
g = gpxpy.parse(open(sys.argv[1], encoding='utf-8'))
def pt(kind, p):
    t = p.time.strftime('%Y-%m-%dT%H:%M:%SZ') if p.time else ''
    print(kind, repr(p.latitude), repr(p.longitude), repr(p.elevation), t)
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

TEST(WriterPeers, GpxpyReadsBackCountsCoordinatesElevationsAndTimes) {
  if (!programExists("/usr/bin/python3")) GTEST_SKIP() << "python3 is not installed";
  std::string output;
  if (runCommand("/usr/bin/python3 -c 'import gpxpy'", output) != 0)
    GTEST_SKIP() << "python3-gpxpy is not installed";
  auto gpx = makePeerDocument();
  const std::string folder = makeTempFolder();
  for (bool compressed : {false, true}) {
    const std::string file = folder + (compressed ? "/c.gpx" : "/i.gpx");
    writeWholeFile(file, TGPXWriter(compressed).WriteDocument(*gpx));
    writeWholeFile(folder + "/read.py", kGpxpyScript);
    ASSERT_EQ(runCommand("/usr/bin/python3 '" + folder + "/read.py' '" + file + "'", output), 0)
        << output;
    expectSame(summary(*gpx), parseLines(output), "gpxpy");
  }
}

// gpsbabel writes what it understood as GPX again; libxml2 lists that file's points.
void collect(xmlNode* node, std::vector<Entry>& out) {
  for (xmlNode* n = node; n; n = n->next) {
    if (n->type != XML_ELEMENT_NODE) continue;
    const std::string name = reinterpret_cast<const char*>(n->name);
    if (name == "wpt" || name == "rtept" || name == "trkpt") {
      Entry e = marker(name);
      auto attr = [&](const char* a) {
        xmlChar* v = xmlGetProp(n, reinterpret_cast<const xmlChar*>(a));
        double d = v ? std::strtod(reinterpret_cast<const char*>(v), nullptr) : 0;
        xmlFree(v);
        return d;
      };
      e.lat = attr("lat");
      e.lon = attr("lon");
      for (xmlNode* c = n->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE) continue;
        xmlChar* v = xmlNodeGetContent(c);
        const std::string text = v ? reinterpret_cast<const char*>(v) : "";
        xmlFree(v);
        if (!std::strcmp(reinterpret_cast<const char*>(c->name), "ele"))
          e.ele = std::strtod(text.c_str(), nullptr);
        if (!std::strcmp(reinterpret_cast<const char*>(c->name), "time")) e.time = text;
      }
      out.push_back(e);
      continue;
    }
    if (name == "rte" || name == "trk" || name == "trkseg") out.push_back(marker(name));
    if (name == "gpx" || name == "rte" || name == "trk" || name == "trkseg")
      collect(n->children, out);
  }
}

TEST(WriterPeers, GpsbabelReadsBackCountsCoordinatesElevationsAndTimes) {
  if (!programExists("/usr/bin/gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
  auto gpx = makePeerDocument();
  const std::string folder = makeTempFolder();
  for (bool compressed : {false, true}) {
    const std::string in = folder + "/in.gpx";
    const std::string out = folder + "/out.gpx";
    writeWholeFile(in, TGPXWriter(compressed).WriteDocument(*gpx));
    std::string output;
    ASSERT_EQ(runCommand("/usr/bin/gpsbabel -i gpx -f '" + in + "' -o gpx -F '" + out + "'",
                         output),
              0)
        << output;
    xmlDoc* doc = xmlReadFile(out.c_str(), nullptr, XML_PARSE_NONET);
    ASSERT_NE(doc, nullptr);
    std::vector<Entry> entries;
    collect(xmlDocGetRootElement(doc), entries);
    xmlFreeDoc(doc);
    expectSame(summary(*gpx), entries, "gpsbabel");
  }
}

}  // namespace
