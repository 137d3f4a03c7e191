// The web map page: golden pages, the data's bounds, numbers, colours and escaped user text.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../formats/format_test_helpers.h"
#include "ViewFixtures.h"
#include "views/GPXToGmap.h"

namespace {

void fixedAddresses(TGMapConfig& c) {
  c.ScriptProvider = "file:///opt/corvantel/web";
  c.ApiKey = "KEY-1";
  c.MarkerServer = "https://markers.example";
  c.SmallMarkerServer = "https://small.example";
  c.MapnikTiles = "https://tiles-1.example";
  c.OSMCycleTiles = "https://tiles-2.example";
  c.OSMAerialTiles = "https://tiles-3.example";
  c.OSMPisteTiles = "https://tiles-4.example";
  c.MapDataSite = "https://data.example";
  c.LicenceSite = "https://licence.example";
}

TGPXwpt* addWaypoint(TGPX& gpx, double lat, double lon, const std::string& name) {
  TGPXwpt* w = addPoint(gpx.Waypoints, lat, lon);
  w->edit().name = name;
  return w;
}

// Every kind of item, with text that needs escaping and line styles.
void fillFullDocument(TGPX& gpx) {
  TGPXwptData& a = addWaypoint(gpx, 45.5, 6.25, "Hut \"Alpha\" & <b>O'Neil</b> C:\\maps\r\nnext")->edit();
  a.desc = "Line one\r\nline two & <i>";
  a.cmt = "Keep left";
  a.link = {"https://example.org/?a=1&b=2", "Alpha's page", "", true};
  addWaypoint(gpx, 45.25, 6.125, "<img src=x onerror=alert(1)></script>")->edit().link = {"javascript:alert(1)", "", "", true};
  TGPXrte* r = addRoute(gpx, {{45, 6}, {45.5, 6.5}, {46, 7}});
  r->Style.Color = 0x00FF8000;
  r->Style.Opacity = 0.5;
  addRoute(gpx, {{45, 6}, {47, 6.5}, {45, 7}});
  TGPXtrk* t = addTrack(gpx);
  t->Style.Color = 0x00123456;
  addSegment(*t, {{44.9, 5.9}, {44.95, 5.95}, {44.9, 6.1}});
  addSegment(*t, {});
  addSegment(*addTrack(gpx), {{45.1, 6.3}, {45.2, 6.4}});
}

std::string fullPage() {
  TGPX gpx;
  fillFullDocument(gpx);
  TGMap map;
  fixedAddresses(map.Config);
  TGMapOptions& o = map.Options;
  o.AutoHide = o.Scale = o.OverView = o.ExtensionLineColor = true;
  o.MapTypeMapnik = o.MapTypeOSMCycle = o.MapTypeOSMAerial = o.MapTypeOSMPiste = true;
  o.Control = 2;
  o.TrackColor = "0000FF";
  o.RouteColor = "abcdef";
  map.GPX = &gpx;
  return map.GetPageHTML();
}

// A track alone, every option off, and a colour setting that is no colour.
std::string plainPage() {
  TGPX gpx;
  addSegment(*addTrack(gpx), {{10, 20}, {10.5, 20.001}, {11, 20}, {11, 21}});
  TGMap map;
  fixedAddresses(map.Config);
  map.Options = {false, false, 0, false, false, false, false, false, false, false,
                 false, false, false, false, "F00\");alert(1);//", "00DD00", false, false, false};
  map.GPX = &gpx;
  return map.GetPageHTML();
}

TEST(MapPage, MatchesTheGoldenPagesByteForByte) {
  // CORVANTEL_UPDATE_GOLDEN=1 rewrites the files after a deliberate change of the page.
  const bool update = std::getenv("CORVANTEL_UPDATE_GOLDEN") != nullptr;
  const std::pair<const char*, std::string> pages[] = {{"map_page_full.htm", fullPage()},
                                                       {"map_page_plain.htm", plainPage()}};
  for (const auto& [name, text] : pages) {
    const std::string path = std::string(CORVANTEL_TEST_DATA) + "/" + name;
    if (update) writeWholeFile(path, text);
    EXPECT_EQ(text, readWholeFile(path)) << name;
  }
}

TEST(MapPage, HostileTextNeitherEndsTheScriptNorBreaksItsSyntax) {
  const std::string page = fullPage();
  size_t ends = 0;
  for (size_t at = page.find("</script"); at != std::string::npos; at = page.find("</script", at + 1)) ++ends;
  EXPECT_EQ(ends, 2u);  // the provider's script element and the page's own
  if (!programExists("/usr/bin/node")) GTEST_SKIP() << "node is not installed";
  const size_t from = page.find("//<![CDATA[");
  const std::string file = ::testing::TempDir() + "corvantel-map-page.js";
  writeWholeFile(file, page.substr(from, page.find("//]]>") - from));
  std::string out;
  EXPECT_EQ(runCommand("/usr/bin/node --check " + file + " 2>&1", out), 0) << out;
}

// "s n o e" of the page's box lines, or the empty text for an empty page.
std::string pageBox(TGPX& gpx) {
  TGMap map;
  map.GPX = &gpx;
  const std::string page = map.GetPageHTML();
  std::string box;
  for (const char* name : {"var s = ", "var n = ", "var o = ", "var e = "}) {
    const size_t at = page.find(name);
    if (at == std::string::npos) return box;
    const size_t from = at + 8;
    box += (box.empty() ? "" : " ") + page.substr(from, page.find(';', from) - from);
  }
  return box;
}

TEST(MapPage, BoundsCoverTheDataAndIgnoreEmptyLists) {
  struct Case {
    const char* name;
    void (*fill)(TGPX&);
    const char* box;
  } cases[] = {
      {"nothing", [](TGPX&) {}, ""},
      {"one waypoint", [](TGPX& g) { addWaypoint(g, 45, 6, "w"); }, "44.999 45.001 5.999 6.001"},
      {"one waypoint and an empty route",
       [](TGPX& g) {
         addWaypoint(g, 45, 6, "w");
         addRoute(g, {});
       },
       "44.999 45.001 5.999 6.001"},
      {"empty segments beside a full one",
       [](TGPX& g) {
         TGPXtrk* t = addTrack(g);
         addSegment(*t, {});
         addSegment(*t, {{10, 20}, {11, 21}});
         addSegment(*addTrack(g), {});
       },
       "10 11 20 21"},
      {"only an empty track", [](TGPX& g) { addTrack(g); }, "0 0 0 0"},
  };
  for (const Case& c : cases) {
    TGPX gpx;
    c.fill(gpx);
    EXPECT_EQ(pageBox(gpx), c.box) << c.name;
  }
}

TEST(MapPage, NumbersAndColoursTakeThePageForm) {
  const std::pair<double, const char*> numbers[] = {
      {0.00001, "0.00001"}, {-0.000015, "-0.000015"}, {0.000001, "1E-6"}, {0.0001, "0.0001"}, {44.999, "44.999"}};
  for (auto [v, text] : numbers) EXPECT_EQ(pageNumberText(v), text) << v;
  const std::pair<const char*, const char*> colours[] = {
      {"00ff00", "00ff00"}, {"A0B1C2", "A0B1C2"}, {"", "FF0000"}, {"red", "FF0000"}, {"FF00000", "FF0000"},
      {"FF000\"", "FF0000"}};
  for (auto [setting, used] : colours) EXPECT_EQ(validMapColor(setting, "FF0000"), used) << setting;
  const std::pair<const char*, const char*> tiles[] = {
      {"https://a.example/{z}/{x}/{y}.png", "https://a.example"},
      {"http://a.example/{z}/{x}/{y}.png  https://b.example:8080/p/{z}/{x}/{y} ", "https://b.example:8080"},
      {"https://c.example", "https://c.example"}};
  for (auto [templates, server] : tiles) EXPECT_EQ(tileServerAddress(templates), server) << templates;
}

TEST(MapPage, WaypointTextIsEscapedForHtmlInsideAScriptString) {
  struct Case {
    const char* name;
    const char* desc;
    TGPXLink link;
    const char* html;  // after the coordinates
  } cases[] = {
      {"<img src=x onerror=alert(1)>", "", {}, "<DIV CLASS=\"BName\">&lt;img src=x onerror=alert(1)&gt;</DIV>"},
      {"a</script>b", "", {}, "<DIV CLASS=\"BName\">a&lt;/script&gt;b</DIV>"},
      {"say \"hi\", it's C:\\d", "", {}, "<DIV CLASS=\"BName\">say  hi , it s C:\\\\d</DIV>"},
      {"two\r\nlines\rthree\xE2\x80\xA8x\ny", "", {}, "<DIV CLASS=\"BName\">two lines three x y</DIV>"},
      {"", "1\r\n2\r3\n4\xE2\x80\xA9" "5 & <b>", {},
       "<DIV CLASS=\"BName\"></DIV><P>1<BR/>2<BR/>3<BR/>4<BR/>5 &amp; &lt;b&gt;</P>"},
      {"", "", {"javascript:alert(1)", "x", "", true}, "<DIV CLASS=\"BName\"></DIV>"},
      {"", "", {" http://x.org", "", "", true}, "<DIV CLASS=\"BName\"></DIV>"},
      {"", "", {"http", "", "", true}, "<DIV CLASS=\"BName\"></DIV>"},
      {"", "", {"https://x.org/?a=1&b=\"2\"\n", "Tom's <site>", "", true},
       "<DIV CLASS=\"BName\"></DIV><P><A HREF=\"https://x.org/?a=1&amp;b=&quot;2&quot;\" TARGET=\"_BLANK\" "
       "ALT=\"Tom s &lt;site&gt;\">Tom s &lt;site&gt;</A></P>"},
      {"", "", {"MAILTO:a@b.c", "", "", true},
       "<DIV CLASS=\"BName\"></DIV><P><A HREF=\"MAILTO:a@b.c\" TARGET=\"_BLANK\">MAILTO:a@b.c</A></P>"},
  };
  for (const Case& c : cases) {
    TGPXwpt w;
    w.Lat = 45;
    w.Lon = -6;
    w.edit().name = c.name;
    w.edit().desc = c.desc;
    w.edit().link = c.link;
    const std::string coords = "<DIV CLASS=\"BCoord\">" + w.LatLonToStr() + "</DIV>";
    EXPECT_EQ(waypointInfoHtml(w), coords + c.html + "&nbsp;<BR/>") << c.name << c.desc << c.link.href;
  }
}

}  // namespace
