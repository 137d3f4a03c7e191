// KML import: hand-made documents and the files gpsbabel writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/DateTime.h"
#include "formats/KMLFile.h"
#include "model/GPX.h"

namespace {

std::string kml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\">" + body + "</kml>\n";
}

// Imports text into a fresh document held by the fixture.
struct KMLImport : testing::Test {
  TGPX gpx;
  std::vector<std::string> log;
  void importText(const std::string& text) {
    TKMLFile f;
    f.GPX = &gpx;
    f.ImportString(text);
    log = f.Messages;
  }
};

TEST_F(KMLImport, PointPlacemarksBecomeWaypoints) {
  importText(kml(
      "<Document><name>Doc</name><Folder><name>F</name>"
      "<Placemark><name>Google</name><Snippet>first&lt;BR/&gt;second</Snippet>"
      "<TimeStamp><when>2008-12-17T07:30:05Z</when></TimeStamp>"
      "<Point><coordinates> -122.08,37.42 </coordinates></Point></Placemark>"
      "<Placemark><name>High</name><Snippet><![CDATA[a<br/>b &amp; c]]></Snippet>"
      "<Point><coordinates>\n\t7.5,46.25,1520.5\n</coordinates></Point></Placemark>"
      "<Placemark><name>NoComma</name><Point><coordinates>7.5</coordinates></Point></Placemark>"
      "<Placemark><name>Bad</name><Point><coordinates>x,y,z</coordinates></Point></Placemark>"
      "<Placemark><name>Poly</name><Polygon/></Placemark>"
      "</Folder></Document>"));
  // Coordinates that are no numbers put no point at 0: it is left out, and the log says so.
  EXPECT_EQ(log, std::vector<std::string>{"1 points left out: latitude or longitude is missing or no number"});
  ASSERT_EQ(gpx.Waypoints.Count(), 2);
  EXPECT_TRUE(gpx.Waypoints.Present);
  const TGPXwpt& a = *gpx.Waypoints.GetPoint(0);
  EXPECT_DOUBLE_EQ(a.Lon, -122.08);
  EXPECT_DOUBLE_EQ(a.Lat, 37.42);
  EXPECT_DOUBLE_EQ(a.Ele, 0);
  EXPECT_EQ(a.data().name, "Google");
  EXPECT_EQ(a.data().desc, "first\r\nsecond");
  EXPECT_DOUBLE_EQ(a.Time, encodeDateTime(2008, 12, 17, 7, 30, 5));
  const TGPXwpt& b = *gpx.Waypoints.GetPoint(1);
  EXPECT_DOUBLE_EQ(b.Ele, 1520.5);
  EXPECT_EQ(b.data().desc, "a\r\nb &amp; c");  // CDATA is taken as it stands
  EXPECT_EQ(b.Time, 0);
  EXPECT_EQ(gpx.Tracks.Count(), 0);
}

TEST_F(KMLImport, TheSnippetElseTheDescriptionDescribesAWaypoint) {
  const std::pair<const char*, const char*> cases[] = {
      {"<Snippet>short</Snippet><description>long</description>", "short"},
      {"<Snippet/><description>long&lt;br/&gt;more</description>", "long\r\nmore"},
  };
  for (const auto& [elements, desc] : cases) {
    gpx.Waypoints.FreeAll();
    importText(kml(std::string("<Folder><Placemark>") + elements + "<Point><coordinates>7,46</coordinates></Point></Placemark></Folder>"));
    EXPECT_EQ(gpx.Waypoints.GetPoint(0)->data().desc, desc) << elements;
  }
  // Our own export (the golden file) read back: waypoint descriptions and track names return.
  gpx.Waypoints.FreeAll();
  TKMLFile f;
  f.GPX = &gpx;
  f.Import(CORVANTEL_TEST_DATA "/kml_export_golden.kml");
  EXPECT_EQ(gpx.Waypoints.GetPoint(0)->data().desc, "Food & beds");
  EXPECT_EQ(gpx.Tracks.GetTrack(2)->name, "Walk");
}

