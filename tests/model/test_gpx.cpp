// Document model: waypoint defaults and copies, line style texts, selection, options.
#include <gtest/gtest.h>

#include "model/GPX.h"

namespace {
TEST(Waypoint, NewWaypointHasUnsetSentinels) {
  TGPXwpt w;
  const TGPXwptData& d = w.data();
  EXPECT_FALSE(w.HasData());
  EXPECT_EQ(w.Time, 0);
  EXPECT_EQ(w.Mark, 0);
  EXPECT_TRUE(w.Visible);
  EXPECT_EQ(d.sat, 255);
  EXPECT_EQ(d.hdop, -1.0);
  EXPECT_EQ(d.vdop, -1.0);
  EXPECT_EQ(d.pdop, -1.0);
  EXPECT_EQ(d.ageofdgpsdata, -1.0);
  EXPECT_EQ(d.dgpsid, -1);
  EXPECT_EQ(d.magvar, 0);
  EXPECT_EQ(d.geoidheight, 0);
  EXPECT_FALSE(d.link.Present);
  EXPECT_STREQ(w.className(), "TGPXwpt");
}

TEST(Waypoint, CopyIsDeepAndCarriesEveryField) {
  TGPXwpt a;
  a.Lat = 1;
  a.Lon = 2;
  a.Ele = 3;
  a.Time = 4;
  a.Mark = 5;
  a.Visible = false;
  a.edit().name = "Summit";
  a.edit().link.href = "http://example.org/";
  a.edit().link.Present = true;
  a.edit().sat = 7;

  TGPXwpt b(a);
  EXPECT_EQ(b.Lat, 1);
  EXPECT_EQ(b.Time, 4);
  EXPECT_EQ(b.Mark, 5);
  EXPECT_FALSE(b.Visible);
  EXPECT_EQ(b.data().name, "Summit");
  EXPECT_TRUE(b.data().link.Present);
  EXPECT_EQ(b.data().sat, 7);
  b.edit().name = "Other";
  EXPECT_EQ(a.data().name, "Summit");

  // Copying a point without rare fields drops the target's.
  TGPXwpt plain;
  b = plain;
  EXPECT_FALSE(b.HasData());
  EXPECT_EQ(b.data().name, "");
  EXPECT_TRUE(b.Visible);
}

TEST(LineStyle, ColorTexts) {
  EXPECT_EQ(ColorToHex(0x0000FF), "FF0000");
  EXPECT_EQ(ColorToHex(0x00FF0000), "0000FF");
  EXPECT_EQ(ColorToHex(0x01123456), "563412");
  struct Case {
    const char* text;
    uint32_t color;
  } cases[] = {
      {"ff", 0xFF0000},
      {"FF0000", 0x0000FF},
      {"  12345678  ", 0x563412},
      {"zz00ff", 0xFF0000},
      {"1z2233", 0x332200},
      {"", 0},
      {"\xC3\xA9\xC3\xA9\xC3\xA9", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(HexToColor(c.text), c.color) << c.text;
}

TEST(LineStyle, UnsetColourAndOpacity) {
  TGPX_StyleLine s;
  EXPECT_TRUE(s.IsColorUnset());
  EXPECT_EQ(s.GetColorHex(), "000000");
  EXPECT_EQ(s.GetOpacityStr(), "1");
  s.SetColorHex("000000");
  EXPECT_FALSE(s.IsColorUnset());

  struct Case {
    const char* text;
    double opacity;
    const char* back;
  } cases[] = {
      {"0.5", 0.5, "0.5"},  {"-0.4", 0.4, "0.4"}, {"abc", 1.0, "1"},
      {"", 1.0, "1"},       {"0,5", 1.0, "1"},    {" 0.25 ", 0.25, "0.25"},
      {"1e999", 1.0, "1"},  {"nan", 1.0, "1"},
  };
  for (const auto& c : cases) {
    s.Opacity = 0.75;
    s.SetOpacityStr(c.text);
    EXPECT_EQ(s.Opacity, c.opacity) << c.text;
    EXPECT_EQ(s.GetOpacityStr(), c.back) << c.text;
  }
  s.Opacity = -0.3;
  EXPECT_EQ(s.GetOpacityStr(), "0.3");
}

TEST(Document, NewDocumentIsEmptyAndItemsKeepTheirClassNames) {
  TGPX gpx;
  EXPECT_FALSE(gpx.Metadata.Present || gpx.Waypoints.Present || gpx.Routes.Present ||
               gpx.Tracks.Present);
  EXPECT_TRUE(gpx.Waypoints.Visible && gpx.Routes.Visible && gpx.Tracks.Visible);
  TGPXrte rte;
  TGPXtrkseg seg;
  TGPXtrk trk;
  const std::pair<const TItem*, const char*> names[] = {
      {&rte, "TGPXrte"},           {&seg, "TGPXtrkseg"},           {&trk, "TGPXtrk"},
      {&gpx.Waypoints, "TGPXwptList"}, {&gpx.Routes, "TGPXrteList"}, {&gpx.Tracks, "TGPXtrkList"},
      {&gpx.Metadata, "TGPXmetadata"},
  };
  for (const auto& [item, name] : names) EXPECT_STREQ(item->className(), name);
}

TEST(Selection, IdentityAndRouteOrSegment) {
  TGPX gpx;
  TGPXrte* r = gpx.Routes.Add(std::make_unique<TGPXrte>());
  TGPXtrk* t = gpx.Tracks.Add(std::make_unique<TGPXtrk>());
  TGPXtrkseg* s = t->Add(std::make_unique<TGPXtrkseg>());
  TGPXrte twin;  // equal in value, another object

  TGPXSelection& sel = gpx.Selection;
  sel.Add(nullptr);
  sel.Add(t);
  EXPECT_FALSE(sel.HasRouteOrSegment());
  EXPECT_TRUE(sel.Contains(t));
  EXPECT_FALSE(sel.Contains(r));
  sel.Add(s);
  EXPECT_TRUE(sel.HasRouteOrSegment());
  sel.Clear();
  sel.Add(r);
  EXPECT_TRUE(sel.HasRouteOrSegment());
  EXPECT_FALSE(sel.Contains(&twin));

  TGPXSelection copy;
  copy.Add(t);
  copy.Assign(sel);
  EXPECT_EQ(copy.Count(), 0);
}

TEST(Options, CopyCarriesEveryFieldWithUserAgent) {
  TGPXOptions a;
  EXPECT_EQ(a.FileHistory, 8);
  EXPECT_EQ(a.ElevationDatabase, 2);
  a.GPXStyle = true;
  a.ProxyType = 2;
  a.SocksIP = "10.0.0.1";
  a.UserAgent = "Corvantel/0.1 (Linux)";
  TGPXOptions b;
  b.Assign(a);
  EXPECT_TRUE(b.GPXStyle);
  EXPECT_EQ(b.ProxyType, 2);
  EXPECT_EQ(b.SocksIP, "10.0.0.1");
  EXPECT_EQ(b.UserAgent, "Corvantel/0.1 (Linux)");
}
}  // namespace
