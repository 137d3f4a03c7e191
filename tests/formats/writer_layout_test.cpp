// The layout rules the golden files do not show: values left out, the line style conditions,
// per-writer line ends, and output handed over in pieces.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "formats/GPXWriter.h"
#include "writer_fixture.h"

namespace {

const char* const kLine = "\t\t<line xmlns=\"http://www.topografix.com/GPX/gpx_style/0/2\">\r\n";

struct LayoutCase {
  const char* name;
  std::function<void(TGPX&)> build;
  bool gpxStyle;
  std::string body;  // what follows the gpx start tag, up to "</gpx>"
};

TEST(WriterLayout, ValuesAndStylesAreLeftOutOrWrittenAsTheRulesSay) {
  const LayoutCase cases[] = {
      {"only none values", [](TGPX& g) { addPoint(g.Waypoints, 0, 0)->edit(); }, false,
       "<wpt lat=\"0\" lon=\"0\">\r\n</wpt>\r\n\r\n"},
      {"sat 0 and dgpsid 0 are values",
       [](TGPX& g) {
         TGPXwpt* p = addPoint(g.Waypoints, 1, 2);
         p->edit().sat = 0;
         p->edit().dgpsid = 0;
       },
       false, "<wpt lat=\"1\" lon=\"2\">\r\n\t<sat>0</sat>\r\n\t<dgpsid>0</dgpsid>\r\n</wpt>\r\n\r\n"},
      {"colour with style support off",
       [](TGPX& g) { g.Routes.Add(std::make_unique<TGPXrte>())->Style.SetColorHex("FF0000"); },
       false, "<rte>\r\n</rte>\r\n\r\n"},
      {"opacity 1 and no colour", [](TGPX& g) { g.Tracks.Add(std::make_unique<TGPXtrk>()); },
       true, "<trk>\r\n</trk>\r\n\r\n"},
      {"opacity -0.5 alone",
       [](TGPX& g) { g.Tracks.Add(std::make_unique<TGPXtrk>())->Style.Opacity = -0.5; }, true,
       std::string("<trk>\r\n\t<extensions>\r\n") + kLine +
           "\t\t\t<opacity>0.5</opacity>\r\n\t\t</line>\r\n\t</extensions>\r\n</trk>\r\n\r\n"},
      {"a style read from the file, style support off",
       [](TGPX& g) {
         auto* r = g.Routes.Add(std::make_unique<TGPXrte>());
         r->Style.SetColorHex("ff8000");
         r->Style.FromFile = true;
       },
       false,
       std::string("<rte>\r\n\t<extensions>\r\n") + kLine +
           "\t\t\t<color>ff8000</color>\r\n\t\t</line>\r\n\t</extensions>\r\n</rte>\r\n\r\n"},
      // A value that is no number has no GPX form: it is left out like a none value.
      {"values that are no number",
       [](TGPX& g) {
         TGPXwpt* p = addPoint(g.Waypoints, 1, 2, std::nan(""), std::nan(""));
         p->edit().hdop = HUGE_VAL;
         p->edit().magvar = -HUGE_VAL;
         g.Metadata.Present = true;
         g.Metadata.time = HUGE_VAL;
       },
       false, "<metadata>\r\n</metadata>\r\n<wpt lat=\"1\" lon=\"2\">\r\n</wpt>\r\n\r\n"},
      {"blank top-level extension text", [](TGPX& g) { g.Extension.Text = " \r\n "; }, false, ""},
      {"empty schema-required attributes, short year",
       [](TGPX& g) {
         g.Metadata.Present = g.Metadata.copyright.Present = true;
         g.Metadata.copyright.year = 999;
         g.Metadata.link.Present = true;
       },
       false,
       "<metadata>\r\n\t<copyright author=\"\">\r\n\t\t<year>0999</year>\r\n\t</copyright>\r\n"
       "\t<link href=\"\">\r\n\t</link>\r\n</metadata>\r\n"},
  };
  for (const auto& c : cases) {
    TGPX gpx;
    c.build(gpx);
    const std::string text = TGPXWriter(false, c.gpxStyle).WriteDocument(gpx);
    const size_t start = text.find(">\r\n", text.find("<gpx ")) + 3;
    EXPECT_EQ(text.substr(start), c.body + "</gpx>") << c.name;
  }
}

TEST(WriterLayout, CompressedWriterLeavesTheNextWriterIndented) {
  auto gpx = makeFullDocument();
  const std::string compressed = TGPXWriter(true, true).WriteDocument(*gpx);
  EXPECT_EQ(compressed.find_first_of("\r\n\t"), std::string::npos);
  TGPX small;
  addPoint(small.Waypoints, 1, 2, 3);
  EXPECT_EQ(TGPXWriter().ExportGPXWPTList(small.Waypoints),
            "<wpt lat=\"1\" lon=\"2\">\r\n\t<ele>3</ele>\r\n</wpt>\r\n");
}

TEST(WriterLayout, SinkReceivesTheWholeTextInPieces) {
  TGPX gpx;
  TGPXtrkseg* seg =
      gpx.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
  for (int i = 0; i < 30000; ++i) addPoint(*seg, i * 1e-4, -i * 1e-4, i, 40000 + i / 86400.0);
  TGPXWriter chunked;
  std::string joined, buffer;
  int pieces = 0;
  chunked.Sink = [&](std::string_view piece) {
    joined += piece;
    ++pieces;
  };
  chunked.WriteDocument(buffer, gpx);
  EXPECT_EQ(joined, TGPXWriter().WriteDocument(gpx));
  EXPECT_GT(pieces, 1);
}

}  // namespace

#include "formats/GPXFile.h"

TEST(WriterLayout, ColoursReadFromAFileSurviveASaveWithTheStyleOptionOff) {
  const std::string plain =
      "<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
      "<trk><name>coloured</name><extensions><line xmlns=\"http://www.topografix.com/GPX/gpx_style/0/2\">"
      "<color>FF8000</color><opacity>0.5</opacity></line></extensions>"
      "<trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>";
  TGPX gpx;
  TGPXFile file;
  file.GPX = &gpx;
  file.LoadFromString(plain);
  ASSERT_EQ(gpx.Tracks.Count(), 1);
  const TGPX_StyleLine& style = gpx.Tracks.GetTrack(0)->Style;
  ASSERT_FALSE(style.IsColorUnset());
  EXPECT_TRUE(style.FromFile);
  const std::string written = TGPXWriter(false, false).WriteDocument(gpx);
  EXPECT_NE(written.find("<color>ff8000</color>"), std::string::npos) << written;
  EXPECT_NE(written.find("<opacity>0.5</opacity>"), std::string::npos) << written;
}
