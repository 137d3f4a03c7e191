// Peers read our KML export back: Python's ElementTree and gpsbabel see the same coordinates.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/DateTime.h"
#include "formats/KMLWriter.h"
#include "model/GPX.h"

namespace {

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
  pclose(pipe);
  return out;
}

bool have(const char* program) { return std::system((std::string("test -x ") + program).c_str()) == 0; }

std::unique_ptr<TGPXwpt> point(double lat, double lon, double ele = 0) {
  auto p = std::make_unique<TGPXwpt>();
  p->Lat = lat;
  p->Lon = lon;
  p->Ele = ele;
  return p;
}

const char* const kPython = "/usr/bin/python3 " CORVANTEL_TEST_DATA "/kml_peer_read.py ";

TEST(KMLExportPeers, ElementTreeAndGpsbabelReadTheSameCoordinates) {
  if (!have("/usr/bin/python3")) GTEST_SKIP() << "no /usr/bin/python3";
  TGPX gpx;
  auto w = point(-33.875, 151.25, 12.5);
  w->edit().name = "Quay & <dock>";
  w->Time = encodeDateTime(2009, 1, 2, 3, 4, 5);
  gpx.Waypoints.AddPoint(std::move(w));
  auto r = std::make_unique<TGPXrte>();
  r->name = "Ferry";
  r->AddPoint(point(-33.875, 151.25));
  r->AddPoint(point(-33.75, 151.125, 3));
  gpx.Routes.Add(std::move(r));
  auto t = std::make_unique<TGPXtrk>();
  auto seg = std::make_unique<TGPXtrkseg>();
  for (int i = 0; i < 3; ++i) seg->AddPoint(point(-33.5 - i / 8.0, 150 + i / 4.0, 100 + i));
  t->Add(std::move(seg));
  gpx.Tracks.Add(std::move(t));

  const std::string kml = testing::TempDir() + "/corvantel_peer.kml";
  std::ofstream(kml, std::ios::binary) << TKMLWriter().WriteDocument(gpx);

  const std::string expected =
      "Quay & <dock>: 151.25,-33.875,12.5\n"
      "Ferry: 151.25,-33.875 151.125,-33.75,3\n"
      "Track Segment #1: 150,-33.5,100 150.25,-33.625,101 150.5,-33.75,102\n";
  EXPECT_EQ(run(kPython + std::string("kml ") + kml), expected);

  if (!have("/usr/bin/gpsbabel")) GTEST_SKIP() << "no gpsbabel";
  const std::string gpxOut = testing::TempDir() + "/corvantel_peer.gpx";
  ASSERT_EQ(std::system(("gpsbabel -i kml -f " + kml + " -o gpx -F " + gpxOut).c_str()), 0);
  EXPECT_EQ(run(kPython + std::string("gpx ") + gpxOut), expected);
}

}  // namespace
