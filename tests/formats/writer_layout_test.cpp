// The exact layout of written GPX: values left out, empty lines, indentation, line style.
#include <gtest/gtest.h>

#include <functional>

#include "formats/GPXWriter.h"
#include "writer_fixture.h"

namespace {

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
    "<gpx version=\"1.1\" creator=\"\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n";

struct LayoutCase {
  const char* name;
  std::function<void(TGPX&)> build;
  bool gpxStyle;
  std::string body;  // between the gpx start tag and "</gpx>"
};

TEST(WriterLayout, DocumentsAreWrittenByteForByte) {
  const LayoutCase cases[] = {
      {"empty document", [](TGPX&) {}, false, ""},
      {"waypoint at 0,0 has no children",
       [](TGPX& g) { addPoint(g.Waypoints, 0, 0); }, false,
       "<wpt lat=\"0\" lon=\"0\">\r\n</wpt>\r\n\r\n"},
      {"none values are left out, 0.5 is not",
       [](TGPX& g) {
         TGPXwpt* p = addPoint(g.Waypoints, 1, 2, 0.5);
         p->edit().sat = 255;
         p->edit().hdop = -1.0;
         addPoint(g.Waypoints, 3, 4, 0, 0);
       },
       false,
       "<wpt lat=\"1\" lon=\"2\">\r\n\t<ele>0.5</ele>\r\n</wpt>\r\n"
       "<wpt lat=\"3\" lon=\"4\">\r\n</wpt>\r\n\r\n"},
      {"sat 0 and dgpsid 0 are values",
       [](TGPX& g) {
         TGPXwpt* p = addPoint(g.Waypoints, 1, 2);
         p->edit().sat = 0;
         p->edit().dgpsid = 0;
       },
       false,
       "<wpt lat=\"1\" lon=\"2\">\r\n\t<sat>0</sat>\r\n\t<dgpsid>0</dgpsid>\r\n</wpt>\r\n\r\n"},
      {"link with an ampersand in href",
       [](TGPX& g) {
         fillLink(addPoint(g.Waypoints, 1, 2)->edit().link, "http://x.org/?a=1&b=2", "", "");
       },
       false,
       "<wpt lat=\"1\" lon=\"2\">\r\n\t<link href=\"http://x.org/?a=1&amp;b=2\">\r\n"
       "\t</link>\r\n</wpt>\r\n\r\n"},
      {"colour with style support off writes no extensions",
       [](TGPX& g) {
         auto r = std::make_unique<TGPXrte>();
         r->Style.SetColorHex("FF0000");
         g.Routes.Add(std::move(r));
       },
       false, "<rte>\r\n</rte>\r\n\r\n"},
      {"opacity 1 and no colour writes no line",
       [](TGPX& g) { g.Tracks.Add(std::make_unique<TGPXtrk>()); }, true,
       "<trk>\r\n</trk>\r\n\r\n"},
      {"opacity 0.5 alone",
       [](TGPX& g) {
         auto t = std::make_unique<TGPXtrk>();
         t->Style.Opacity = -0.5;
         t->Add(std::make_unique<TGPXtrkseg>());
         g.Tracks.Add(std::move(t));
       },
       true,
       "<trk>\r\n\t<extensions>\r\n"
       "\t\t<line xmlns=\"http://www.topografix.com/GPX/gpx_style/0/2\">\r\n"
       "\t\t\t<opacity>0.5</opacity>\r\n\t\t</line>\r\n\t</extensions>\r\n"
       "\t<trkseg>\r\n\t</trkseg>\r\n</trk>\r\n\r\n"},
      {"a style read from the file is written with style support off",
       [](TGPX& g) {
         auto r = std::make_unique<TGPXrte>();
         r->Style.SetColorHex("ff8000");
         r->Style.FromFile = true;
         r->extensions = "<x:a xmlns:x=\"urn:x\"/>";
         addPoint(*r, 1, 2);
         g.Routes.Add(std::move(r));
       },
       false,
       "<rte>\r\n\t<extensions>\r\n"
       "\t\t<line xmlns=\"http://www.topografix.com/GPX/gpx_style/0/2\">\r\n"
       "\t\t\t<color>ff8000</color>\r\n\t\t</line>\r\n"
       "<x:a xmlns:x=\"urn:x\"/>\t</extensions>\r\n"
       "\t<rtept lat=\"1\" lon=\"2\">\r\n\t</rtept>\r\n</rte>\r\n\r\n"},
      {"blank top-level extension text is left out",
       [](TGPX& g) { g.Extension.Text = " \r\n "; }, false, ""},
      {"metadata: author without e-mail, copyright without year, bounds",
       [](TGPX& g) {
         g.Metadata.Present = true;
         g.Metadata.author.Present = true;
         g.Metadata.copyright.Present = true;
         g.Metadata.copyright.year = 999;
         g.Metadata.bounds = {1, 2, 3, 4, true};
       },
       false,
       "<metadata>\r\n\t<author>\r\n\t</author>\r\n"
       "\t<copyright author=\"\">\r\n\t\t<year>0999</year>\r\n\t</copyright>\r\n"
       "\t<bounds minlat=\"1\" minlon=\"2\" maxlat=\"3\" maxlon=\"4\" />\r\n</metadata>\r\n"},
  };
  for (const auto& c : cases) {
    TGPX gpx;
    c.build(gpx);
    TGPXWriter writer(false, c.gpxStyle);
    EXPECT_EQ(writer.WriteDocument(gpx), kHead + c.body + "</gpx>") << c.name;
  }
}

TEST(WriterLayout, ThreeWaypointsThenOneEmptyLine) {
  TGPX gpx;
  for (int i = 0; i < 3; ++i) addPoint(gpx.Waypoints, i, i);
  addPoint(*gpx.Routes.Add(std::make_unique<TGPXrte>()), 5, 5);
  const std::string text = TGPXWriter().WriteDocument(gpx);
  EXPECT_NE(text.find("<wpt lat=\"2\" lon=\"2\">\r\n</wpt>\r\n\r\n<rte>\r\n"), std::string::npos);
  EXPECT_NE(text.find("</rte>\r\n\r\n</gpx>"), std::string::npos);
}

TEST(WriterLayout, CompressedIsOneLineAndLeavesTheNextWriterAlone) {
  auto gpx = makeFullDocument();
  const std::string compressed = TGPXWriter(true, true).WriteDocument(*gpx);
  EXPECT_EQ(compressed.find('\n'), std::string::npos);
  EXPECT_EQ(compressed.find('\t'), std::string::npos);
  EXPECT_EQ(compressed.rfind("</gpx>"), compressed.size() - 6);

  // The clipboard's exporters keep CR LF and TAB whatever was saved before.
  TGPX small;
  addPoint(small.Waypoints, 1, 2, 3);
  EXPECT_EQ(TGPXWriter().ExportGPXWPTList(small.Waypoints),
            "<wpt lat=\"1\" lon=\"2\">\r\n\t<ele>3</ele>\r\n</wpt>\r\n");
  EXPECT_EQ(TGPXWriter().ExportGPXRTEList(small.Routes), "");
  EXPECT_EQ(TGPXWriter().ExportGPXTRKList(small.Tracks), "");
}

TEST(WriterLayout, SinkReceivesTheWholeTextInPieces) {
  TGPX gpx;
  auto* seg = [&] {
    auto t = std::make_unique<TGPXtrk>();
    auto* s = t->Add(std::make_unique<TGPXtrkseg>());
    gpx.Tracks.Add(std::move(t));
    return s;
  }();
  for (int i = 0; i < 30000; ++i)
    addPoint(*seg, i * 1e-4, -i * 1e-4, i, encodeDateTime(2020, 1, 1) + i / 86400.0);
  const TGPXWriter plain;
  const std::string whole = plain.WriteDocument(gpx);

  TGPXWriter chunked;
  std::string joined;
  int pieces = 0;
  chunked.Sink = [&](std::string_view piece) {
    joined += piece;
    ++pieces;
  };
  std::string buffer;
  chunked.WriteDocument(buffer, gpx);
  EXPECT_EQ(joined, whole);
  EXPECT_GT(pieces, 1);
  EXPECT_TRUE(buffer.empty());
}

}  // namespace
