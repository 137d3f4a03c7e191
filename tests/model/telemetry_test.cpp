// The statistics text the track dialog appends to a track's comment.
#include <gtest/gtest.h>

#include "edit_helpers.h"
#include "model/TrackTelemetry.h"

namespace {

const double kHour = 1.0 / 24, kT0 = 45000;

std::string telemetry(const std::string& comment, const std::vector<std::vector<Pt>>& segments) {
  TGPXtrk track;
  for (const auto& pts : segments) addSegment(track, pts);
  return AppendTrackTelemetry(comment, track);
}

TEST(Telemetry, TwoSegmentsByteForByte) {
  EXPECT_EQ(telemetry("Old", {{{0, 0, 100, kT0}, {0, 0.01, 220, kT0 + kHour}},
                              {{0, 0.01, 220, kT0 + 2 * kHour}, {0, 0.03, 139.5, kT0 + 2.5 * kHour}, {0, 0.05, 180}}}),
            "Old\r\nTrack #0 :\r\n1113.2 m in 1:00:00 (1.1km/h)\r\n120.0m of ascent and 0.0m of descent\r\n"
            "Minimum altitude 100.0m, maximum altitude 220.0m \r\nTrack #1 :\r\n"
            "4.5 km in 0:30:00 (8.9km/h)\r\n40.5m of ascent and 80.5m of descent\r\n"
            "Minimum altitude 139.5m, maximum altitude 220.0m \r\nTotal track :\r\n"
            "5.6 km in 1:30:00 (3.7km/h)\r\nMinimum altitude 100.0m, maximum altitude 220.0m");
}

TEST(Telemetry, EdgeCases) {
  const struct {
    const char* what;
    std::string comment;
    std::vector<std::vector<Pt>> segments;
    std::string text;
  } cases[] = {
      {"no segments: the comment is only trimmed", " c \r\n", {}, "c"},
      {"one segment without times or altitudes", "", {{{0, 0}, {0, 0.01}}}, "1113.2 m"},
      {"negative altitudes: ascent and descent, no altitude line",
       "x",
       {{{0, 0, -5}, {0, 0.01, -10}}},
       "x\r\n1113.2 m\r\n0.0m of ascent and 5.0m of descent"},
      {"segments without altitudes take no part in the track's extremes",
       "",
       {{{0, 0}, {0, 0.01}}, {{0, 0, -5}, {0, 0, -5}}},
       "Track #0 :\r\n1113.2 m\r\nTrack #1 :\r\n0.0 m\r\nTotal track :\r\n1113.2 m"},
  };
  for (const auto& c : cases) EXPECT_EQ(telemetry(c.comment, c.segments), c.text) << c.what;
}

}  // namespace
