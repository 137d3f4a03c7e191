// KML export: the exact text of a small document, and peers reading our export back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/DateTime.h"
#include "format_test_helpers.h"
#include "formats/KMLFile.h"
#include "formats/KMLWriter.h"
#include "model/GPX.h"

namespace {

std::unique_ptr<TGPXwpt> point(double lat, double lon, double ele = 0) {
  auto p = std::make_unique<TGPXwpt>();
  p->Lat = lat;
  p->Lon = lon;
  p->Ele = ele;
  return p;
}

// Metadata, two waypoints, a coloured route, a track of two segments with an opacity only,
// and a track without segments (left out).
void buildSample(TGPX& gpx) {
  gpx.Metadata.Present = true;
  gpx.Metadata.name = "Trip <1> & more";
  gpx.Metadata.desc = "Alps";
  gpx.Metadata.author.Present = true;
  gpx.Metadata.author.name = "Ann";
  gpx.Metadata.link.Present = true;
  gpx.Metadata.link.href = "http://example.org/?a=1&b=2";

  auto w = point(46.5, 7.25, 1520.5);
  w->Time = encodeDateTime(2008, 12, 17, 7, 30, 5) + 0.9 / 86400;
  w->edit().name = "Hut";
  w->edit().desc = "Food & beds";
  w->edit().link.Present = true;
  w->edit().link.href = "http://hut.example/";
  gpx.Waypoints.AddPoint(std::move(w));
  gpx.Waypoints.AddPoint(point(0.00005, 0));

  auto r = std::make_unique<TGPXrte>();
  r->name = "Way up";
  r->Style.SetColorHex("ff8000");
  r->AddPoint(point(46.5, 7.25, 1520.5));
  r->AddPoint(point(46.625, 7.5));
  gpx.Routes.Add(std::move(r));

  auto t = std::make_unique<TGPXtrk>();
  t->name = "Walk";
  t->desc = "Day 1";
  t->Style.Opacity = 0.5;
  for (int s = 0; s < 2; ++s) {
    auto seg = std::make_unique<TGPXtrkseg>();
    seg->AddPoint(point(46 + s, 7, 100));
    seg->AddPoint(point(46.5 + s, 7.5));
    t->Add(std::move(seg));
  }
  gpx.Tracks.Add(std::move(t));
  gpx.Tracks.Add(std::make_unique<TGPXtrk>());
}

TEST(KMLExport, MatchesTheGoldenFile) {
  TGPX gpx;
  buildSample(gpx);
  const std::string text = TKMLWriter(false, true).WriteDocument(gpx);
  EXPECT_EQ(text, readWholeFile(CORVANTEL_TEST_DATA "/kml_export_golden.kml"));
}

// Coordinates take the general number form: exponents below 0.0001 and from 1E15 on.
TEST(KMLExport, CoordinatesUseTheGeneralNumberForm) {
  EXPECT_EQ(TKMLWriter::PointCoordinates(*point(0.00005, -0.00001)), "-1E-5,5E-5");
  EXPECT_EQ(TKMLWriter::PointCoordinates(*point(0.0001, 0, 1.5e15)), "0,0.0001,1.5E15");
  EXPECT_EQ(TKMLWriter::PointCoordinates(*point(-45.123456789012345, 6, 0)),
            "6,-45.1234567890123");
}

// The save replaces the file as a whole with the same text, with the file object's options.
TEST(KMLExport, SaveToFileWritesTheDocumentText) {
  TGPX gpx;
  buildSample(gpx);
  const std::string name = testing::TempDir() + "/corvantel_saved.kml";
  std::ofstream(name) << "old content that is longer than nothing";
  TKMLFile f;
  f.GPX = &gpx;
  f.Options.GPXStyle = true;
  f.SaveToFile(name);
  EXPECT_EQ(readWholeFile(name), readWholeFile(CORVANTEL_TEST_DATA "/kml_export_golden.kml"));
  EXPECT_TRUE(gpx.Metadata.bounds.Present);  // bounds are brought up to date on the way

  TKMLFile bad;
  bad.GPX = &gpx;
  EXPECT_ANY_THROW(bad.SaveToFile(testing::TempDir() + "/no/such/folder/x.kml"));
}

}  // namespace
