// Picture file stamps and the snapshot's calibration files, byte for byte against files
// written by hand for a western and a southern box.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/DateTime.h"
#include "views/PictureFiles.h"

namespace {

std::string readData(const std::string& name) {
  std::ifstream in(std::string(CORVANTEL_TEST_DATA) + "/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TBBox box(double west, double east, double north, double south) {
  TBBox b;
  b.MinLon = west;
  b.MaxLon = east;
  b.MaxLat = north;
  b.MinLat = south;
  b.Valid = true;
  return b;
}

}  // namespace

TEST(PictureFiles, FileStampCutsTheSeconds) {
  struct Case { double t; const char* stamp; };
  const Case cases[] = {{encodeDateTime(2009, 12, 31, 23, 59, 59, 999), "20091231_235959"},
                        {encodeDateTime(2024, 3, 7, 4, 3, 9), "20240307_040309"},
                        {encodeDateTime(987, 1, 2), "09870102_000000"}};
  for (const Case& k : cases) EXPECT_EQ(DateTimeToFileStamp(k.t), k.stamp);
}

TEST(PictureFiles, CalibrationFilesOfAWesternAndASouthernBox) {
  struct Case { const char* name; TBBox box; int w, h; };
  const Case cases[] = {{"GoogleMap-20240317_140359", box(-3.5, -2.25, 48.75, 48.125), 800, 600},
                        {"GoogleMap-20091231_235959", box(151.25, 151.5, -33.5, -33.875), 1022, 767}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(SatFileText(k.box, k.w, k.h), readData(std::string(k.name) + ".sat"));
    EXPECT_EQ(MapFileText(k.name, k.box, k.w, k.h), readData(std::string(k.name) + ".map"));
  }
}
