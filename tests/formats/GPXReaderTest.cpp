// The GPX reader on small documents: every element, the log lines and the edge cases.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "formats/GPXClipboard.h"
#include "formats/GPXFile.h"
#include "formats/GPXWriter.h"
#include "formats/KMLFile.h"
#include "formats/XmlDocument.h"
#include "model/GPX.h"

namespace {

const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\" "
    "xmlns:gpx_style=\"http://www.topografix.com/GPX/gpx_style/0/2\">\n";

std::string gpx(const std::string& body) { return std::string(kHead) + body + "\n</gpx>\n"; }

std::vector<std::string> load(TGPX& doc, const std::string& text, bool* loaded = nullptr) {
  TGPXFile f;
  f.GPX = &doc;
  f.LoadFromString(text);
  if (loaded) *loaded = f.Loaded;
  return f.Messages;
}

const TGPXwpt& wpt(const TGPX& doc, int i) { return *doc.Waypoints.GetPoint(i); }

// `levels` elements named `name`, each in the one before, around `inner`.
std::string nest(const std::string& name, int levels, const std::string& inner) {
  std::string open, close;
  for (int i = 0; i < levels; ++i) {
    open += "<" + name + ">";
    close = "</" + name + ">" + close;
  }
  return open + inner + close;
}

TEST(GPXReader, ReadsEveryWaypointField) {
  TGPX doc;
  auto log = load(doc, gpx(R"(<wpt lat="46.5" lon="-7.25">
    <ele>1234.5</ele><time>2008-12-17T07:30:00Z</time><magvar>3.5</magvar><geoidheight>48.1</geoidheight>
    <name> Summit
      cross </name><cmt>c</cmt><desc>d</desc><src>s</src>
    <link href="http://x/a"><text>A</text><type>text/html</type></link>
    <sym>Flag</sym><type>peak</type><fix>DGPS</fix><sat>12</sat><hdop>1.5</hdop><vdop>2.5</vdop>
    <pdop>3.5</pdop><ageofdgpsdata>4.5</ageofdgpsdata><dgpsid>17</dgpsid>
    <extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>99</gpxtpx:hr></gpxtpx:TrackPointExtension></extensions>
  </wpt>)"));
  ASSERT_EQ(doc.Waypoints.Count(), 1);
  const TGPXwpt& p = wpt(doc, 0);
  const TGPXwptData& d = p.data();
  EXPECT_DOUBLE_EQ(p.Lat, 46.5);
  EXPECT_DOUBLE_EQ(p.Lon, -7.25);
  EXPECT_DOUBLE_EQ(p.Ele, 1234.5);
  EXPECT_NEAR(p.Time, 39799 + 7.5 / 24, 1e-9);
  EXPECT_DOUBLE_EQ(d.magvar, 3.5);
  EXPECT_DOUBLE_EQ(d.geoidheight, 48.1);
  EXPECT_EQ(d.name, "Summit cross");
  EXPECT_EQ(d.cmt + d.desc + d.src, "cds");
  EXPECT_TRUE(d.link.Present);
  EXPECT_EQ(d.link.href, "http://x/a");
  EXPECT_EQ(d.link.text, "A");
  EXPECT_EQ(d.link.type, "text/html");
  EXPECT_EQ(d.sym, "Flag");
  EXPECT_EQ(d.type, "peak");
  EXPECT_EQ(d.fix, "dgps");
  EXPECT_EQ(d.sat, 12);
  EXPECT_DOUBLE_EQ(d.hdop, 1.5);
  EXPECT_DOUBLE_EQ(d.vdop, 2.5);
  EXPECT_DOUBLE_EQ(d.pdop, 3.5);
  EXPECT_DOUBLE_EQ(d.ageofdgpsdata, 4.5);
  EXPECT_EQ(d.dgpsid, 17);
  EXPECT_EQ(d.extensions,
            "<gpxtpx:TrackPointExtension xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">"
            "<gpxtpx:hr>99</gpxtpx:hr></gpxtpx:TrackPointExtension>");
  EXPECT_TRUE(doc.Waypoints.Present);
  EXPECT_EQ(log, (std::vector<std::string>{"1 waypoints", "0 routes (0 points)", "0 tracks (0 points in 0 track segments)"}));
}

TEST(GPXReader, BadOrMissingValuesGiveDefaults) {
  struct Case {
    const char* body;
    int sat;
    double hdop, magvar, lat;
    int dgpsid;
  } cases[] = {
      {"<wpt lat='1' lon='2'/>", 255, -1.0, 0, 1, -1},
      {"<wpt lat='0' lon='2'><sat>abc</sat><dgpsid>x1</dgpsid><magvar>1,5</magvar></wpt>", 255, -1.0, 0, 0, -1},
      {"<wpt lat=' 3 ' lon='2'><sat> 7 </sat><hdop>1e1</hdop><dgpsid>-3</dgpsid></wpt>", 7, 10.0, 0, 3, -3},
      // A count beyond 254 is none, not its low byte.
      {"<wpt lat='1' lon='2'><sat>300</sat><hdop></hdop><magvar>nan</magvar></wpt>", 255, -1.0, 0, 1, -1},
      {"<wpt lat='1' lon='2'><sat>-5</sat></wpt>", 255, -1.0, 0, 1, -1},
      // Beyond 32 bits a number is no integer: the default, not its low bits.
      {"<wpt lat='1' lon='2'><sat>4294967308</sat><dgpsid>4294967297</dgpsid></wpt>", 255, -1.0, 0, 1, -1},
  };
  for (const auto& c : cases) {
    TGPX doc;
    load(doc, gpx(c.body));
    ASSERT_EQ(doc.Waypoints.Count(), 1) << c.body;
    const TGPXwpt& p = wpt(doc, 0);
    EXPECT_EQ(p.data().sat, c.sat) << c.body;
    EXPECT_DOUBLE_EQ(p.data().hdop, c.hdop) << c.body;
    EXPECT_DOUBLE_EQ(p.data().magvar, c.magvar) << c.body;
    EXPECT_DOUBLE_EQ(p.Lat, c.lat) << c.body;
    EXPECT_EQ(p.data().dgpsid, c.dgpsid) << c.body;
  }
}

TEST(GPXReader, NamesIgnoreCaseAndTheLastElementWins) {
  TGPX doc;
  load(doc, gpx("<WPT LAT='10' Lon='20'><NAME>first</NAME><Ele>5</Ele><name>second</name><ele>6</ele></WPT>"));
  ASSERT_EQ(doc.Waypoints.Count(), 1);
  EXPECT_DOUBLE_EQ(wpt(doc, 0).Lat, 10);
  EXPECT_DOUBLE_EQ(wpt(doc, 0).Lon, 20);
  EXPECT_EQ(wpt(doc, 0).data().name, "second");
  EXPECT_DOUBLE_EQ(wpt(doc, 0).Ele, 6);
}

TEST(GPXReader, TextForms) {
  struct Case {
    const char* name;
    const char* want;
  } cases[] = {
      {"<name><![CDATA[a <b> & c]]></name>", "a <b> & c"},
      // CDATA and comments do not split text: "R&D" must not become "R & D", nor a time
      // "2008-12-17T07:30:00Z" written in two pieces gain a blank.
      {"<name>R<![CDATA[&]]>D</name>", "R&D"},
      {"<name>ab<!-- cut -->cd</name>", "abcd"},
      {"<name>  two\r\n\tlines  </name>", "two lines"},
      {"<name xml:space='preserve'>  two\n lines </name>", "  two\n lines "},
      {"<name>caf\xC3\xA9 &lt;&#233;&gt;</name>", "caf\xC3\xA9 <\xC3\xA9>"},
      {"<name/>", ""},
  };
  for (const auto& c : cases) {
    TGPX doc;
    load(doc, gpx(std::string("<wpt lat='1' lon='1'>") + c.name + "</wpt>"));
    ASSERT_EQ(doc.Waypoints.Count(), 1);
    EXPECT_EQ(wpt(doc, 0).data().name, c.want) << c.name;
  }
}

TEST(GPXReader, Metadata) {
  TGPX doc;
  load(doc, gpx(R"(<metadata><name>old</name></metadata>
  <metadata>
    <name>Trip</name><desc>Alps</desc>
    <author><name>Ann</name><email id="ann" domain="example.org"/><link href="http://ann"/></author>
    <copyright author="Ann B"><year>2008</year><license>http://l</license></copyright>
    <link href="http://trip"><text>Trip page</text></link>
    <time>2008-12-17T07:30:00Z</time><keywords>a, b</keywords>
    <bounds minlat="45.5" minlon="6" maxlat="47" maxlon="8.5"/>
    <extensions><gpx_style:x>1</gpx_style:x></extensions>
  </metadata>)"));
  const TGPXmetadata& m = doc.Metadata;
  EXPECT_TRUE(m.Present);
  EXPECT_EQ(m.name, "Trip");
  EXPECT_EQ(m.desc, "Alps");
  EXPECT_TRUE(m.author.Present);
  EXPECT_EQ(m.author.name, "Ann");
  EXPECT_TRUE(m.author.email.Present);
  EXPECT_EQ(m.author.email.id + "@" + m.author.email.domain, "ann@example.org");
  EXPECT_EQ(m.author.link.href, "http://ann");
  EXPECT_EQ(m.copyright.author, "Ann B");
  EXPECT_EQ(m.copyright.year, 2008);
  EXPECT_EQ(m.copyright.license, "http://l");
  EXPECT_EQ(m.link.text, "Trip page");
  EXPECT_NEAR(m.time, 39799 + 7.5 / 24, 1e-9);
  EXPECT_EQ(m.keywords, "a, b");
  EXPECT_TRUE(m.bounds.Present);
  EXPECT_DOUBLE_EQ(m.bounds.minlat, 45.5);
  EXPECT_DOUBLE_EQ(m.bounds.maxlon, 8.5);
  EXPECT_EQ(m.extensions, "<gpx_style:x xmlns:gpx_style=\"http://www.topografix.com/GPX/gpx_style/0/2\">1</gpx_style:x>");
}

TEST(GPXReader, PersonAndEmailForms) {
  struct Case {
    const char* author;
    const char* name;
    const char* id;
    const char* domain;
  } cases[] = {
      {"<author>Bob Smith</author>", "Bob Smith", "", ""},
      {"<author><email id='a' domain='b.c'/></author>", "", "a", "b.c"},
      {"<author><email><id>old</id><domain>form.org</domain></email></author>", "", "old", "form.org"},
      {"<author><name>N</name><email id='x'><domain>d</domain></email></author>", "N", "x", "d"},
  };
  for (const auto& c : cases) {
    TGPX doc;
    load(doc, gpx(std::string("<metadata>") + c.author + "</metadata>"));
    EXPECT_EQ(doc.Metadata.author.name, c.name) << c.author;
    EXPECT_EQ(doc.Metadata.author.email.id, c.id) << c.author;
    EXPECT_EQ(doc.Metadata.author.email.domain, c.domain) << c.author;
  }
}

TEST(GPXReader, LinkAndBoundsForms) {
  TGPX doc;
  load(doc, gpx("<metadata><link>http://bare</link><bounds/></metadata>"
                "<wpt lat='1' lon='1'><link><text>only text</text></link></wpt>"));
  EXPECT_EQ(doc.Metadata.link.href, "http://bare");
  EXPECT_FALSE(doc.Metadata.bounds.Present);
  EXPECT_EQ(wpt(doc, 0).data().link.href, "");
  EXPECT_EQ(wpt(doc, 0).data().link.text, "only text");
}

TEST(GPXReader, RoutesWithStyleAndExtensions) {
  TGPX doc;
  auto log = load(doc, gpx(R"(<rte><desc>Ridge</desc><number>4</number>
    <extensions>
      <line xmlns="http://www.topografix.com/GPX/gpx_style/0/2"><color>FF8000</color><opacity>0.5</opacity></line>
      <gpxtpx:RouteExtension><gpxtpx:x>1</gpxtpx:x></gpxtpx:RouteExtension>
      <!-- kept -->
    </extensions>
    <rtept lat="1" lon="2"/><rtept lat="3" lon="4"/><rtept lat="5" lon="6"/>
  </rte>
  <rte><name>B</name><extensions><gpx_style:line><gpx_style:color>00FF00</gpx_style:color></gpx_style:line></extensions>
    <rtept lat="1" lon="2"/><rtept lat="1" lon="2"/><rtept lat="1" lon="2"/><rtept lat="1" lon="2"/></rte>)"));
  ASSERT_EQ(doc.Routes.Count(), 2);
  const TGPXrte& a = *doc.Routes.GetRoute(0);
  EXPECT_EQ(a.name, "Ridge");  // taken from the description
  EXPECT_EQ(a.number, 4);
  EXPECT_EQ(a.Count(), 3);
  EXPECT_DOUBLE_EQ(a.GetPoint(2)->Lat, 5);
  EXPECT_FALSE(a.Style.IsColorUnset());
  EXPECT_EQ(a.Style.GetColorHex(), "FF8000");
  EXPECT_DOUBLE_EQ(a.Style.Opacity, 0.5);
  EXPECT_EQ(a.extensions,
            "<gpxtpx:RouteExtension xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">"
            "<gpxtpx:x>1</gpxtpx:x></gpxtpx:RouteExtension>\r\n<!-- kept -->");
  // A prefixed line is not the style: it stays as text.
  const TGPXrte& b = *doc.Routes.GetRoute(1);
  EXPECT_TRUE(b.Style.IsColorUnset());
  EXPECT_EQ(b.extensions.rfind("<gpx_style:line xmlns:gpx_style=", 0), 0u) << b.extensions;
  EXPECT_TRUE(doc.Routes.Present);
  EXPECT_EQ(log.at(1), "2 routes (7 points)");
}

TEST(GPXReader, RouteAndTrackNumbers) {
  TGPX doc;
  load(doc, gpx("<rte><number>-12</number></rte><rte><number>4294967297</number></rte><rte><number>2.0</number></rte>"
                "<trk><number>2147483647</number></trk><trk><number>2147483648</number></trk>"));
  ASSERT_EQ(doc.Routes.Count(), 3);
  EXPECT_EQ(doc.Routes.GetRoute(0)->number, -12);
  EXPECT_EQ(doc.Routes.GetRoute(1)->number, -1);
  EXPECT_EQ(doc.Routes.GetRoute(2)->number, -1);
  ASSERT_EQ(doc.Tracks.Count(), 2);
  EXPECT_EQ(doc.Tracks.GetTrack(0)->number, 2147483647);
  EXPECT_EQ(doc.Tracks.GetTrack(1)->number, -1);
}

TEST(GPXReader, TracksAndSegments) {
  TGPX doc;
  auto log = load(doc, gpx(R"(<trk><name>T</name><type>ride</type>
    <extensions><line xmlns="http://www.topografix.com/GPX/gpx_style/0/2"><opacity>-0.25</opacity></line></extensions>
    <trkseg><trkpt lat="1" lon="2"><ele>3</ele><time>2008-12-17T07:30:00Z</time></trkpt>
            <extensions><gpxtpx:s>1</gpxtpx:s></extensions>
            <trkpt lat="4" lon="5"/></trkseg>
    <trkseg/>
    <trkseg><trkpt lat="6" lon="7"/></trkseg>
  </trk>)"));
  ASSERT_EQ(doc.Tracks.Count(), 1);
  const TGPXtrk& t = *doc.Tracks.GetTrack(0);
  EXPECT_EQ(t.name, "T");
  EXPECT_EQ(t.type, "ride");
  EXPECT_TRUE(t.Style.IsColorUnset());
  EXPECT_DOUBLE_EQ(t.Style.Opacity, 0.25);
  EXPECT_EQ(t.extensions, "");
  ASSERT_EQ(t.Count(), 3);
  EXPECT_EQ(t.GetSegment(0)->Count(), 2);
  EXPECT_TRUE(t.GetSegment(0)->Present);
  EXPECT_FALSE(t.GetSegment(1)->Present);
  EXPECT_EQ(t.GetSegment(0)->extensions, "<gpxtpx:s xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">1</gpxtpx:s>");
  EXPECT_FALSE(t.GetSegment(0)->GetPoint(1)->HasData());  // plain points stay compact
  EXPECT_EQ(log.at(2), "1 tracks (3 points in 3 track segments)");
}

TEST(GPXReader, TopLevelExtensionsAndUnknownElements) {
  TGPX doc;
  load(doc, gpx("<foo><wpt lat='9' lon='9'/></foo><extensions><a>1</a></extensions><wpt lat='1' lon='1'/>"
                "<extensions><b>2</b></extensions>"));
  EXPECT_EQ(doc.Waypoints.Count(), 1);
  EXPECT_EQ(doc.Extension.Text, "<b xmlns=\"http://www.topografix.com/GPX/1/1\">2</b>");
}

TEST(GPXReader, AppendsToTheDocument) {
  TGPX doc;
  load(doc, gpx("<wpt lat='1' lon='1'/><wpt lat='2' lon='2'/><wpt lat='3' lon='3'/><metadata><name>M</name></metadata>"));
  auto log = load(doc, gpx("<wpt lat='4' lon='4'/><wpt lat='5' lon='5'/>"));
  EXPECT_EQ(log.at(0), "5 waypoints");
  EXPECT_EQ(doc.Metadata.name, "M");  // a file without metadata keeps the old one
  EXPECT_DOUBLE_EQ(wpt(doc, 4).Lat, 5);
}

TEST(GPXReader, ParseErrorLeavesTheDocumentUnchanged) {
  TGPX doc;
  load(doc, gpx("<wpt lat='1' lon='1'/><metadata><name>M</name></metadata>"));
  bool loaded = true;
  auto log = load(doc,
                  gpx("<metadata><name>N</name></metadata><wpt lat='2' lon='2'/>"
                      "<trk><trkseg><trkpt lat='1' lon='1'></trkseg></trk>"),
                  &loaded);
  EXPECT_FALSE(loaded);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("mismatch"), std::string::npos) << log[0];
  EXPECT_EQ(log[0].substr(log[0].size() - 5), "(76).");
  EXPECT_EQ(doc.Waypoints.Count(), 1);
  EXPECT_EQ(doc.Tracks.Count(), 0);
  EXPECT_EQ(doc.Metadata.name, "M");
}

TEST(GPXReader, DocumentWithoutGpx) {
  TGPX doc;
  bool loaded = true;
  auto log = load(doc, "<kml><wpt lat='1' lon='1'/></kml>", &loaded);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(log, (std::vector<std::string>{"", "File not loaded"}));
  EXPECT_EQ(doc.Waypoints.Count(), 0);

  log = load(doc, "", &loaded);
  EXPECT_FALSE(loaded);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].back(), '.');
}

TEST(GPXReader, LoadFromFileAndMissingFile) {
  std::string path = testing::TempDir() + "/reader_test.gpx";
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::string text = gpx("<trk><trkseg><trkpt lat='1' lon='2'/></trkseg></trk>");
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
  TGPX doc;
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(path);
  EXPECT_TRUE(file.Loaded);
  EXPECT_EQ(file.Messages.at(2), "1 tracks (1 points in 1 track segments)");

  TGPXFile missing;
  missing.GPX = &doc;
  missing.LoadFromFile(path + ".none");
  EXPECT_FALSE(missing.Loaded);
  ASSERT_EQ(missing.Messages.size(), 1u);
  EXPECT_NE(missing.Messages[0].find(".none"), std::string::npos);
}

}  // namespace

namespace {

// Plain points are read without a tree; anything unusual in them is read from a tree.
// Both ways must give the same point.
TEST(GPXReader, PointFormsReadAlike) {
  const char* forms[] = {
      "<trkpt lat='46.5' lon='7.25'><ele>12.5</ele><time>2008-12-17T07:30:00Z</time><name> n </name></trkpt>",
      "<trkpt lat='46.5' lon='7.25'><!-- c --><ele>12.5</ele><time>2008-12-17T07:30:00Z</time><name>n</name></trkpt>",
      "<trkpt lat='46.5' lon='7.25'><ele>12.5</ele><time><![CDATA[2008-12-17T07:30:00Z]]></time><name>n</name></trkpt>",
      "<trkpt lat='&#52;6.5' lon='7.25'><ele>12.5</ele><time>2008-12-17T07:30:00Z</time><name>n</name></trkpt>",
      "<trkpt xmlns:x='urn:x' lat='46.5' lon='7.25'><ele>12.5</ele><time>2008-12-17T07:30:00Z</time><name>n</name></trkpt>",
      "<trkpt lat='46.5' lon='7.25'><ele>12.5</ele><x><y/></x><time>2008-12-17T07:30:00Z</time><name>n</name></trkpt>",
      "<trkpt lat='46.5' lon='7.25'><ele>1</ele><ele a='1'>12.5</ele><time>2008-12-17T07:30:00Z</time><name>n</name></trkpt>",
      "<trkpt lat='46.5' lon='7.25'><ele>12.5</ele><time>2008-12-17T07:30:00Z</time><name>n<b/></name></trkpt>",
  };
  for (const char* form : forms) {
    TGPX doc;
    load(doc, gpx(std::string("<trk><trkseg>") + form + "</trkseg></trk>"));
    ASSERT_EQ(doc.Tracks.Count(), 1) << form;
    const TGPXwpt& p = *doc.Tracks.GetTrack(0)->GetSegment(0)->GetPoint(0);
    EXPECT_DOUBLE_EQ(p.Lat, 46.5) << form;
    EXPECT_DOUBLE_EQ(p.Lon, 7.25) << form;
    EXPECT_DOUBLE_EQ(p.Ele, 12.5) << form;
    EXPECT_NEAR(p.Time, 39799 + 7.5 / 24, 1e-9) << form;
    EXPECT_EQ(p.data().name, "n") << form;
  }
}

TEST(GPXReader, PreservedSpaceFromAnAncestor) {
  TGPX doc;
  load(doc, "<gpx xml:space='preserve'><wpt lat='1' lon='1'><name> a  b </name></wpt>"
            "<wpt lat='1' lon='1' xml:space='default'><name> a  b </name></wpt></gpx>");
  ASSERT_EQ(doc.Waypoints.Count(), 2);
  EXPECT_EQ(wpt(doc, 0).data().name, " a  b ");
  EXPECT_EQ(wpt(doc, 1).data().name, "a b");

  // A value that is neither "preserve" nor "default" is no setting: the one above counts,
  // for a point read flat as for one read from a tree (the link asks for a tree).
  TGPX tracks;
  load(tracks, "<gpx xml:space='preserve'><trk xml:space='bogus'><trkseg>"
               "<trkpt lat='1' lon='1'><name> a  b </name></trkpt>"
               "<trkpt lat='1' lon='1'><name> a  b </name><link href='x'/></trkpt></trkseg></trk></gpx>");
  ASSERT_EQ(tracks.Tracks.Count(), 1);
  EXPECT_EQ(tracks.Tracks.GetTrack(0)->GetSegment(0)->GetPoint(0)->data().name, " a  b ");
  EXPECT_EQ(tracks.Tracks.GetTrack(0)->GetSegment(0)->GetPoint(1)->data().name, " a  b ");
}

TEST(GPXReader, BareLinkInAPoint) {
  TGPX doc;
  load(doc, gpx("<wpt lat='1' lon='1'><link>http://bare</link><extensions>x &amp; y</extensions></wpt>"));
  EXPECT_EQ(wpt(doc, 0).data().link.href, "http://bare");
  EXPECT_EQ(wpt(doc, 0).data().extensions, "x &amp; y");
}

}  // namespace

namespace {

std::string twoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// Several hundred kilobytes arrive in many parser chunks: texts split between chunks must
// still be read whole.
TEST(GPXReader, LongTrackReadsEveryPoint) {
  const int n = 6000;
  std::string body = "<trk><trkseg>\n";
  for (int i = 0; i < n; ++i) {
    std::string frac = std::to_string(i);
    frac = std::string(5 - frac.size(), '0') + frac;
    body += "  <trkpt lat=\"45." + frac + "\" lon=\"-7\">\n    <ele>" + std::to_string(i) + "</ele>\n    <time>2008-12-17T" +
            twoDigits(i / 3600) + ":" + twoDigits(i / 60 % 60) + ":" + twoDigits(i % 60) + "Z</time>\n  </trkpt>\n";
  }
  body += "</trkseg></trk>";
  TGPX doc;
  auto log = load(doc, gpx(body));
  ASSERT_EQ(log.at(2), "1 tracks (6000 points in 1 track segments)");
  const TGPXtrkseg& seg = *doc.Tracks.GetTrack(0)->GetSegment(0);
  int wrong = 0;
  for (int i = 0; i < n; ++i) {
    const TGPXwpt& p = *seg.GetPoint(i);
    bool ok = std::fabs(p.Lat - (45 + i / 100000.0)) < 1e-12 && p.Lon == -7 && p.Ele == i &&
              std::fabs(p.Time - (39799 + i / 86400.0)) < 1e-9;
    if (!ok && ++wrong < 5) ADD_FAILURE() << "point " << i;
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace

namespace {

// The document walk over a whole tree, element reader by element reader; false when the
// text does not parse.
bool readTree(const std::string& text, TGPX& doc) {
  XmlErrors errors;
  auto tree = XmlDocument::parse(text, errors);
  if (!tree) return false;
  for (XmlNode c = tree->root().firstChild(); c; c = c.nextSibling()) {
    if (c.nameIs("wpt")) TGPXFile::ReadWpt(c, doc.Waypoints);
    else if (c.nameIs("rte")) doc.Routes.Add(TGPXFile::ReadRte(c));
    else if (c.nameIs("trk")) doc.Tracks.Add(TGPXFile::ReadTrk(c));
    else if (c.nameIs("metadata")) TGPXFile::ReadMetadata(c, doc.Metadata);
  }
  return true;
}

// Files built to exhaust time or memory by entity expansion are refused at once, on both
// paths, in element text and attribute values alike.
TEST(GPXReaderUntrusted, ExpansionAttacksAreRefused) {
  std::string laughs = "<!DOCTYPE gpx [<!ENTITY l0 \"lol\">";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  laughs += "]>\n";
  const std::string big =
      "<!DOCTYPE gpx [<!ENTITY b \"" + std::string(20000, 'x') + "\"><!ENTITY s \"y\">]>\n";
  std::string refs, pairs, hrefs, attributes, empties = "<!DOCTYPE gpx [<!ENTITY l0 \"\">";
  for (int i = 0; i < 20000; ++i) refs += "&b;";
  for (int i = 0; i < 1000; ++i) pairs += "&b;&s;";
  for (int i = 0; i < 10; ++i) hrefs += "<wpt lat='1' lon='2'><link href='" + refs.substr(0, 2700) + "'/></wpt>";
  for (int i = 0; i < 20; ++i) attributes += " a" + std::to_string(i) + "='" + refs.substr(0, 900) + "'";
  for (int i = 1; i <= 3; ++i) {  // a billion references to an empty entity
    empties += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 1000; ++k) empties += "&l" + std::to_string(i - 1) + ";";
    empties += "\">";
  }
  // Behind a comment, section or instruction, a bare "&" (written "&#38;") would have hidden
  // the reference after it from a look at the declared text.
  std::string behind = "<!DOCTYPE gpx [<!ENTITY e \"" + std::string(20000, 'e') + "\">";
  for (auto [name, piece] : {std::pair{"c", "<!--&#38;-->"}, {"s", "<![CDATA[&#38;]]>"}, {"p", "<?p &#38;?>"}}) {
    behind += std::string("<!ENTITY ") + name + " \"";
    for (int i = 0; i < 90; ++i) behind += std::string(piece) + "&e;";
    behind += "\">";
  }
  behind += "]>\n";
  std::string descs, names;
  for (int i = 0; i < 20; ++i) descs += "<wpt lat='1' lon='2'><desc>&c;&s;&p;</desc></wpt>";
  for (int i = 0; i < 20; ++i) names += "<trkpt lat='1' lon='2'><name>&s;</name></trkpt>";
  const std::string bound = "Entity text more than ten times the file's size: nothing read";
  const std::string loop = "Detected an entity reference loop (89).";
  const std::string loops = "<!DOCTYPE gpx [<!ENTITY a \"x&b;\"><!ENTITY b \"<!-- -->&a;\"><!ENTITY c \"y&c;\">]>";
  // Inside the DTD: a default value refused within a parameter entity's text, a malformed
  // text met there (long enough to have crashed), declared values that a parameter entity
  // fills and libxml2 keeps, and a parameter entity that reads itself.
  std::string tens = "<!ENTITY c0 \"" + std::string(900, 'x') + "\">", kept, hundred;
  for (int i = 1; i <= 4; ++i) {
    tens += "<!ENTITY c" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) tens += "&c" + std::to_string(i - 1) + ";";
    tens += "\">";
  }
  for (int i = 0; i < 300; ++i) kept += "<!ENTITY v" + std::to_string(i) + " \"&#37;q;\">";
  for (int i = 0; i < 100; ++i) hundred += "&#37;p;";
  // Between a declaration's value and its '>', a parameter entity of the declared name: a
  // megabyte of blanks read fifty times, in a file big enough that one read is allowed.
  std::string ten, meg, redeclared, empty;
  for (int i = 0; i < 10; ++i) ten += "&#37;b;";
  for (int i = 0; i < 100; ++i) meg += "&#37;t;";
  for (int i = 0; i < 50; ++i) redeclared += "<!ENTITY x \"a\" &#37;x;>";
  for (int i = 0; i < 50; ++i) empty += "<!ENTITY a \"\" &#37;a;>";
  const std::string blanks = "<!ENTITY % w '" + std::string(120000, ' ') + "<!ENTITY &#37; b \"" +
                             std::string(1000, ' ') + "\"><!ENTITY &#37; t \"" + ten + "\">";
  const std::string subset[] = {
      tens + "<!ENTITY % d \"<!ATTLIST wpt x CDATA '&#38;c4;'>\">%d;",
      "<!ENTITY m \"" + std::string(700, 'y') + "&undeclared;&undeclared;\"><!ENTITY % d \"&#38;m;\">%d;",
      "<!ENTITY % p \"" + std::string(2000, 'p') + "\"><!ENTITY % w '<!ENTITY &#37; q \"" + hundred +
          "\">" + kept + "'>%w;",
      "<!ENTITY % a \"&#37;b;\"><!ENTITY % b \"&#37;a;\"><!ENTITY % w '<!ENTITY x \"&#37;a;\">'>%w;",
      blanks + "<!ENTITY &#37; x \"" + meg + "\">" + redeclared + "'>%w;",
      blanks + "<!ENTITY &#37; a \"" + meg + "\">" + empty + "'>%w;",
  };
  const struct {
    std::string text, log;
  } cases[] = {
      {laughs + "<gpx><wpt lat='1' lon='1'><name>&l9;</name></wpt></gpx>", bound},
      {laughs + "<gpx><wpt lat='&l9;' lon='1'/></gpx>", bound},
      {laughs + "<gpx>&l9;</gpx>", bound},
      // 400 MB if expanded: in an attribute, in a point's text and in a tree's text.
      {big + "<gpx><wpt lat='" + refs + "' lon='1'/></gpx>", bound},
      {big + "<gpx><wpt lat='1' lon='1'><name>" + refs + "</name></wpt></gpx>", bound},
      {big + "<gpx><metadata><desc>" + refs + "</desc></metadata></gpx>", bound},
      {big + "<gpx><wpt lat='1' lon='2'><extensions><e>" + pairs + "</e></extensions></wpt></gpx>", bound},
      // In attribute values: links of ten points, twenty attributes of one element, GPX 1.0,
      // references to an empty entity.
      {big + "<gpx>" + hrefs + "</gpx>", bound},
      {big + "<gpx><wpt lat='1' lon='2'><extensions><e" + attributes + "/></extensions></wpt></gpx>", bound},
      {big + "<gpx xmlns='http://www.topografix.com/GPX/1/0'><wpt lat='1' lon='2' x='" + refs.substr(0, 900) +
           "'/></gpx>",
       bound},
      {empties + "]><gpx><wpt lat='1' lon='2'><link href='&l3;'/></wpt></gpx>", bound},
      {behind + "<gpx>" + descs + "</gpx>", bound},
      {behind + "<gpx xmlns='http://www.topografix.com/GPX/1/0'>" + descs + "</gpx>", bound},
      {behind + "<gpx><trk><trkseg>" + names + "</trkseg></trk></gpx>", bound},
      // Real loops keep libxml2's word for them.
      {loops + "<gpx><wpt lat='1' lon='1'><name>&a;</name></wpt></gpx>", loop},
      {loops + "<gpx><wpt lat='1' lon='1'><link href='&c;'/></wpt></gpx>", loop},
      {"<!DOCTYPE gpx [" + subset[0] + "]><gpx><wpt lat='1' lon='1'/></gpx>", bound},
      {"<!DOCTYPE gpx [" + subset[0] + "]><gpx xmlns='http://www.topografix.com/GPX/1/0'/>", bound},
      {"<!DOCTYPE gpx [" + subset[1] + "]><gpx><wpt lat='1' lon='1'/></gpx>", "Entity 'undeclared' not defined (26)."},
      {"<!DOCTYPE gpx [" + subset[2] + "]><gpx><wpt lat='1' lon='1'/></gpx>", bound},
      {"<!DOCTYPE gpx [" + subset[2] + "]><gpx xmlns='http://www.topografix.com/GPX/1/0'/>", bound},
      {"<!DOCTYPE gpx [" + subset[3] + "]><gpx/>", loop},
      {"<!DOCTYPE gpx [" + subset[4] + "]><gpx><wpt lat='1' lon='1'><name>&x;</name></wpt></gpx>", bound},
      {"<!DOCTYPE gpx [" + subset[5] + "]><gpx><wpt lat='1' lon='1'><name>&a;</name></wpt></gpx>", bound},
  };
  for (const auto& c : cases) {
    const std::string what = c.text.substr(c.text.size() - 60);
    auto start = std::chrono::steady_clock::now();
    TGPX doc, tree;
    bool loaded = true;
    EXPECT_EQ(load(doc, c.text, &loaded), std::vector<std::string>{c.log}) << what;
    EXPECT_FALSE(loaded || readTree(c.text, tree)) << what;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0) << what;
  }
  // Read so a few times, a small parameter entity stays within the bound.
  const std::string few = "<!DOCTYPE gpx [<!ENTITY % w '<!ENTITY &#37; x \"" + std::string(1000, ' ') + "\">" +
                          redeclared.substr(0, 5 * 23) + "'>%w;]><gpx><wpt lat='1' lon='1'><name>&x;</name></wpt></gpx>";
  TGPX doc, tree;
  load(doc, few);
  ASSERT_TRUE(readTree(few, tree));
  EXPECT_EQ(wpt(doc, 0).data().name, "a");
  EXPECT_EQ(wpt(tree, 0).data().name, "a");
}

// Many small references stay within the bound: 100,000 one-character ones, an entity
// naming each point of a 100,000-point track, and references under 20,000 namespaces.
TEST(GPXReaderUntrusted, ManySmallReferencesOpen) {
  std::string ones, points, spaces, empties, nothing;
  for (int i = 0; i < 100000; ++i) ones += "&e;";
  for (int i = 0; i < 100000; ++i) points += "<trkpt lat='1' lon='2'><name>&n;</name></trkpt>";
  for (int i = 0; i < 20000; ++i) spaces += " xmlns:n" + std::to_string(i) + "='urn:" + std::to_string(i) + "'";
  for (int i = 0; i < 1000; ++i) empties += "<wpt lat='1' lon='2'><name>&f;&n;</name></wpt>";
  for (int i = 0; i < 1000; ++i) nothing += "&o;";
  const std::string dtd = "<!DOCTYPE gpx [<!ENTITY e \"x\"><!ENTITY n \"Summit\"><!ENTITY o \"\"><!ENTITY f \"" +
                          nothing + "\">]>";
  for (const std::string& body : {"<wpt lat='1' lon='2'><name>" + ones + "</name><link href='" + ones + "'/></wpt>",
                                  "<trk><trkseg>" + points + "</trkseg></trk>"}) {
    const std::string text = dtd + "<gpx>" + body + "</gpx>";
    TGPX streamed, tree;
    bool loaded = false;
    load(streamed, text, &loaded);
    ASSERT_TRUE(loaded && readTree(text, tree)) << body.substr(0, 40);
    EXPECT_EQ(TGPXWriter().WriteDocument(tree), TGPXWriter().WriteDocument(streamed));
  }
  TGPX doc;
  load(doc, dtd + "<gpx" + spaces + ">" + empties + "</gpx>");
  ASSERT_EQ(doc.Waypoints.Count(), 1000);
  EXPECT_EQ(wpt(doc, 999).data().name, "Summit");
}

// What is kept of a file is bounded like entity text: a namespace name that every piece
// of extension text carries, a declaration every start tag gets by default, the name of a
// KML folder that every track in it takes. Such a file is refused whole; a section that
// merely holds a reference's text is no reference and opens.
TEST(GPXReaderUntrusted, NamesCopiedIntoEveryItemAreBounded) {
  std::string pieces, tracks, urn = "urn:";
  for (int i = 0; i < 100; ++i) pieces += "<wpt lat='1' lon='2'><extensions><p:x/></extensions></wpt>";
  for (int i = 0; i < 100; ++i)
    tracks += "<Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark>";
  for (int i = 0; i < 10; ++i) urn += "&u;";
  const std::string defaults = "<!DOCTYPE x [<!ENTITY u \"" + std::string(20000, 'u') +
                               "\"><!ATTLIST extensions xmlns:p CDATA \"" + urn +
                               "\"><!ATTLIST Placemark xmlns:p CDATA \"" + urn + "\">]>";
  const std::string kept = "Text read more than ten times the file's size: nothing read";
  const std::string bound = "Entity text more than ten times the file's size: nothing read";
  const struct {
    std::string text, log;
    bool kml = false;
  } cases[] = {
      {"<gpx xmlns:p='urn:" + std::string(200000, 'p') + "'>" + pieces + "</gpx>", kept},
      {defaults + "<gpx>" + pieces + "</gpx>", bound},
      {defaults + "<kml><Document>" + tracks + "</Document></kml>", bound, true},
      {"<kml><Document><Folder><name>" + std::string(200000, 'n') + "</name>" + tracks + "</Folder></Document></kml>",
       kept, true},
  };
  for (const auto& c : cases) {
    TGPX doc;
    load(doc, gpx("<wpt lat='5' lon='5'/>"));
    std::vector<std::string> log;
    if (c.kml) {
      TKMLFile kml;
      kml.GPX = &doc;
      kml.ImportString(c.text);
      log = kml.Messages;
    } else {
      log = load(doc, c.text);
    }
    EXPECT_EQ(log, std::vector<std::string>{c.log}) << c.text.substr(0, 80);
    EXPECT_EQ(doc.Waypoints.Count(), 1);
    EXPECT_EQ(doc.Tracks.Count(), 0);
  }
  std::string sections = "<!DOCTYPE gpx [<!ENTITY big \"" + std::string(500000, 'b') +
                         "\"><!ENTITY c \"<![CDATA[&#38;big;]]>\">]><gpx>";
  for (int i = 0; i < 100; ++i) sections += "<wpt lat='1' lon='2'><desc>&c;</desc></wpt>";
  TGPX doc;
  load(doc, sections + "</gpx>");
  ASSERT_EQ(doc.Waypoints.Count(), 100);
  EXPECT_EQ(wpt(doc, 99).data().desc, "&big;");
}

// libxml2 refuses a text over 10 MB in the tree it builds; a point read flat must not
// take it either, and the failure line names the cause.
TEST(GPXReaderUntrusted, OversizedTextFailsOnEveryPath) {
  const std::string text(10000001, 'a');
  const std::string forms[] = {
      "<wpt lat='1' lon='1'><name>" + text + "</name></wpt>",
      "<wpt lat='1' lon='1'><name>" + text + "</name><link href='h'/></wpt>",
      "<metadata><name>" + text + "</name></metadata>",
  };
  for (const auto& form : forms) {
    TGPX doc;
    bool loaded = true;
    auto log = load(doc, gpx(form), &loaded);
    EXPECT_FALSE(loaded) << form.substr(0, 40);
    EXPECT_EQ(log, std::vector<std::string>{"xmlSAX2Characters: huge text node (2)."}) << form.substr(0, 40);
    EXPECT_EQ(doc.Waypoints.Count(), 0);
  }
  // Just under the limit reads, whole, on both ways.
  TGPX doc;
  load(doc, gpx("<wpt lat='1' lon='1'><name>" + text.substr(1) + "</name></wpt>"));
  ASSERT_EQ(doc.Waypoints.Count(), 1);
  EXPECT_EQ(wpt(doc, 0).data().name.size(), 10000000u);
}


// What a file holds only through entities or joined pieces, and a saved file could not hold
// (a text over 10 MB, elements past libxml2's depth), is left out with a log line on both
// paths, GPX 1.0 and KML included; the rest saves into a file that opens.
TEST(GPXReaderUntrusted, ContentASavedFileCouldNotHoldIsLeftOut) {
  const std::string b(3400000, 'b'), half(5100000, 'h'), gt(2600000, '>'), quotes(2600000, '"');
  std::string amps;  // 2,000,000 characters read, 10,000,000 bytes once escaped in an attribute
  for (int i = 0; i < 2000000; ++i) amps += "&amp;";
  const std::string dtd = "<!DOCTYPE gpx [<!ENTITY b \"" + b + "\"><!ENTITY i \"" + nest("i", 130, "") +
                          "\"><!ENTITY o \"" + nest("o", 130, "&i;") + "\">]>\n";
  const std::string v10 = "<gpx version='1.0' xmlns='http://www.topografix.com/GPX/1/0'>";
  const std::string text = " texts left out: longer than a saved file can hold";
  const std::string deep = " extension elements left out: nested deeper than a saved file can hold";
  const struct {
    std::string body, log;  // log: "" when nothing is left out
    std::string head = "<gpx xmlns='http://www.topografix.com/GPX/1/1' xmlns:f='urn:f'>";
  } cases[] = {
      {"<wpt lat='1' lon='2'><name>&b;&b;&b;</name><cmt>c</cmt></wpt>", "1" + text},
      {"<wpt lat='1' lon='2'><name>" + half + "<f:i/>" + half + "</name></wpt>", "1" + text},
      {"<wpt lat='1' lon='2'><extensions>" + half + "</extensions><extensions>" + half + "</extensions></wpt>",
       "1" + text},
      {"<trk><trkseg><trkpt lat='1' lon='2'><extensions><f:x>&b;&b;&b;</f:x><f:k/></extensions></trkpt></trkseg>"
       "<trkseg><extensions>&o;</extensions></trkseg></trk>", "1" + text + "\n1" + deep},
      {"<rte><desc>&b;&b;&b;</desc><extensions>&o;<f:k/></extensions></rte><metadata><desc>&b;&b;&b;</desc></metadata>"
       "<extensions>&o;</extensions>", "2" + text + "\n2" + deep},
      // Straight in a point, 254 levels stand 257 deep once moved into its extensions, 255 one too many.
      {"<wpt lat='1' lon='2'>" + nest("f:e", 254, "") + "</wpt><rte><rtept lat='1' lon='2'>" +
       nest("f:e", 253, "") + "</rtept></rte>", ""},
      {"<wpt lat='1' lon='2'>" + nest("f:e", 255, "") + "</wpt><rte><rtept lat='1' lon='2'>" +
       nest("f:e", 254, "") + "</rtept></rte>", "2" + deep},
      {"<wpt lat='1' lon='2'><speed>&b;&b;&b;</speed></wpt>" + nest("f:e", 256, ""), "1" + text + "\n1" + deep,
       v10.substr(0, v10.size() - 1) + " xmlns:f='urn:f'>"},
      // Start tags too long to be read back: a url written as href, entity text in attributes.
      {"<wpt lat='1' lon='2'><url>" + amps + "</url><name>n</name></wpt>", "1" + text, v10},
      {"<wpt lat='1' lon='2'><extensions><f:x a='&b;' b='&b;' c='&b;'/><f:k/></extensions></wpt>", "1" + text},
      // Root namespace names longer once escaped, or together, than a start tag can be.
      {"<wpt lat='1' lon='2'/>", "1" + text, "<gpx xmlns='http://www.topografix.com/GPX/1/1' xmlns:p='e/" + gt + "'>"},
      {"<wpt lat='1' lon='2'/>", "1" + text,
       "<gpx xmlns='http://www.topografix.com/GPX/1/1' xmlns:p='e/" + quotes + "'>"},
      {"<wpt lat='1' lon='2'/>", "1" + text, v10.substr(0, v10.size() - 1) + " xmlns:p='e/" + gt + "'>"},
      {"<wpt lat='1' lon='2'/>", "1" + text,
       "<gpx xmlns='http://www.topografix.com/GPX/1/1' xmlns:p1='&b;' xmlns:p2='&b;' xmlns:p3='&b;'>"},
  };
  for (const auto& c : cases) {
    const std::string what = c.body.substr(0, 60), file = dtd + c.head + c.body + "</gpx>";
    TGPX streamed, tree, again;
    bool loaded = false;
    const auto log = load(streamed, file, &loaded);
    ASSERT_TRUE(loaded) << what;
    std::string logText;  // the lines before the counts, but the GPX 1.0 one
    for (size_t i = 0; i + 3 < log.size(); ++i)
      if (log[i] != "GPX 1.0 file, read as GPX 1.1") logText += (logText.empty() ? "" : "\n") + log[i];
    EXPECT_EQ(logText, c.log) << what;
    const std::string saved = TGPXWriter().WriteDocument(streamed);
    load(again, saved, &loaded);
    EXPECT_TRUE(loaded) << what;
    TClipboardTexts copied;
    if (streamed.Waypoints.Count() > 0 && MakeClipboardTexts(wpt(streamed, 0), streamed, 0, copied)) {
      TGPX pasted;
      load(pasted, copied.Document, &loaded);
      EXPECT_TRUE(loaded) << what;
    }
    tree.RootNamespaces = streamed.RootNamespaces;
    if (c.head.find("1/1") != std::string::npos && readTree(file, tree)) {
      EXPECT_EQ(TGPXWriter().WriteDocument(tree), saved) << what;
    }
  }
  // KML names pass to the GPX writer alike.
  TGPX doc;
  TKMLFile kml;
  kml.GPX = &doc;
  kml.ImportString(dtd.substr(0, dtd.find("<!ENTITY i")) + "]><kml><Placemark><name>&b;&b;&b;</name>"
                   "<Point><coordinates>2,1</coordinates></Point></Placemark></kml>");
  ASSERT_EQ(doc.Waypoints.Count(), 1);
  EXPECT_EQ(wpt(doc, 0).data().name, "");
  EXPECT_EQ(kml.Messages, std::vector<std::string>{"1" + text});
}

// Internal entities read as their text on both paths, and the elements of an entity's text
// as if they stood in the file; an external entity is never read.
TEST(GPXReaderUntrusted, InternalEntitiesReadAsTheirTextOnBothPaths) {
  const std::string dtd =
      "<!DOCTYPE gpx [<!ENTITY e \"x\"><!ENTITY n \"7\"><!ENTITY la \"46.5\"><!ENTITY rn \"<name>R&e;</name>\">"
      "<!ENTITY w \"<wpt lat='5' lon='6'><name>W</name></wpt>\"><!ENTITY ext SYSTEM \"file:///etc/hostname\">"
      "<!ENTITY pt \"<trkpt lat='1' lon='2'><ele>&n;</ele></trkpt>\"><!ENTITY % pe SYSTEM \"file:///etc/hostname\">%pe;"
      "<!ENTITY sm \"<name>Summit</name><ele>4808</ele>\"><!ENTITY pv \"<p:v>1</p:v>\"><!ENTITY po \"<o>&pv;</o>\">]>\n";
  const struct {
    const char* body;
    const char* saved;  // a piece of the saved file
  } cases[] = {
      {"<wpt lat='1' lon='1'><name>a&e;b</name><desc>&e;</desc><ele>&n;</ele></wpt>",
       "<ele>7</ele>\r\n\t<name>axb</name>\r\n\t<desc>x</desc>"},
      {"<wpt lat='&la;' lon='1'><name>a&e;b</name><link href='h&e;'/></wpt>",
       "<wpt lat=\"46.5\" lon=\"1\">\r\n\t<name>axb</name>\r\n\t<link href=\"hx\">"},
      {"<trk><name>&e;  T</name><trkseg>&pt;<trkpt lat='3' lon='4'/>&pt;</trkseg></trk>",
       "<name>x T</name>\r\n\t<trkseg>\r\n\t\t<trkpt lat=\"1\" lon=\"2\">\r\n\t\t\t<ele>7</ele>\r\n\t\t</trkpt>"
       "\r\n\t\t<trkpt lat=\"3\" lon=\"4\">\r\n\t\t</trkpt>\r\n\t\t<trkpt lat=\"1\" lon=\"2\">\r\n\t\t\t<ele>7</ele>"},
      {"&w;<foo>&w;</foo><wpt lat='1' lon='2'/>&w;",
       "<wpt lat=\"5\" lon=\"6\">\r\n\t<name>W</name>\r\n</wpt>\r\n<wpt lat=\"1\" lon=\"2\">\r\n</wpt>\r\n"
       "<wpt lat=\"5\" lon=\"6\">\r\n\t<name>W</name>\r\n</wpt>\r\n\r\n"},
      {"<rte>&rn;<rtept lat='1' lon='2'/></rte>", "<rte>\r\n\t<name>Rx</name>\r\n\t<rtept"},
      {"<wpt lat='1' lon='1'><cmt>c&ext;d</cmt><extensions><v>&e;&ext;</v>&w;</extensions></wpt>",
       "<cmt>cd</cmt>\r\n\t<extensions><v xmlns=\"http://www.topografix.com/GPX/1/1\">x</v>"
       "<wpt xmlns=\"http://www.topografix.com/GPX/1/1\" lat=\"5\" lon=\"6\"><name>W</name></wpt></extensions>"},
      {"<metadata><name>a&e;b</name><copyright author='a&e;b'/></metadata>",
       "<name>axb</name>\r\n\t<copyright author=\"axb\">"},
      // Each reference's elements in the namespaces in scope there, not at the first one.
      {"<wpt lat='1' lon='1'><extensions><f xmlns='urn:f'>&sm;</f></extensions></wpt><wpt lat='2' lon='2'>&sm;</wpt>"
       "<trk><trkseg><trkpt lat='3' lon='3'>&sm;</trkpt></trkseg></trk>",
       "<ele>4808</ele>\r\n\t<name>Summit</name>\r\n</wpt>\r\n\r\n<trk>\r\n\t<trkseg>\r\n\t\t<trkpt lat=\"3\" lon=\"3\">\r\n\t\t\t<ele>4808</ele>\r\n\t\t\t<name>Summit</name>"},
      {"<wpt lat='1' lon='1' xmlns:p='urn:a'><extensions><p:q>&pv;</p:q></extensions></wpt>"
       "<wpt lat='2' lon='2' xmlns:p='urn:b'><extensions><p:q>&pv;</p:q></extensions></wpt>",
       "<p:q xmlns:p=\"urn:b\"><p:v xmlns:p=\"urn:b\">1</p:v></p:q>"},
      // An entity's copy inside another's text, that other one then used elsewhere.
      {"<wpt lat='1' lon='1' xmlns:p='urn:a'><extensions>&pv;&po;</extensions></wpt>"
       "<wpt lat='2' lon='2' xmlns:p='urn:b'><extensions>&po;</extensions></wpt>",
       "<o xmlns=\"http://www.topografix.com/GPX/1/1\"><p:v xmlns:p=\"urn:b\">1</p:v></o>"},
  };
  for (const auto& c : cases) {
    const std::string text = dtd + "<gpx xmlns='http://www.topografix.com/GPX/1/1'>" + c.body + "</gpx>";
    TGPX streamed, tree;
    bool loaded = false;
    load(streamed, text, &loaded);
    ASSERT_TRUE(loaded && readTree(text, tree)) << c.body;
    const std::string saved = TGPXWriter().WriteDocument(streamed);
    EXPECT_NE(saved.find(c.saved), std::string::npos) << c.body << "\n" << saved;
    EXPECT_EQ(TGPXWriter().WriteDocument(tree), saved) << c.body;
  }
}

std::string describe(const TGPXwpt& p) {
  const TGPXwptData& d = p.data();
  std::ostringstream s;
  s.precision(17);
  s << p.Lat << '|' << p.Lon << '|' << p.Ele << '|' << p.Time << '|' << d.magvar << '|' << d.geoidheight << '|' << d.name
    << '|' << d.cmt << '|' << d.desc << '|' << d.src << '|' << d.link.Present << d.link.href << '|' << d.link.text << '|'
    << d.link.type << '|' << d.sym << '|' << d.type << '|' << d.fix << '|' << int(d.sat) << '|' << d.hdop << '|' << d.vdop
    << '|' << d.pdop << '|' << d.ageofdgpsdata << '|' << d.dgpsid << '|' << d.extensions;
  return s.str();
}

// The streaming reader reads plain points flat and the rest from trees built on the way;
// every form must read as the element reader reads it from a whole-document tree.
TEST(GPXReader, StreamedPointsReadAsFromATree) {
  const char* forms[] = {
      "<name>a</name><NAME>b</NAME><Ele>1</Ele><ele>x</ele><sat>3</sat><SAT>4</SAT>",
      "<p:ele xmlns:p='urn:p'>5</p:ele><ele>6</ele><p:name xmlns:p='urn:p'>no</p:name>",
      "<name>  two \n\t words </name><desc>\n</desc><cmt> a<![CDATA[ b ]]>c </cmt>",
      "<name>ab<![CDATA[cd]]>ef</name><cmt>ab<!-- x -->cd</cmt><src>a&amp;b&#x263A;</src>",
      "<name xml:space='preserve'> kept  </name><desc> not  kept </desc>",
      "<ele>1,5</ele><magvar>nan</magvar><geoidheight> 2e2 </geoidheight><hdop/><vdop>+1.</vdop><pdop>.5</pdop>",
      "<sat>-1</sat><dgpsid>12a</dgpsid><ageofdgpsdata>3</ageofdgpsdata><fix>DGPS</fix><sym>S</sym><type>T</type>",
      "<sat>300</sat><dgpsid> 42 </dgpsid><fix>3D</fix>",
      "<time>2008-12</time><ele>2</ele>",
      "<time>  2008-12-17T09:30:00,5+02:00  </time>",
      "<time>2008-12-17T07:30:00Z</time><time></time>",
      "<link href='http://a'><text>A</text><type>t</type></link><link>http://bare</link>",
      "<link href=''>http://text</link>",
      "<extensions><x:a xmlns:x='urn:x'>1</x:a></extensions><extensions><b>2</b>\n<c/></extensions>",
      "<extensions>x &amp; y</extensions><ele>3</ele>",
      "<name>n<i>inner</i>tail</name>",
  };
  const char* attrs[] = {"lat='1.5' lon='-2.25'", "LAT='-0' Lon=' 3 '", "lat='&#52;5' lon='1e1'", "xml:space='preserve' lat='1' lon='2'"};
  int n = 0;
  for (const char* attr : attrs)
    for (const char* form : forms) {
      std::string point = std::string("<trkpt ") + attr + ">" + form + "</trkpt>";
      std::string text = gpx("<trk><trkseg>" + point + "</trkseg></trk>");
      TGPX streamed;
      load(streamed, text);
      ASSERT_EQ(streamed.Tracks.Count(), 1) << point;
      XmlErrors errors;
      auto tree = XmlDocument::parse(text, errors);
      ASSERT_TRUE(tree) << errors.text();
      TGPXtrkseg seg;
      TGPXFile::ReadWpt(tree->root().child("trk").child("trkseg").child("trkpt"), seg);
      EXPECT_EQ(describe(*streamed.Tracks.GetTrack(0)->GetSegment(0)->GetPoint(0)), describe(*seg.GetPoint(0))) << point;
      ++n;
    }
  EXPECT_EQ(n, 64);
}


// The element readers work on a tree element alone and agree with the streaming load.
TEST(GPXReaderPaths, ElementReadersOfRoutesAndTracksAgreeWithTheStreamingLoad) {
  const std::string text = gpx(
      "<rte><name>R</name><number>4</number><extensions><line><color>ff0000</color></line>"
      "<x:e xmlns:x='urn:x'>1</x:e></extensions>"
      "<rtept lat='1' lon='2'><name>a</name></rtept><rtept lat='3' lon='4'/></rte>"
      "<trk><name>T</name><name>T2</name><trkseg><trkpt lat='5' lon='6'><ele>7</ele></trkpt></trkseg>"
      "<trkseg><extensions><x:s xmlns:x='urn:x'/></extensions></trkseg></trk>");
  TGPX streamed;
  load(streamed, text);
  XmlErrors errors;
  auto tree = XmlDocument::parse(text, errors);
  ASSERT_TRUE(tree) << errors.text();
  auto rte = TGPXFile::ReadRte(tree->root().child("rte"));
  auto trk = TGPXFile::ReadTrk(tree->root().child("trk"));
  ASSERT_TRUE(rte && trk);
  const TGPXrte& r = *streamed.Routes.GetRoute(0);
  EXPECT_EQ(rte->name, r.name);
  EXPECT_EQ(rte->number, r.number);
  EXPECT_EQ(rte->extensions, r.extensions);
  EXPECT_EQ(rte->Style.Color, r.Style.Color);
  ASSERT_EQ(rte->Count(), r.Count());
  for (int i = 0; i < r.Count(); ++i) EXPECT_EQ(describe(*rte->GetPoint(i)), describe(*r.GetPoint(i)));
  const TGPXtrk& t = *streamed.Tracks.GetTrack(0);
  EXPECT_EQ(trk->name, "T2");
  EXPECT_EQ(trk->name, t.name);
  ASSERT_EQ(trk->Count(), t.Count());
  EXPECT_EQ(trk->GetSegment(1)->extensions, t.GetSegment(1)->extensions);
  EXPECT_EQ(describe(*trk->GetSegment(0)->GetPoint(0)), describe(*t.GetSegment(0)->GetPoint(0)));
  EXPECT_EQ(TGPXFile::GetLastNodeText(tree->root().child("trk"), "NAME"), "T2");
}

}  // namespace
