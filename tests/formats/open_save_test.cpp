// Small hand-made files through open and save: what they state comes back (GPX 1.0 files
// included), copies keep it, and the saved file is valid GPX 1.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "formats/GPXFile.h"
#include "writer_fixture.h"

namespace {

const char* k11 = R"(<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1">)";
const char* k10 = R"(<gpx version="1.0" creator="t" xmlns="http://www.topografix.com/GPX/1/0" )"
                  R"(xmlns:gs="http://www.groundspeak.com/cache/1/0">)";
const char* k10Bare = R"(<gpx version="1.0">)";
const std::string kGPX10 = R"( xmlns="http://www.topografix.com/GPX/1/0">)";

struct Piece {
  std::string text;
  size_t count;  // times it occurs in the saved file
};

struct OpenSaveCase {
  const char* what;
  const char* head;
  const char* body;
  std::vector<Piece> pieces;
};

const OpenSaveCase kCases[] = {
    {"an elevation of 0 is data, on every way of reading a point", k11,
     R"(<wpt lat="1" lon="2"><ele>0</ele></wpt><wpt lat="1" lon="2"><ele>0</ele><link href="x"/></wpt>
        <trk><trkseg><trkpt lat="1" lon="3"><ele>0.000</ele></trkpt></trkseg></trk>)",
     {{"<ele>0</ele>", 3}}},
    {"no elevation, or none that is a number", k11,
     R"(<wpt lat="1" lon="2"/><wpt lat="1" lon="2"><ele>high</ele></wpt>
        <wpt lat="1" lon="2"><ele>0</ele><ele>x</ele></wpt>)",
     {{"<ele>", 0}}},
    {"a 5 Hz log keeps its fractions of a second", k11,
     R"(<trk><trkseg><trkpt lat="1" lon="2"><time>2019-01-01T12:38:13Z</time></trkpt>
        <trkpt lat="1" lon="2"><time>2019-01-01T12:38:13.2Z</time></trkpt>
        <trkpt lat="1" lon="2"><time>2019-01-01T12:38:13.997Z</time></trkpt></trkseg></trk>)",
     {{"13Z<", 1}, {"13.200Z<", 1}, {"13.997Z<", 1}}},
    {"the bounds hold a lone waypoint", k11,
     R"(<metadata><bounds minlat="5" minlon="5" maxlat="6" maxlon="6"/></metadata><wpt lat="0.5" lon="-3"/>)",
     {{R"(<bounds minlat="0.5" minlon="-3" maxlat="0.5" maxlon="-3" />)", 1}}},
    {"GPX 1.0: the document's fields become the metadata", k10,
     R"(<name>N</name><desc>D</desc><author>Ann</author><email>ann@example.org</email>
        <url>http://e.org/</url><urlname>Home</urlname><time>2005-06-01T10:00:00Z</time>
        <keywords>k</keywords><bounds minlat="46" minlon="7" maxlat="47" maxlon="8"/>)",
     {{"<metadata>\r\n\t<name>N</name>\r\n\t<desc>D</desc>\r\n\t<author>\r\n\t\t<name>Ann</name>\r\n"
       "\t\t<email id=\"ann\" domain=\"example.org\"/>\r\n\t</author>\r\n\t<link href=\"http://e.org/\">\r\n"
       "\t\t<text>Home</text>\r\n\t</link>\r\n\t<time>2005-06-01T10:00:00Z</time>\r\n\t<keywords>k</keywords>\r\n"
       "\t<bounds minlat=\"46\" minlon=\"7\" maxlat=\"47\" maxlon=\"8\" />\r\n</metadata>",
       1}}},
    {"GPX 1.0: a point's link, speed, course and geocaching data", k10,
     R"(<wpt lat="1" lon="2"><course>12.5</course><speed>1.25</speed><name>GC1</name><url>http://e.org/gc</url>
        <urlname>GC page</urlname><sym>Geocache</sym><gs:cache id="7"><gs:name>R &amp; r</gs:name></gs:cache></wpt>)",
     {{"<name>GC1</name>\r\n\t<link href=\"http://e.org/gc\">\r\n\t\t<text>GC page</text>\r\n\t</link>\r\n"
       "\t<sym>Geocache</sym>\r\n",
       1},
      {"<extensions><course" + kGPX10 + "12.5</course><speed" + kGPX10 +
           "1.25</speed><gs:cache xmlns:gs=\"http://www.groundspeak.com/cache/1/0\" id=\"7\">"
           "<gs:name>R &amp; r</gs:name></gs:cache></extensions>",
       1}}},
    {"GPX 1.0: links and foreign elements of routes and tracks", k10,
     R"(<rte><url>http://e.org/r</url><gs:note>n</gs:note><rtept lat="1" lon="2"/></rte>
        <trk><urlname>T</urlname><gs:note>n</gs:note><trkseg><trkpt lat="1" lon="2"/></trkseg></trk>)",
     {{"<link href=\"http://e.org/r\">", 1},
      {"<link href=\"\">\r\n\t\t<text>T</text>", 1},
      {"<gs:note xmlns:gs=\"http://www.groundspeak.com/cache/1/0\">n</gs:note>", 2}}},
    {"GPX 1.0 without a namespace, extensions borrowed from 1.1", k10Bare,
     R"(<trk><trkseg><trkpt lat="1" lon="2"><speed>2</speed></trkpt></trkseg></trk>
        <extensions><x:a xmlns:x="urn:x">1</x:a></extensions>)",
     {{"<speed" + kGPX10 + "2</speed>", 1}, {"<extensions><x:a xmlns:x=\"urn:x\">1</x:a></extensions>", 1}}},
};

size_t occurrences(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

TEST(OpenSave, FilesKeepWhatTheyStateAndStayValid) {
  const std::string folder = makeTempFolder();
  for (const OpenSaveCase& c : kCases) {
    SCOPED_TRACE(c.what);
    TGPX doc;
    TGPXFile in;
    in.GPX = &doc;
    in.LoadFromString(std::string("<?xml version=\"1.0\"?>") + c.head + c.body + "</gpx>");
    ASSERT_TRUE(in.Loaded);
    const bool gpx10 = c.head != k11;
    EXPECT_EQ(std::count(in.Messages.begin(), in.Messages.end(), "GPX 1.0 file, read as GPX 1.1"), gpx10 ? 1 : 0);

    // An undo copy saves the same text as the document.
    TGPX copy;
    copy.Assign(doc);
    std::string texts[2];
    TGPX* docs[2] = {&doc, &copy};
    for (int i = 0; i < 2; ++i) {
      const std::string path = folder + "/open_save_" + std::to_string(i) + ".gpx";
      TGPXFile out;
      out.GPX = docs[i];
      out.SaveToFile(path);
      texts[i] = readWholeFile(path);
    }
    EXPECT_EQ(texts[1], texts[0]);
    for (const Piece& p : c.pieces) EXPECT_EQ(occurrences(texts[0], p.text), p.count) << p.text << "\n" << texts[0];

    if (!programExists("/usr/bin/xmllint")) continue;
    std::string output;
    EXPECT_EQ(runCommand("/usr/bin/xmllint --noout --schema '" + schemaPath() + "' '" + folder +
                             "/open_save_0.gpx'",
                         output),
              0)
        << output;
  }
}

}  // namespace
