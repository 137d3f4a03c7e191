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
  for (const Case& c : cases) EXPECT_EQ(GPXExtensionTextError(c.text).empty(), c.sound) << c.text;

  // A prefix in scope of the element is accepted.
  EXPECT_EQ(XmlContentFragmentError("<gpxx:Depth>3</gpxx:Depth>", {{"gpxx", "urn:garmin"}}), "");
}

TEST(XmlFragmentCheck, SoundTextSavesIntoAFileThatLoads) {
  TGPX gpx;
  auto w = std::make_unique<TGPXwpt>();
  w->edit().extensions = "<g:hr xmlns:g=\"urn:x\">120</g:hr><xsi:a/>";
  ASSERT_EQ(GPXExtensionTextError(w->data().extensions), "");
  gpx.Waypoints.AddPoint(std::move(w));
  TGPX back;
  TGPXFile file;
  file.GPX = &back;
  file.LoadFromString(TGPXWriter().WriteDocument(gpx));
  ASSERT_EQ(back.Waypoints.Count(), 1);
  EXPECT_NE(back.Waypoints.GetPoint(0)->data().extensions.find("120"), std::string::npos);
}
