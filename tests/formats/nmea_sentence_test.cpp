// NMEA sentences: checksum test and the GGA and RMC readers on hand-made sentences.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/DateTime.h"
#include "format_test_helpers.h"
#include "formats/NMEASentence.h"
#include "model/GPX.h"

namespace {

const double kNow = encodeDateTime(2026, 1, 1);

TEST(NMEACheckSum, AcceptsOnlyWellFormedSentencesWithTheRightSum) {
  const std::string good = nmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
  const struct {
    std::string text;
    bool valid;
  } cases[] = {
      {good, true},
      {"  " + good + "\r\n", true},
      {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", true},
      {good.substr(0, good.size() - 2) + "00", false},     // wrong sum
      {good.substr(0, good.size() - 2) + "ZZ", false},     // not hexadecimal
      {good.substr(0, good.size() - 2) + "-1", false},     // not hexadecimal either
      {good.substr(1), false},                             // no "$"
      {nmeaSentence("GPGG,1,2"), false},                       // four-letter name
      {good.substr(0, good.size() - 1), false},            // one checksum digit
      {nmeaSentence("GPGGA,$x"), false},                       // second "$"
      {"$*00", false},
      {"", false},
      {"$", false},
  };
  for (const auto& c : cases) EXPECT_EQ(nmeaCheckSum(c.text), c.valid) << c.text;
}

struct GGACase {
  const char* body;
  bool filled;
  double lat = 0, lon = 0, ele = 0;
  const char* fix = "";
  int sat = 0;
  double hdop = 0, geoid = 0, age = 0;
  int dgpsid = 0;
};

TEST(NMEAParseGGA, FillsThePointOrLeavesItUnfilled) {
  const GGACase cases[] = {
      {"GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", true, 48.1173,
       11.5166667, 545.4, "3d", 8, 0.9, 46.9, -1, -1},
      {"GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9,0,M,,M,,", true, -48.1173, -11.5166667, 0,
       "2d", 8, 0.9, 0, -1, -1},
      {"GPGGA,123519.00,4807.038,N,01131.000,E,2,,,,M,,M,3.2,0120", true, 48.1173, 11.5166667, 0,
       "dgps", 255, -1, 0, 3.2, 120},
      {"GPGGA,123519,4807.038,N,01131.000,E,6,04,1.5,12,M,,M,,", true, 48.1173, 11.5166667, 12, "",
       4, 1.5, 0, -1, -1},
      {"GPGGA,123519,4807.038,N,01131.000,E,0,00,,,M,,M,,", true, 48.1173, 11.5166667, 0, "none",
       0, -1, 0, -1, -1},
      {"GPGGA,123519,4807.038,N,01131.000,E,3,300,,,M,,M,,", true, 48.1173, 11.5166667, 0, "pps",
       255, -1, 0, -1, -1},
      {"GPGGA,,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", false},  // no time
      {"GPGGA,123519,,,,,0,00,,,M,,M,,", false},                          // no fix yet
      {"GPGGA,123519,4807.038,N,01131.000,,1,08,0.9,545.4,M,46.9,M,,", false},
  };
  for (const GGACase& c : cases) {
    TGPXwpt p;
    nmeaParseGGA(nmeaSentence(c.body), p);
    const TGPXwptData& d = p.data();
    SCOPED_TRACE(c.body);
    if (!c.filled) {
      EXPECT_EQ(d.sat, kNMEAUnfilled);
      continue;
    }
    EXPECT_DOUBLE_EQ(p.Time, encodeDateTime(1899, 12, 30, 12, 35, 19));
    EXPECT_NEAR(p.Lat, c.lat, 1e-6);
    EXPECT_NEAR(p.Lon, c.lon, 1e-6);
    EXPECT_DOUBLE_EQ(p.Ele, c.ele);
    EXPECT_EQ(d.fix, c.fix);
    EXPECT_EQ(d.sat, c.sat);
    EXPECT_DOUBLE_EQ(d.hdop, c.hdop);
    EXPECT_DOUBLE_EQ(d.geoidheight, c.geoid);
    EXPECT_DOUBLE_EQ(d.ageofdgpsdata, c.age);
    EXPECT_EQ(d.dgpsid, c.dgpsid);
  }
}

TEST(NMEAParseRMC, ReadsDateTimePositionAndVariationAndTellsWhetherItDated) {
  TGPXwpt p;
  p.edit().sat = kNMEAUnfilled;
  EXPECT_TRUE(nmeaParseRMC(
      nmeaSentence("GPRMC,073005.250,A,4807.038,N,01131.000,W,022.4,084.4,171208,003.1,W"), p, kNow));
  EXPECT_DOUBLE_EQ(p.Time, encodeDateTime(2008, 12, 17, 7, 30, 5));
  EXPECT_NEAR(p.Lat, 48.1173, 1e-9);
  EXPECT_NEAR(p.Lon, -11.5166667, 1e-6);
  EXPECT_DOUBLE_EQ(p.data().magvar, 3.1);
  EXPECT_EQ(p.data().sat, kNMEAUnfilled);  // RMC alone completes nothing

  const char* unusable[] = {
      "GPRMC,073005,V,,,,,,,,,",                                    // void, no position
      "GPRMC,073005,A,4807.038,N,01131.000,E,0,0,,,",                // no date
      "GPRMC,,A,4807.038,N,01131.000,E,0,0,171208,,",                // no time
  };
  for (const char* body : unusable) {
    TGPXwpt q;
    q.Time = 0.25;
    EXPECT_FALSE(nmeaParseRMC(nmeaSentence(body), q, kNow)) << body;
    EXPECT_EQ(q.data().sat, kNMEAUnfilled) << body;
    EXPECT_EQ(q.Time, 0.25) << body;
  }
}

}  // namespace
