// Files that once broke a reader or its save: each loads, saves into a file that loads
// again with the same items and from then on saves the same, and says in the log what it
// refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/DateTime.h"
#include "formats/GPXFile.h"
#include "formats/GPXText.h"
#include "formats/GPXWriter.h"
#include "formats/KMLFile.h"
#include "formats/NGTFile.h"
#include "formats/TextLines.h"
#include "format_test_helpers.h"

namespace {

const std::string kReaders = std::string(CORVANTEL_TEST_DATA) + "/readers/";

std::string join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

TEST(ReaderRefusals, SavedFilesReadBackAsThemselves) {
  struct Case {
    const char* file;
    const char* inSave;  // a piece of the first save, or of the log
  } cases[] = {
      {"entity-in-extensions.gpx", "<v xmlns=\"http://www.topografix.com/GPX/1/1\">x</v>"},
      {"external-entity-in-extensions.gpx", "<extensions><e xmlns=\"http://www.topografix.com/GPX/1/1\"/>"},
      {"ext-no-namespace.gpx", "<hr xmlns=\"\">120</hr>"},
      {"xml-space-preserve.gpx", "<desc>  two  blanks  </desc>"},
      {"ext-mixed-text-grows.gpx", "<extensions>\r\n[\r\n<x:e"},
      {"ext-undeclared-xsi-prefix.gpx", "q:bar=\"2\"><xsi:el>t</xsi:el><z xmlns:xsi=\"urn:other\" xsi:a=\"3\"/>"},
      {"numbers-silently-zero.gpx", "3 points left out: latitude or longitude is missing or no number\n"
                                    "1 points left out: latitude or longitude is out of range\n0 waypoints"},
      {"time-out-of-year-range.gpx", "2 times left out: unreadable or outside the years 1 to 9999"},
      {"time-quirks.gpx", "4 times left out"},
      {"ub-time-fraction-minute.gpx", "1 times left out"},
      {"ub-time-fraction-msec.gpx", "1 times left out"},
      // Nested deeper than libxml2 reads once saved: through entities, or moved into extensions.
      {"entity-depth-in-extensions.gpx", "1 extension elements left out: nested deeper than a saved file can hold"},
      {"foreign-depth-in-point.gpx", "<extensions><f:kept xmlns:f=\"urn:f\">1</f:kept></extensions>"},
      {"gpx10-foreign-depth.gpx", "1 extension elements left out"},
  };
  for (const Case& c : cases) {
    TGPX doc, again, third;
    TGPXFile in, back, last;
    in.GPX = &doc;
    in.LoadFromFile(kReaders + c.file);
    ASSERT_TRUE(in.Loaded) << c.file;
    const std::string first = TGPXWriter().WriteDocument(doc);
    back.GPX = &again;
    back.LoadFromString(first);
    ASSERT_TRUE(back.Loaded) << c.file << "\n" << join(back.Messages);
    auto counts = [](const std::vector<std::string>& log) { return join({log.end() - 3, log.end()}); };
    EXPECT_EQ(counts(back.Messages), counts(in.Messages)) << c.file;
    const std::string second = TGPXWriter().WriteDocument(again);
    last.GPX = &third;
    last.LoadFromString(second);
    EXPECT_EQ(TGPXWriter().WriteDocument(third), second) << c.file;
    EXPECT_NE((first + join(in.Messages)).find(c.inSave), std::string::npos) << c.file << "\n" << first;
  }
}

TEST(ReaderRefusals, NGTValuesNoFileCanHoldAreRefused) {
  TGPX doc;
  TNGTFile ngt;
  ngt.GPX = &doc;
  ngt.Import(kReaders + "ngt-out-of-range.ngt");
  const std::string log = join(ngt.Messages);
  EXPECT_NE(log.find("1 points left out: latitude or longitude is out of range"), std::string::npos) << log;
  EXPECT_NE(log.find("2 times left out"), std::string::npos) << log;
  const std::string saved = TGPXWriter().WriteDocument(doc);
  EXPECT_EQ(saved.find("INF"), std::string::npos);
  EXPECT_EQ(saved.find("<time>"), std::string::npos);
  EXPECT_EQ(doc.Tracks.GetTrack(0)->GetSegment(0)->Count(), 2);
}

// Every time the writer writes reads back as itself; one it cannot is not written.
TEST(ReaderRefusals, WrittenTimesReadBackAsThemselves) {
  const double times[] = {encodeDateTime(1, 1, 1), encodeDateTime(9999, 12, 31, 23, 59, 59),
                          encodeDateTime(1899, 12, 29, 6), encodeDateTime(2008, 12, 17, 7, 30, 5)};
  for (double t : times)
    EXPECT_DOUBLE_EQ(TGPXFile::ISO8601ToDateTime(DateTimeToGPXTime(t)), t) << DateTimeToGPXTime(t);
  for (double t : {encodeDateTime(1, 1, 1) - 1, encodeDateTime(9999, 12, 31) + 1, 1e300}) {
    std::string out;
    TGPXWriter().WriteTime(out, t, "time", 0);
    EXPECT_EQ(out, "") << t;
  }
}

// A KML file whose entity references would grow far past its own size is refused at once.
TEST(ReaderRefusals, KMLEntityExpansionIsRefused) {
  std::string refs;
  for (int i = 0; i < 900; ++i) refs += "&b;";
  TGPX doc;
  TKMLFile kml;
  kml.GPX = &doc;
  kml.ImportString("<!DOCTYPE kml [<!ENTITY b \"" + std::string(10000, 'x') + "\">]><kml><Document><Placemark id='" + refs +
                   "'><Point><coordinates>1,2</coordinates></Point></Placemark></Document></kml>");
  EXPECT_FALSE(kml.Loaded);
  EXPECT_EQ(kml.Messages, std::vector<std::string>{"Entity text more than ten times the file's size: nothing read"});
}

// A folder is no input: the error names it, whatever the reader.
TEST(ReaderRefusals, AFolderIsNoInput) {
  EXPECT_THROW(readTextLines(CORVANTEL_TEST_DATA), std::runtime_error);
  TGPX doc;
  TGPXFile gpx;
  gpx.GPX = &doc;
  gpx.LoadFromFile(CORVANTEL_TEST_DATA);
  EXPECT_FALSE(gpx.Loaded);
  ASSERT_EQ(gpx.Messages.size(), 1u);
  EXPECT_NE(gpx.Messages[0].find("Is a directory"), std::string::npos) << gpx.Messages[0];
}

}  // namespace
