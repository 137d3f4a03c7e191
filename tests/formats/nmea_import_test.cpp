// NMEA log import: logs gpsbabel writes from a track, and hand-made logs for the counters,
// the dating of fixes and the present flags.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/Translate.h"
#include "format_test_helpers.h"
#include "formats/NGTFile.h"
#include "formats/NMEAFile.h"
#include "model/GPX.h"

namespace {

struct Imported {
  std::vector<std::string> log;
  std::vector<const TGPXwpt*> points;
};

// Imports lines into `gpx` with the clock in 2024.
Imported importLines(TGPX& gpx, const std::vector<std::string>& lines) {
  TNMEAFile f;
  f.GPX = &gpx;
  f.Clock = [] { return encodeDateTime(2024, 5, 1); };
  f.ImportLines(lines);
  Imported out{f.Messages, {}};
  const TGPXtrkseg* seg = gpx.Tracks.Last()->GetSegment(0);
  for (int i = 0; i < seg->Count(); ++i) out.points.push_back(seg->GetPoint(i));
  return out;
}

std::vector<std::string> tail(const std::vector<std::string>& log, size_t n) {
  return {log.end() - static_cast<long>(n), log.end()};
}

TEST(NMEAImport, ReadsWhatGpsbabelWritesFromATrack) {
  if (std::system("test -x /usr/bin/gpsbabel") != 0) GTEST_SKIP() << "no gpsbabel";
  struct Fix {
    double lat, lon, ele;
    const char* time;
    double when;
  } fixes[] = {
      {48.1173, 11.5166, 545.4, "2008-12-17T07:30:00Z", encodeDateTime(2008, 12, 17, 7, 30, 0)},
      {-33.5, -70.25, 10, "2008-12-17T07:30:05Z", encodeDateTime(2008, 12, 17, 7, 30, 5)},
      {0.00005, -0.99995, 0, "2008-12-17T23:59:59Z", encodeDateTime(2008, 12, 17, 23, 59, 59)},
      {48.3, 179.9, 0, "2008-12-18T00:00:01Z", encodeDateTime(2008, 12, 18, 0, 0, 1)},
  };
  const std::string dir = testing::TempDir();
  const std::string gpxName = dir + "/corvantel_nmea_src.gpx", nmeaName = dir + "/corvantel.nmea";
  {
    std::ofstream gpx(gpxName);
    gpx << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n";
    for (const Fix& f : fixes)
      gpx << "<trkpt lat=\"" << f.lat << "\" lon=\"" << f.lon << "\"><ele>" << f.ele
          << "</ele><time>" << f.time << "</time></trkpt>\n";
    gpx << "</trkseg></trk></gpx>\n";
  }
  ASSERT_EQ(std::system(("gpsbabel -i gpx -f " + gpxName + " -o nmea -F " + nmeaName).c_str()), 0);

  TGPX gpx;
  TNMEAFile f;
  f.GPX = &gpx;
  f.Clock = [] { return encodeDateTime(2024, 5, 1); };
  f.Import(nmeaName);
  ASSERT_EQ(gpx.Tracks.Count(), 1);
  EXPECT_TRUE(gpx.Tracks.Present);
  EXPECT_EQ(gpx.Tracks.GetTrack(0)->src, "NMEA Log");
  const TGPXtrkseg* seg = gpx.Tracks.GetTrack(0)->GetSegment(0);
  ASSERT_EQ(seg->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    const TGPXwpt* p = seg->GetPoint(i);
    EXPECT_NEAR(p->Lat, fixes[i].lat, 1e-4) << i;
    EXPECT_NEAR(p->Lon, fixes[i].lon, 1e-4) << i;
    EXPECT_NEAR(p->Ele, fixes[i].ele, 1e-3) << i;
    EXPECT_NEAR(p->Time, fixes[i].when, 0.5 / 86400) << i;
  }
  EXPECT_EQ(f.Messages.front(), "Import " + nmeaName);
  EXPECT_EQ(tail(f.Messages, 5),
            (std::vector<std::string>{"8 lines", "0 CRC errors", "4 GGA lines", "4 RMC lines",
                                      "4 points imported"}));
  EXPECT_EQ(f.Messages.size(), 1 + 4 + 5u);  // every RMC sentence is logged
}

const std::string kRMC1 = nmeaSentence("GPRMC,073000,A,4807.038,N,01131.000,E,0,0,171208,2.5,E");
const std::string kGGA1 = nmeaSentence("GPGGA,072959,4808.000,N,01132.000,E,1,07,1.1,545.4,M,46.9,M,,");
const std::string kGGA2 = nmeaSentence("GPGGA,073001,4809.000,N,01133.000,E,2,08,0.8,546,M,46.9,M,,");

TEST(NMEAImport, HandMadeLogs) {
  const struct {
    const char* what;
    std::vector<std::string> lines;
    size_t points;
    std::vector<std::string> counts;
  } cases[] = {
      {"GGA before the first RMC waits for its date",
       {kGGA1, kRMC1, kGGA2},
       2,
       {"3 lines", "0 CRC errors", "2 GGA lines", "1 RMC lines", "2 points imported"}},
      {"RMC alone gives no point", {kRMC1, kRMC1}, 0,
       {"2 lines", "0 CRC errors", "0 GGA lines", "2 RMC lines", "0 points imported"}},
      {"one CRC error", {kRMC1.substr(0, kRMC1.size() - 1) + "0", kGGA2}, 0,
       {"2 lines", "1 CRC error", "1 GGA lines", "0 RMC lines", "0 points imported"}},
      {"two CRC errors", {"$GPGGA,x*00", "junk", kRMC1, kGGA2}, 1,
       {"4 lines", "2 CRC errors", "1 GGA lines", "1 RMC lines", "1 points imported"}},
      {"a void RMC dates nothing",
       {kGGA1, nmeaSentence("GPRMC,073000,V,,,,,,,,,"), kGGA2}, 0,
       {"3 lines", "0 CRC errors", "2 GGA lines", "1 RMC lines", "0 points imported"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TGPX gpx;
    const Imported r = importLines(gpx, c.lines);
    EXPECT_EQ(r.points.size(), c.points);
    EXPECT_EQ(tail(r.log, 5), c.counts);
  }

  TGPX gpx;
  const Imported r = importLines(gpx, {kGGA1, kRMC1, kGGA2});
  // The first point: the RMC's time and position, the GGA's fix, satellites and altitude.
  const TGPXwpt& first = *r.points[0];
  EXPECT_DOUBLE_EQ(first.Time, encodeDateTime(2008, 12, 17, 7, 30, 0));
  EXPECT_NEAR(first.Lat, 48.1173, 1e-9);
  EXPECT_EQ(first.data().fix, "3d");
  EXPECT_EQ(first.data().sat, 7);
  EXPECT_DOUBLE_EQ(first.Ele, 545.4);
  EXPECT_DOUBLE_EQ(first.data().magvar, 2.5);
  const TGPXwpt& second = *r.points[1];
  EXPECT_DOUBLE_EQ(second.Time, encodeDateTime(2008, 12, 17, 7, 30, 1));
  EXPECT_NEAR(second.Lat, 48.15, 1e-9);
  EXPECT_EQ(second.data().fix, "dgps");
  EXPECT_EQ(r.log[0], kRMC1);  // each RMC sentence as read
}

// Every satellite system's talker, blanks around the time, and a two-digit year that would
// lie more than a day ahead of the clock (2026-12-07 12:00) taken from the century before.
TEST(NMEAImport, TalkersPaddedTimesAndTwoDigitYears) {
  const struct {
    const char *rmc, *gga, *time, *date;
    int year;  // 0: no point
  } cases[] = {
      {"GN", "GN", "073000", "171208", 2008},   {"GL", "GA", "073000", "171208", 2008},
      {"GB", "BD", " 073000 ", "171208", 2008}, {"XX", "XX", "073000", "171208", 0},
      {"GP", "GP", "073000", "170398", 1998},   {"GP", "GP", "115959", "081226", 2026},
      {"GP", "GP", "120001", "081226", 1926},
  };
  for (const auto& c : cases) {
    TGPX gpx;
    TNMEAFile f;
    f.GPX = &gpx;
    f.Clock = [] { return encodeDateTime(2026, 12, 7, 12, 0, 0); };
    const std::string rmc = std::string(c.rmc) + "RMC," + c.time + ",A,4807.038,N,01131.000,E,0,0,";
    const std::string gga = std::string(c.gga) + "GGA," + c.time + ",4809.000,N,01133.000,E,1,08,0.8,546,M,,M,,";
    f.ImportLines({nmeaSentence(rmc + c.date + ",,"), nmeaSentence(gga)});
    const TGPXtrkseg* seg = gpx.Tracks.GetTrack(0)->GetSegment(0);
    ASSERT_EQ(seg->Count(), c.year ? 1 : 0) << c.rmc << c.gga;
    if (c.year) {
      EXPECT_EQ(decodeDateTime(seg->GetPoint(0)->Time).year, c.year) << c.date << c.time;
    }
  }
}

std::string hhmmss(int seconds) {
  seconds %= 86400;
  char t[16];
  std::snprintf(t, sizeof t, "%02d%02d%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return t;
}
std::string rmcAt(int seconds, const char* date) {
  return nmeaSentence("GPRMC," + hhmmss(seconds) + ",A,4807.038,N,01131.000,E,0,0," + date + ",,");
}
std::string ggaAt(int seconds) {
  return nmeaSentence("GPGGA," + hhmmss(seconds) + ",4807.038,N,01131.000,E,1,07,1.1,0,M,,M,,");
}

// Fixes without an RMC of their own keep the log running forward: across each midnight, for
// GGA-only stretches of any length, with the RMC before or after its GGA, and through a clock
// that steps back (15 minutes at most), through pauses under a day, and never from a time
// refused as out of the years. A GGA followed by its own RMC takes that RMC's date, whatever
// came before. Each case lists the fixes' seconds after its day, 17 Dec 2008 unless given.
TEST(NMEAImport, DatesAcrossMidnightAndByTheClocksCentury) {
  const int refused = -1;
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::vector<int> expected;
    double day = encodeDateTime(2008, 12, 17);
  };
  std::vector<Case> cases;
  const int h = 3600;
  for (int hours : {16, 30}) {
    const int from = hours == 16 ? 8 * h : 20 * h;
    Case c{hours == 16 ? "one RMC at 08:00, then GGA until 23:50" : "one RMC at 20:00, then 30 h of GGA",
           {rmcAt(from, "171208")}, {}};
    for (int t = from; t < from + hours * h; t += 600) {
      c.lines.push_back(ggaAt(t));
      c.expected.push_back(t);
    }
    cases.push_back(c);
  }
  Case rmcFirst{"an RMC every second, before its GGA", {}, {}}, ggaFirst{"... after its GGA", {}, {}};
  for (int t = 24 * h - 2; t <= 24 * h + 1; ++t) {
    const char* date = t < 24 * h ? "171208" : "181208";
    rmcFirst.lines.insert(rmcFirst.lines.end(), {rmcAt(t, date), ggaAt(t)});
    ggaFirst.lines.insert(ggaFirst.lines.end(), {ggaAt(t), rmcAt(t, date)});
    rmcFirst.expected.push_back(t);
    ggaFirst.expected.push_back(t);  // the first GGA waits for the RMC's date
  }
  cases.push_back(rmcFirst);
  cases.push_back(ggaFirst);
  cases.push_back({"a one-second step back",
                   {rmcAt(12 * h, "171208"), ggaAt(12 * h + 1), ggaAt(12 * h), ggaAt(12 * h + 2)},
                   {12 * h + 1, 12 * h, 12 * h + 2}});
  const int m = 24 * h, j = 22 * h + 1800;  // midnight; fixes resuming 13.5 h after 09:00
  cases.push_back({"a five-minute step back across midnight",
                   {rmcAt(m + 120, "181208"), ggaAt(m + 120), ggaAt(m - 180), ggaAt(m + 180)},
                   {m + 120, m - 180, m + 180}});
  cases.push_back({"13.5 h later", {rmcAt(9 * h, "171208"), ggaAt(9 * h), ggaAt(j), ggaAt(j + h), ggaAt(j + 2 * h)},
                   {9 * h, j, j + h, j + 2 * h}});
  Case paired{"off 19:00 to 08:00, GGA before its RMC", {}, {}};
  Case alone{"... GGA only after one RMC", {rmcAt(17 * h, "171208")}, {}};
  for (int t = 17 * h; t <= 33 * h; t += t == 19 * h ? 13 * h : 60) {
    paired.lines.insert(paired.lines.end(), {ggaAt(t), rmcAt(t, t < m ? "171208" : "181208")});
    alone.lines.push_back(ggaAt(t));
    paired.expected.push_back(t);
    alone.expected.push_back(t);
  }
  cases.push_back(paired);
  cases.push_back(alone);
  cases.push_back({"exactly 15 minutes back", {rmcAt(35195, "010300"), ggaAt(34295), ggaAt(34296)},
                   {34295, 34296}, encodeDateTime(2000, 3, 1)});
  const auto pairs = [](std::vector<std::string> lines, int from, int to, const char* date) {
    for (int t = from; t <= to; ++t) lines.insert(lines.end(), {ggaAt(t), rmcAt(t, date)});
    return lines;
  };
  const std::vector<std::string> at10 = pairs({}, 10 * h, 10 * h + 2, "100619");
  const int k = 9 * h + 50 * 60 + 3, t10[] = {10 * h, 10 * h + 1, 10 * h + 2};
  cases.push_back({"GGA first, off 23 h 50 min", pairs(at10, k, k + 1, "110619"),
                   {t10[0], t10[1], t10[2], m + k, m + k + 1}, encodeDateTime(2019, 6, 10)});
  cases.push_back({"GGA first, clock an hour back", pairs(at10, k - 3000, k - 2999, "100619"),
                   {t10[0], t10[1], t10[2], k - 3000, k - 2999}, encodeDateTime(2019, 6, 10)});
  Case badRMC{"... its RMC's checksum wrong", pairs(at10, k, k + 1, "110619"),
              {t10[0], t10[1], t10[2], k, m + k + 1}, encodeDateTime(2019, 6, 10)};
  badRMC.lines[7].back() = badRMC.lines[7].back() == '0' ? '1' : '0';
  cases.push_back(badRMC);
  cases.push_back({"past 9999", {rmcAt(85800, "31129999"), ggaAt(85800), ggaAt(300), ggaAt(86100)},
                   {85800, refused, 86100}, encodeDateTime(9999, 12, 31)});
  cases.push_back({"before year 1", {rmcAt(300, "01010001"), ggaAt(300), ggaAt(86100), ggaAt(360)},
                   {300, refused, 360}, encodeDateTime(1, 1, 1)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TGPX gpx;
    const Imported r = importLines(gpx, c.lines);
    ASSERT_EQ(r.points.size(), c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i) {
      const double t = dayCountToDateTime(dateTimeToDayCount(c.day) + c.expected[i] / 86400.0);
      ASSERT_NEAR(r.points[i]->Time, c.expected[i] == refused ? 0 : t, 1e-8) << i;
    }
  }

  TGPX old;
  TNMEAFile f;
  f.GPX = &old;
  f.Clock = [] { return encodeDateTime(1999, 12, 31); };
  f.ImportLines({kRMC1, kGGA2});
  EXPECT_DOUBLE_EQ(old.Tracks.GetTrack(0)->GetSegment(0)->GetPoint(0)->Time,
                   encodeDateTime(1908, 12, 17, 7, 30, 1));
}

// The count of CRC errors takes the catalogue's plural forms (French: 0 and 1 are singular).
TEST(NMEAImport, CRCErrorCountUsesTheCataloguesPluralForms) {
  if (std::system("command -v msgfmt >/dev/null 2>&1") != 0) GTEST_SKIP() << "msgfmt not installed";
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("corvantel-nmea-mo-" + std::to_string(::getpid()));
  fs::create_directories(dir / "fr" / "LC_MESSAGES");
  {
    std::ofstream po(dir / "fr.po");
    po << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
          "\"Plural-Forms: nplurals=2; plural=(n > 1);\\n\"\n\n"
          "msgid \"CRC error\"\nmsgid_plural \"CRC errors\"\n"
          "msgstr[0] \"erreur CRC\"\nmsgstr[1] \"erreurs CRC\"\n";
  }
  const std::string cmd = "msgfmt -o '" + (dir / "fr" / "LC_MESSAGES" / "corvantel.mo").string() +
                          "' '" + (dir / "fr.po").string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
  ::setenv("LANGUAGE", "fr", 1);
  bindTranslations(dir.string());

  TGPX none, one, two;
  const std::string noneLog = importLines(none, {}).log.at(1);
  const std::string oneLog = importLines(one, {"$GPGGA,x*00"}).log.at(1);
  const std::string twoLog = importLines(two, {"$GPGGA,x*00", "junk"}).log.at(1);

  ::unsetenv("LANGUAGE");
  std::setlocale(LC_ALL, savedLocale.c_str());
  bindTranslations("/nonexistent");
  fs::remove_all(dir);
  EXPECT_EQ(noneLog, "0 erreur CRC");
  EXPECT_EQ(oneLog, "1 erreur CRC");
  EXPECT_EQ(twoLog, "2 erreurs CRC");
}

TEST(NMEAImport, AnEmptyImportKeepsTheTrackListPresent) {
  for (bool before : {false, true}) {
    TGPX gpx;
    gpx.Tracks.Present = before;
    importLines(gpx, {kRMC1});
    EXPECT_EQ(gpx.Tracks.Count(), 1);  // the new track stays, empty
    EXPECT_EQ(gpx.Tracks.Present, before);
    EXPECT_FALSE(gpx.Tracks.GetTrack(0)->GetSegment(0)->Present);
  }
}

// A folder opens but cannot be read: the line importers must fail, not import nothing.
TEST(NMEAImport, AFolderIsAReadErrorForBothLineImporters) {
  TGPX gpx;
  TNMEAFile nmea;
  TNGTFile ngt;
  nmea.GPX = ngt.GPX = &gpx;
  EXPECT_THROW(nmea.Import(testing::TempDir()), std::runtime_error);
  EXPECT_THROW(ngt.Import(testing::TempDir()), std::runtime_error);
}

}  // namespace
