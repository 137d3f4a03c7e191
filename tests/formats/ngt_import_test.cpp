// NGT file import: point lines, segment breaks and the line count.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/NGTFile.h"
#include "model/GPX.h"

namespace {

std::string pointLine(double lon, double lat, int flag, double days) {
  return "GPSMap|Trace|Trc5|" + formatGeneral(lon / 180) + "|" + formatGeneral(lat / 180) +
         "|0|12.5|0|0|0|" + formatInt(flag) + "|0|" + formatGeneral(days) + "|0|0";
}

TEST(NGTImport, ReadsAShortFileIntoSegments) {
  const std::string name = testing::TempDir() + "/corvantel_track.ngt";
  {
    std::ofstream f(name, std::ios::binary);
    f << "NoniGpsPlot header\r\n"                      // not a point line
      << pointLine(9, 45, 2, 1.5) << "\r\n"             // break on the very first point
      << pointLine(9.5, 45, 0, 1.75) << "\r\n"
      << "GPSMap|Waypoint|x\r\n"
      << pointLine(10, 45, 0, 0) << "\r\n"
      << pointLine(10.5, 45.5, 2, 2) << "\r\n"          // a new segment begins here
      << pointLine(11, 45.5, 1, 2.25) << "\r\n"
      << "\r\n"
      << pointLine(11.5, 46, 0, 2.5) << "\r\n"
      << pointLine(12, 46, 0, 2.75);                    // no line end at the end
  }
  TGPX gpx;
  TNGTFile f;
  f.GPX = &gpx;
  f.Import(name);
  EXPECT_EQ(f.Messages, (std::vector<std::string>{"Import " + name, "10 lines"}));
  ASSERT_EQ(gpx.Tracks.Count(), 1);
  EXPECT_TRUE(gpx.Tracks.Present);
  const TGPXtrk& t = *gpx.Tracks.GetTrack(0);
  EXPECT_EQ(t.src, "NoniGpsPlot");
  EXPECT_EQ(t.name, "");
  ASSERT_EQ(t.Count(), 3);
  EXPECT_EQ(t.GetSegment(0)->Count(), 0);
  EXPECT_FALSE(t.GetSegment(0)->Present);
  EXPECT_EQ(t.GetSegment(1)->Count(), 3);
  EXPECT_EQ(t.GetSegment(2)->Count(), 4);
  EXPECT_TRUE(t.GetSegment(2)->Present);
  const TGPXwpt& first = *t.GetSegment(1)->GetPoint(0);
  EXPECT_NEAR(first.Lon, 9, 1e-5);
  EXPECT_NEAR(first.Lat, 45, 1e-5);
  EXPECT_DOUBLE_EQ(first.Ele, 12.5);
  EXPECT_DOUBLE_EQ(first.Time, encodeDateTime(2000, 9, 27, 12));
  EXPECT_EQ(first.data().sat, 255);
  EXPECT_EQ(t.GetSegment(1)->GetPoint(2)->Time, 0);
  EXPECT_NEAR(t.GetSegment(2)->GetPoint(0)->Lon, 10.5, 1e-5);
  EXPECT_THROW(f.Import(name + ".missing"), std::runtime_error);
}

}  // namespace