TEST_F(KMLImport, LineStringsBecomeTracksNamedAfterTheirFolder) {
  importText(kml(
      "<Document><Folder><name>Walk</name>"
      "<Placemark><name>ignored</name><LineString><coordinates>1,2,3\n\t 4,5  6,7,8\r\n"
      "</coordinates></LineString></Placemark>"
      "<Placemark><LineString><tessellate>1</tessellate><coordinates>9,10 11,12"
      "</coordinates></LineString></Placemark>"
      "<Placemark><LineString><coordinates>13,14</coordinates></LineString></Placemark>"
      "<Placemark><LineString><coordinates> </coordinates></LineString></Placemark>"
      "</Folder></Document>"));
  ASSERT_EQ(gpx.Tracks.Count(), 2);
  EXPECT_TRUE(gpx.Tracks.Present);
  const TGPXtrk& t = *gpx.Tracks.GetTrack(0);
  EXPECT_EQ(t.name, "Walk");
  ASSERT_EQ(t.Count(), 1);
  const TGPXtrkseg& s = *t.GetSegment(0);
  EXPECT_TRUE(s.Present);
  ASSERT_EQ(s.Count(), 3);
  EXPECT_DOUBLE_EQ(s.GetPoint(0)->Lon, 1);
  EXPECT_DOUBLE_EQ(s.GetPoint(0)->Ele, 3);
  EXPECT_DOUBLE_EQ(s.GetPoint(1)->Lat, 5);
  EXPECT_DOUBLE_EQ(s.GetPoint(1)->Ele, 0);
  EXPECT_DOUBLE_EQ(s.GetPoint(2)->Ele, 8);
  EXPECT_EQ(gpx.Tracks.GetTrack(1)->name, "Walk");
  // One tuple: a waypoint named after the folder; no tuple: nothing.
  ASSERT_EQ(gpx.Waypoints.Count(), 1);
  EXPECT_EQ(gpx.Waypoints.GetPoint(0)->data().name, "Walk");
  EXPECT_DOUBLE_EQ(gpx.Waypoints.GetPoint(0)->Lat, 14);
}

// A track of several segments comes as a multi-geometry of line strings, as gpsbabel writes it.
TEST_F(KMLImport, AMultiGeometryOfLineStringsIsOneTrack) {
  importText(kml("<Folder><name>T2</name><Placemark><MultiGeometry>"
                 "<LineString><coordinates>2,1 2,1.5</coordinates></LineString><Point/>"
                 "<LineString><coordinates>4,3 4,3.5 4,3.7</coordinates></LineString>"
                 "</MultiGeometry></Placemark></Folder>"));
  ASSERT_EQ(gpx.Tracks.Count(), 1);
  const TGPXtrk& t = *gpx.Tracks.GetTrack(0);
  ASSERT_EQ(t.Count(), 2);
  EXPECT_EQ(t.name + " " + std::to_string(t.GetSegment(1)->Count()), "T2 3");
}

// A remainder shorter than three characters ends the tuples; earlier short tuples still count.
TEST_F(KMLImport, AShortLastTupleGivesNoPoint) {
  importText(kml(
      "<Folder><name>F</name>"
      "<Placemark><LineString><coordinates>1,2 ,7 3,4 5,\n</coordinates></LineString></Placemark>"
      "<Placemark><LineString><coordinates>1,2 ,6</coordinates></LineString></Placemark>"
      "</Folder>"));
  ASSERT_EQ(gpx.Tracks.Count(), 1);
  const TGPXtrkseg& s = *gpx.Tracks.GetTrack(0)->GetSegment(0);
  ASSERT_EQ(s.Count(), 2);  // ",7" has no longitude: left out
  EXPECT_DOUBLE_EQ(s.GetPoint(1)->Lon, 3);
  ASSERT_EQ(gpx.Waypoints.Count(), 1);  // "1,2" alone: a waypoint named after the folder
  EXPECT_DOUBLE_EQ(gpx.Waypoints.GetPoint(0)->Lat, 2);
}

