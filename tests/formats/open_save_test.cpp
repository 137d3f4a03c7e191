// Small hand-made files through open and save: what they state comes back (GPX 1.0 files
// included), copies keep it, and the saved file is valid GPX 1.1.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/GPXFile.h"
#include "writer_fixture.h"

namespace {

const char* k11 = R"(<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1">)";
const char* k10 = R"(<gpx version="1.0" xmlns="http://www.topografix.com/GPX/1/0" xmlns:gs="urn:gs">)";
const std::string kIn10 = R"( xmlns="http://www.topografix.com/GPX/1/0">)";

const struct {
  const char *what, *head, *body;
  std::vector<std::pair<std::string, size_t>> pieces;  // text, times it occurs in the saved file
} kCases[] = {
    {"an elevation of 0 is data, however the point is read; one that is no number is none", k11,
     R"(<wpt lat="1" lon="2"><ele>0</ele></wpt><wpt lat="1" lon="2"><ele>0</ele><link href="x"/></wpt>
        <wpt lat="1" lon="2"/><wpt lat="1" lon="2"><ele>0</ele><ele>x</ele></wpt>
        <trk><trkseg><trkpt lat="1" lon="3"><ele>0.000</ele></trkpt></trkseg></trk>)",
     {{"<ele>0</ele>", 3}, {"<ele>", 3}}},
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
     {{"<name>N</name>\r\n\t<desc>D</desc>\r\n\t<author>\r\n\t\t<name>Ann</name>\r\n\t\t<email id=\"ann\" "
       "domain=\"example.org\"/>\r\n\t</author>\r\n\t<link href=\"http://e.org/\">\r\n\t\t<text>Home</text>", 1},
      {"<time>2005-06-01T10:00:00Z</time>\r\n\t<keywords>k</keywords>\r\n\t<bounds minlat=\"46\"", 1}}},
    {"GPX 1.0: a point's link, speed, course and geocaching data", k10,
     R"(<wpt lat="1" lon="2"><course>12.5</course><speed>1.25</speed><url>http://e.org/gc</url>
        <urlname>GC</urlname><gs:cache id="7"><gs:name>R &amp; r</gs:name></gs:cache></wpt>)",
     {{"<link href=\"http://e.org/gc\">\r\n\t\t<text>GC</text>", 1},
      {"<extensions><course" + kIn10 + "12.5</course><speed" + kIn10 + "1.25</speed>" +
           R"(<gs:cache xmlns:gs="urn:gs" id="7"><gs:name>R &amp; r</gs:name></gs:cache></extensions>)",
       1}}},
    {"GPX 1.0: links and foreign elements of routes and tracks", k10,
     R"(<rte><url>http://e.org/r</url><gs:note>n</gs:note><rtept lat="1" lon="2"/></rte>
        <trk><urlname>T</urlname><gs:note>n</gs:note><trkseg><trkpt lat="1" lon="2"/></trkseg></trk>)",
     {{"<link href=\"http://e.org/r\">", 1}, {"<link href=\"\">\r\n\t\t<text>T</text>", 1},
      {R"(<gs:note xmlns:gs="urn:gs">n</gs:note>)", 2}}},
    {"GPX 1.0 without a namespace, extensions borrowed from 1.1", R"(<gpx version="1.0">)",
     R"(<trk><trkseg><trkpt lat="1" lon="2"><speed>2</speed></trkpt></trkseg></trk>
        <extensions><x:a xmlns:x="urn:x">1</x:a></extensions>)",
     {{"<speed" + kIn10 + "2</speed>", 1}, {R"(<extensions><x:a xmlns:x="urn:x">1</x:a></extensions>)", 1}}},
    {"GPX 1.1: another program's elements straight in a point, route or track, or in a second extensions "
     "element, stay its extensions",
     k11, R"(<wpt lat="1" lon="2"><o:cache xmlns:o="urn:o" id="7"><o:name>C</o:name></o:cache>
        <extensions><o:x xmlns:o="urn:o"/></extensions><extensions><o:y xmlns:o="urn:o"/></extensions></wpt>
        <trk><trkseg><trkpt lat="1" lon="2" xmlns:o="urn:o"><ele>3</ele><o:speed>1.5</o:speed></trkpt></trkseg></trk>
        <rte><o:color xmlns:o="urn:o">f</o:color><extensions><o:a xmlns:o="urn:o"/></extensions>
        <extensions><o:b xmlns:o="urn:o"/></extensions></rte>)",
     {{R"(<extensions><o:x xmlns:o="urn:o"/><o:y xmlns:o="urn:o"/><o:cache xmlns:o="urn:o" id="7">)"
       R"(<o:name>C</o:name></o:cache></extensions>)", 1},
      {R"(<extensions><o:speed xmlns:o="urn:o">1.5</o:speed></extensions>)", 1},
      {"<o:color xmlns:o=\"urn:o\">f</o:color>\r\n<o:a xmlns:o=\"urn:o\"/>\r\n<o:b xmlns:o=\"urn:o\"/>", 1}}},
    {"text an earlier build saved under xml:space reads as written and is saved as it stands, without it", k11,
     R"(<metadata><desc xml:space="preserve"> two&#13;
  lines </desc></metadata><trk xml:space="preserve"><cmt> a  b </cmt><trkseg/></trk>)",
     {{"<desc> two\r\n  lines </desc>", 1}, {"<cmt> a  b </cmt>", 1}, {"xml:space", 0}}},
};

TEST(OpenSave, FilesKeepWhatTheyStateAndStayValid) {
  const std::string folder = makeTempFolder();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TGPX doc, copy;
    TGPXFile in;
    in.GPX = &doc;
    in.LoadFromString(std::string(c.head) + c.body + "</gpx>");
    ASSERT_TRUE(in.Loaded);
    EXPECT_EQ(std::count(in.Messages.begin(), in.Messages.end(), "GPX 1.0 file, read as GPX 1.1"), c.head != k11);
    auto save = [&folder](TGPX& gpx) {
      TGPXFile out;
      out.GPX = &gpx;
      out.SaveToFile(folder + "/saved.gpx");
      return readWholeFile(folder + "/saved.gpx");
    };
    copy.Assign(doc);
    EXPECT_EQ(save(copy), save(doc));  // an undo copy saves the same text
    const std::string text = readWholeFile(folder + "/saved.gpx");
    for (const auto& [piece, count] : c.pieces) {
      size_t n = 0;
      for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
      EXPECT_EQ(n, count) << piece << "\n" << text;
    }
    std::string output;
    const std::string check = "/usr/bin/xmllint --noout --schema '" + schemaPath() + "' '" + folder + "/saved.gpx'";
    if (programExists("/usr/bin/xmllint")) EXPECT_EQ(runCommand(check, output), 0) << output;
  }
}

}  // namespace
