// Extension text typed by a user: accepted only when the file it goes into stays readable.
#include <gtest/gtest.h>

#include "formats/GPXFile.h"
#include "formats/GPXWriter.h"
#include "formats/XmlFragmentCheck.h"

TEST(XmlFragmentCheck, AcceptsWhatAReaderCanLoadBack) {
  struct Case {
    const char* text;
    bool sound;
  } cases[] = {
      {"", true},
      {"  \r\n ", true},
      {"plain text &amp; more", true},
      {"<a>1</a><b x=\"2\"/>", true},
      {"<g:hr xmlns:g=\"urn:x\">120</g:hr>", true},
      {"<xsi:a/>", true},  // declared on the gpx element
      {"<gpxx:Depth>3</gpxx:Depth>", false},  // a prefix declared nowhere
      {"<a>", false},
      {"</extensions><name>x</name><extensions>", false},  // would step out of its element
      {"<a>&e;</a>", false},                                // an entity nothing defines
      {"<a b=\"1\" b=\"2\"/>", false},
      {"a < b", false},
      {"<?xml version=\"1.0\"?><a/>", false},
  };
  const TGPX plain;
  for (const Case& c : cases) EXPECT_EQ(GPXExtensionTextError(c.text, plain).empty(), c.sound) << c.text;
}

// A prefix that the read file declared on its gpx element stays declared there when saved,
// so typed text may use it.
TEST(XmlFragmentCheck, PrefixesOfTheGpxElementStayUsable) {
  TGPX gpx;
  TGPXFile file;
  file.GPX = &gpx;
  file.LoadFromString("<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                      "xmlns:gpxx=\"urn:garmin\"><wpt lat=\"1\" lon=\"2\"/></gpx>");
  const std::string typed = "<gpxx:Depth>3</gpxx:Depth><xsi:a/>";
  ASSERT_EQ(GPXExtensionTextError(typed, gpx), "");
  gpx.Waypoints.GetPoint(0)->edit().extensions = typed;
  TGPX copy;
  copy.Assign(gpx);  // an undo copy keeps them as well
  TGPX back;
  TGPXFile again;
  again.GPX = &back;
  again.LoadFromString(TGPXWriter().WriteDocument(copy));
  ASSERT_EQ(back.Waypoints.Count(), 1);
  EXPECT_EQ(back.RootNamespaces, gpx.RootNamespaces);
  EXPECT_NE(back.Waypoints.GetPoint(0)->data().extensions.find("urn:garmin"), std::string::npos);
}