TEST_F(KMLImport, PlacemarksAnywhereBelowKmlCount) {
  for (const char* body :
       {"<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>",
        "<!-- note --><Document><Placemark><Point><coordinates>1,2</coordinates></Point>"
        "</Placemark></Document>",
        "\n  <Folder><Folder><Placemark><Point><coordinates>1,2</coordinates></Point>"
        "</Placemark></Folder></Folder>"}) {
    TGPX fresh;
    TKMLFile f;
    f.GPX = &fresh;
    f.ImportString(kml(body));
    EXPECT_EQ(fresh.Waypoints.Count(), 1) << body;
  }
  importText(kml(""));
  EXPECT_EQ(gpx.Waypoints.Count(), 0);
}

TEST_F(KMLImport, FailuresAreLoggedAndImportNothing) {
  importText("<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>");
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1], "File not loaded");
  importText("<kml><Placemark>");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find(")."), std::string::npos);
  EXPECT_EQ(gpx.Waypoints.Count(), 0);

  TKMLFile f;
  f.GPX = &gpx;
  f.Import(testing::TempDir() + "/corvantel_missing.kml");
  EXPECT_EQ(f.Messages.size(), 1u);
}

// gpsbabel writes each track as a folder holding a "Points" folder of point placemarks and
// a "Path" line string.
TEST_F(KMLImport, ReadsWhatGpsbabelWrites) {
  if (std::system("test -x /usr/bin/gpsbabel") != 0) GTEST_SKIP() << "no gpsbabel";
  const std::string dir = testing::TempDir();
  const std::string src = dir + "/corvantel_kml_src.gpx", out = dir + "/corvantel_babel.kml";
  std::ofstream(src) << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
                        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                        "<wpt lat=\"48.1173\" lon=\"11.5166\"><ele>545.4</ele><name>Home</name>"
                        "</wpt>\n<trk><name>T1</name><trkseg>\n"
                        "<trkpt lat=\"-33.5\" lon=\"-70.25\"><time>2008-12-17T07:30:00Z</time></trkpt>\n"
                        "<trkpt lat=\"-33.25\" lon=\"-70.5\"><ele>10</ele>"
                        "<time>2008-12-17T07:30:05Z</time></trkpt>\n"
                        "</trkseg></trk></gpx>\n";
  ASSERT_EQ(std::system(("gpsbabel -i gpx -f " + src + " -o kml -F " + out).c_str()), 0);
  TKMLFile f;
  f.GPX = &gpx;
  f.Import(out);
  EXPECT_TRUE(f.Messages.empty());
  ASSERT_EQ(gpx.Waypoints.Count(), 3);
  EXPECT_EQ(gpx.Waypoints.GetPoint(0)->data().name, "Home");
  EXPECT_NEAR(gpx.Waypoints.GetPoint(0)->Lat, 48.1173, 1e-6);
  EXPECT_NEAR(gpx.Waypoints.GetPoint(0)->Ele, 545.4, 1e-2);
  EXPECT_DOUBLE_EQ(gpx.Waypoints.GetPoint(2)->Time, encodeDateTime(2008, 12, 17, 7, 30, 5));
  ASSERT_EQ(gpx.Tracks.Count(), 1);
  EXPECT_EQ(gpx.Tracks.GetTrack(0)->name, "T1");
  const TGPXtrkseg& s = *gpx.Tracks.GetTrack(0)->GetSegment(0);
  ASSERT_EQ(s.Count(), 2);
  EXPECT_NEAR(s.GetPoint(1)->Lat, -33.25, 1e-6);
  EXPECT_NEAR(s.GetPoint(1)->Lon, -70.5, 1e-6);
  EXPECT_NEAR(s.GetPoint(1)->Ele, 10, 1e-6);
}

}  // namespace
