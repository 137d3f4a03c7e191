// Semicolon-separated point text: columns, cleaning, blocks and the user's decimal separator.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "formats/GPXCSV.h"
#include "model/GPX.h"

namespace {

class CommaFormats : public LocaleFormats {
public:
  std::string decimalSeparator() const override { return ","; }
};

struct CommaLocale {
  CommaLocale() { setLocaleFormats(std::make_unique<CommaFormats>()); }
  ~CommaLocale() { setLocaleFormats(nullptr); }
};

std::unique_ptr<TGPXwpt> point(double lat, double lon) {
  auto p = std::make_unique<TGPXwpt>();
  p->Lat = lat;
  p->Lon = lon;
  return p;
}

const std::string kHeader =
    "Latitude;Longitude;ele;time;magvar;geoidheight;name;cmt;desc;src;link;sym;wtype;fix;sat;"
    "hdop;vdop;pdop;ageofdgpsdata;dgpsid;extensions";

TEST(CSVField, CleansAndQuotes) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Oak", "Oak"},
      {"Big;Tree", "\"Big Tree\""},
      {"line one\r\nline two", "\"line one line two\""},
      {"  a \t\t  b  ", "\"a b\""},
      {";;", ""},
      {"", ""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},  // a spreadsheet must read the quote back
      {"5\"", "\"5\"\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(CSVField(c.in), c.out) << c.in;
}

TEST(CSVExport, PointLinesUnderDotAndCommaSeparators) {
  TGPXwptList list;
  auto full = point(45.5, -3.25);
  full->Ele = 120.5;
  full->Time = encodeDateTime(2008, 12, 17, 7, 30, 5);
  TGPXwptData& d = full->edit();
  d.name = "Big;Tree";
  d.desc = "two\nlines";
  d.link.href = "http://x/?a=1&b=2";
  d.fix = "3d";
  d.sat = 7;
  d.hdop = 1.5;
  d.dgpsid = 12;
  list.AddPoint(std::move(full));
  list.AddPoint(point(0, 0));

  const std::string dotText = ExportCSVWPTList(&list, true);
  EXPECT_EQ(dotText, kHeader + "\r\n" +
                         "45.5;-3.25;120.5;\"2008-12-17 07:30:05\";;;\"Big Tree\";;\"two lines\";;"
                         "http://x/?a=1&b=2;;;3d;7;1.5;;;;12;\r\n"
                         "0;0;;;;;;;;;;;;;;;;;;;\r\n");
  {
    CommaLocale comma;
    const std::string commaText = ExportCSVWPTList(&list, false);
    EXPECT_EQ(commaText.substr(0, commaText.find("\"2008")), "45,5;-3,25;120,5;");
  }
  EXPECT_EQ(ExportCSVWPTList(nullptr, true), "");
  TGPXwptList empty;
  EXPECT_EQ(ExportCSVWPTList(&empty, true), kHeader + "\r\n");
}

TEST(CSVExport, RouteAndTrackBlocksEndWithAnEmptyLine) {
  TGPXrteList routes;
  EXPECT_EQ(ExportCSVRTEList(routes), "");
  for (int n : {2, 3}) {
    auto r = std::make_unique<TGPXrte>();
    for (int i = 0; i < n; ++i) r->AddPoint(point(i, n));
    routes.Add(std::move(r));
  }
  const std::string line = ";;;;;;;;;;;;;;;;;;;\r\n";
  EXPECT_EQ(ExportCSVRTEList(routes), kHeader + "\r\n" + "0;2" + line + "1;2" + line + "\r\n" +
                                          "0;3" + line + "1;3" + line + "2;3" + line + "\r\n");

  TGPXtrkList tracks;
  auto t = std::make_unique<TGPXtrk>();
  for (int n : {1, 2}) {
    auto s = std::make_unique<TGPXtrkseg>();
    for (int i = 0; i < n; ++i) s->AddPoint(point(i, n));
    t->Add(std::move(s));
  }
  tracks.Add(std::move(t));
  EXPECT_EQ(ExportCSVTRKList(tracks), kHeader + "\r\n" + "0;1" + line + "\r\n" + "0;2" + line +
                                          "1;2" + line + "\r\n");
}

// A spreadsheet's reader (Python's csv module with ';') sees 21 columns on every line and the
// cleaned texts back.
TEST(CSVExport, PythonCsvReadsTwentyOneColumns) {
  if (std::system("test -x /usr/bin/python3") != 0) GTEST_SKIP() << "no /usr/bin/python3";
  TGPXwptList list;
  auto p = point(45.5, 7);
  p->edit().name = "Big;Tree \"the\" oak";
  p->edit().cmt = "\"quoted\"";
  p->edit().extensions = "<x a=\"1\">\n</x>";
  list.AddPoint(std::move(p));
  list.AddPoint(point(1, 2));
  const std::string dir = testing::TempDir();
  const std::string csv = dir + "/corvantel_points.csv";
  std::ofstream(csv, std::ios::binary) << ExportCSVWPTList(&list, true);
  const std::string script = dir + "/corvantel_csv.py";
  std::ofstream(script) << "import csv, sys\n"
                           "rows = list(csv.reader(open(sys.argv[1], newline=''), delimiter=';'))\n"
                           "assert len(rows) == 3, rows\n"
                           "assert all(len(r) == 21 for r in rows), rows\n"
                           "assert rows[1][6] == 'Big Tree \"the\" oak', rows[1][6]\n"
                           "assert rows[1][7] == '\"quoted\"', rows[1][7]\n"
                           "assert rows[1][20] == '<x a=\"1\"> </x>', rows[1][20]\n";
  EXPECT_EQ(std::system(("/usr/bin/python3 " + script + " " + csv).c_str()), 0);
}

}  // namespace
