// The clipboard's document and plain text, byte for byte.
#include <gtest/gtest.h>

#include "formats/GPXClipboard.h"
#include "formats/GPXFile.h"

namespace {

const std::string kStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
    "<gpx version=\"1.1\" creator=\"R&amp;D &lt;1&gt;\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:ext=\"urn:e\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n";
const std::string kCSVHeader =
    "Latitude;Longitude;ele;time;magvar;geoidheight;name;cmt;desc;src;link;sym;wtype;fix;sat;"
    "hdop;vdop;pdop;ageofdgpsdata;dgpsid;extensions\r\n";

}  // namespace

TEST(ClipboardTexts, OneWaypointInBothTextFormatsAndAnEmptyList) {
  TGPX gpx;
  gpx.Creator = "R&D <1>";
  gpx.RootNamespaces = {{"ext", "urn:e"}};  // the source's prefixes stay declared
  auto w = std::make_unique<TGPXwpt>();
  w->Lat = 45.5;
  w->Lon = -6.25;
  w->Ele = 1000;
  w->edit().name = "A&B";
  TGPXwpt* point = gpx.Waypoints.AddPoint(std::move(w));
  const std::string element =
      "<wpt lat=\"45.5\" lon=\"-6.25\">\r\n\t<ele>1000</ele>\r\n\t<name>A&amp;B</name>\r\n</wpt>\r\n";
  TGPXwptList empty;
  const struct {
    const TItem* item;
    int format;
    std::string document, text;
    int count;
  } cases[] = {
      {point, 0, kStart + element + "</gpx>", element, 1},
      {point, 1, kStart + element + "</gpx>", kCSVHeader + "45.5;-6.25;1000;;;;A&B;;;;;;;;;;;;;;\r\n", 1},
      {&gpx.Waypoints, 2, kStart + element + "</gpx>", element, 1},
      {&empty, 0, kStart + "</gpx>", "", 0},
  };
  for (const auto& c : cases) {
    TClipboardTexts texts;
    ASSERT_TRUE(MakeClipboardTexts(*c.item, gpx, c.format, texts));
    EXPECT_EQ(texts.Document, c.document);
    EXPECT_EQ(texts.Text, c.text);
    EXPECT_EQ(texts.Count, c.count);
  }
  TClipboardTexts none;
  EXPECT_FALSE(MakeClipboardTexts(gpx.Metadata, gpx, 0, none));
}

TEST(ClipboardTexts, PrefixedExtensionsReadBack) {
  TGPX source;
  source.RootNamespaces = {{"ext", "urn:e"}};
  auto w = std::make_unique<TGPXwpt>();
  w->edit().extensions = "<ext:depth>4</ext:depth>";
  TGPXwpt* point = source.Waypoints.AddPoint(std::move(w));
  TClipboardTexts texts;
  ASSERT_TRUE(MakeClipboardTexts(*point, source, 0, texts));
  TGPX target;
  TGPXFile reader;
  reader.GPX = &target;
  reader.LoadFromString(texts.Document);
  ASSERT_TRUE(reader.Loaded);
  ASSERT_EQ(target.Waypoints.Count(), 1);
  EXPECT_NE(target.Waypoints.GetPoint(0)->data().extensions.find(
                "<ext:depth xmlns:ext=\"urn:e\">4</ext:depth>"),
            std::string::npos);
}
