// Files written by other GPX programs (gpsbabel, python3-gpxpy) from a document of ours
// are read back with the same points and times.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "format_test_helpers.h"
#include "formats/GPXFile.h"
#include "model/GPX.h"

namespace {

const char* kSource = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="corvantel-test" xmlns="http://www.topografix.com/GPX/1/1">
  <metadata><name>Peers</name><time>2008-12-17T07:00:00Z</time></metadata>
  <wpt lat="46.123456789" lon="7.5"><ele>1500.5</ele><time>2008-12-17T07:30:00Z</time><name>Hut</name><sym>Flag</sym></wpt>
  <wpt lat="-33.9" lon="-70.25"><name>Caf&#233; &amp; bar</name></wpt>
  <rte><name>Way</name>
    <rtept lat="46.1" lon="7.1"><name>R1</name></rtept><rtept lat="46.2" lon="7.2"><name>R2</name></rtept>
    <rtept lat="46.3" lon="7.3"><name>R3</name></rtept>
  </rte>
  <trk><name>Ride</name>
    <trkseg>
      <trkpt lat="46.0001" lon="7.0001"><ele>500</ele><time>2008-12-17T08:00:00Z</time></trkpt>
      <trkpt lat="46.0002" lon="7.0002"><ele>501.25</ele><time>2008-12-17T08:00:01Z</time></trkpt>
    </trkseg>
    <trkseg>
      <trkpt lat="46.0003" lon="7.0003"><ele>502</ele><time>2008-12-17T08:00:05Z</time></trkpt>
    </trkseg>
  </trk>
</gpx>
)";

std::string tempPath(const std::string& name) { return testing::TempDir() + "/" + name; }

bool runs(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

double at(int hour, int minute, int second) { return 39799 + ((hour * 60.0 + minute) * 60 + second) / 86400.0; }

// Reads a peer's file and checks what every peer keeps of the source document.
void expectSameData(const std::string& path) {
  TGPX doc;
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(path);
  ASSERT_TRUE(file.Loaded) << (file.Messages.empty() ? "" : file.Messages[0]);
  ASSERT_EQ(file.Messages.size(), 3u);
  EXPECT_EQ(file.Messages[0], "2 waypoints");
  EXPECT_EQ(file.Messages[1], "1 routes (3 points)");
  EXPECT_EQ(file.Messages[2], "1 tracks (3 points in 2 track segments)");

  const TGPXwpt& hut = *doc.Waypoints.GetPoint(0);
  EXPECT_NEAR(hut.Lat, 46.123456789, 1e-9);
  EXPECT_DOUBLE_EQ(hut.Lon, 7.5);
  EXPECT_DOUBLE_EQ(hut.Ele, 1500.5);
  EXPECT_NEAR(hut.Time, at(7, 30, 0), 1e-8);
  EXPECT_EQ(hut.data().name, "Hut");
  EXPECT_EQ(doc.Waypoints.GetPoint(1)->data().name, "Caf\xC3\xA9 & bar");

  const TGPXrte& rte = *doc.Routes.GetRoute(0);
  EXPECT_EQ(rte.name, "Way");
  EXPECT_DOUBLE_EQ(rte.GetPoint(2)->Lon, 7.3);

  const TGPXtrk& trk = *doc.Tracks.GetTrack(0);
  EXPECT_EQ(trk.name, "Ride");
  ASSERT_EQ(trk.Count(), 2);
  const TGPXwpt& p = *trk.GetSegment(0)->GetPoint(1);
  EXPECT_DOUBLE_EQ(p.Lat, 46.0002);
  EXPECT_DOUBLE_EQ(p.Ele, 501.25);
  EXPECT_NEAR(p.Time, at(8, 0, 1), 1e-8);
  EXPECT_NEAR(trk.GetSegment(1)->GetPoint(0)->Time, at(8, 0, 5), 1e-8);
}

TEST(GPXPeerFiles, WrittenByGpsbabel) {
  if (!runs("command -v gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
  std::string in = tempPath("peer_source_babel.gpx"), out = tempPath("peer_gpsbabel.gpx");
  writeWholeFile(in, kSource);
  ASSERT_TRUE(runs("gpsbabel -i gpx -f '" + in + "' -o gpx -F '" + out + "'"));
  expectSameData(out);
}

TEST(GPXPeerFiles, WrittenByGpxpy) {
  if (!runs("/usr/bin/python3 -c 'import gpxpy'")) GTEST_SKIP() << "python3-gpxpy is not installed";
  std::string in = tempPath("peer_source_gpxpy.gpx"), out = tempPath("peer_gpxpy.gpx");
  std::string script = tempPath("peer_gpxpy.py");
  writeWholeFile(in, kSource);
  writeWholeFile(script,
            "import sys, gpxpy\n"
            "g = gpxpy.parse(open(sys.argv[1], encoding='utf-8'))\n"
            "open(sys.argv[2], 'w', encoding='utf-8').write(g.to_xml(version='1.1'))\n");
  ASSERT_TRUE(runs("/usr/bin/python3 '" + script + "' '" + in + "' '" + out + "'"));
  expectSameData(out);
}

}  // namespace
