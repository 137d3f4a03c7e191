// The XML layer: names without regard to case, normalised text, serialisation with
// namespaces, safe parsing and error collection.
#include <gtest/gtest.h>

#include <string>

#include "formats/XmlDocument.h"
#include "formats/XmlStream.h"

namespace {

std::unique_ptr<XmlDocument> parseOk(const std::string& text) {
  XmlErrors errors;
  auto doc = XmlDocument::parse(text, errors);
  EXPECT_TRUE(doc) << errors.text();
  return doc;
}

TEST(XmlNode, TextIsNormalisedUnlessPreserved) {
  struct Case {
    const char* xml;
    const char* text;
  } cases[] = {
      {"<a>  one\n\t two  </a>", "one two"},
      {"<a>x<![CDATA[ <y> ]]>z</a>", "x <y> z"},
      {"<a><b> one </b>\n  <c>two</c> three</a>", "one two three"},
      {"<a>  \n </a>", ""},
      {"<a xml:space=\"preserve\">  one\n two </a>", "  one\n two "},
      {"<r xml:space=\"preserve\"><a> x </a></r>", " x "},
      {"<r xml:space=\"preserve\"><a xml:space=\"default\"> x  y </a></r>", "x y"},
      {"<a>caf\xC3\xA9 &amp; &#x263A;</a>", "caf\xC3\xA9 & \xE2\x98\xBA"},
  };
  for (const auto& c : cases) {
    auto doc = parseOk(c.xml);
    XmlNode a = doc->root();
    if (!a.nameIs("a")) a = a.child("a");
    EXPECT_EQ(a.text(), c.text) << c.xml;
  }
}

TEST(XmlNode, NamesAndAttributesIgnoreCaseLastChildWins) {
  auto doc = parseOk("<R xmlns:p='urn:p' LAT='1' p:Lon='2'><Name>a</Name><p:x/><NAME>b</NAME></R>");
  XmlNode r = doc->root();
  EXPECT_EQ(r.name(), "R");
  EXPECT_EQ(r.attribute("lat").value_or("-"), "1");
  EXPECT_EQ(r.attribute("P:LON").value_or("-"), "2");
  EXPECT_FALSE(r.attribute("lon"));  // the prefix is part of the name as written
  EXPECT_EQ(r.childText("name"), "b");
  EXPECT_EQ(r.childElements("name").size(), 2u);
  EXPECT_TRUE(r.child("P:X"));
  EXPECT_FALSE(r.child("x"));
  EXPECT_EQ(r.childText("missing"), "");
}

TEST(XmlNode, DescendantsInDocumentOrder) {
  auto doc = parseOk("<k><f><p id='1'/><g><P id='2'/></g></f><p id='3'/></k>");
  auto found = doc->root().descendants("p");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].attribute("id").value(), "1");
  EXPECT_EQ(found[1].attribute("id").value(), "2");
  EXPECT_EQ(found[2].attribute("id").value(), "3");
  EXPECT_EQ(found[1].parent().name(), "g");
}

TEST(XmlNode, SerialisedChildrenCarryTheirNamespaces) {
  auto doc = parseOk(
      "<gpx xmlns='http://www.topografix.com/GPX/1/1' xmlns:gpxtpx='urn:tpx'>"
      "<extensions>\n  <gpxtpx:TPE>\n    <gpxtpx:hr>120</gpxtpx:hr>\n  </gpxtpx:TPE>\n"
      "  <!-- note -->\n</extensions></gpx>");
  XmlNode ext = doc->root().child("extensions");
  EXPECT_EQ(ext.serializeChildren(),
            "<gpxtpx:TPE xmlns:gpxtpx=\"urn:tpx\"><gpxtpx:hr>120</gpxtpx:hr></gpxtpx:TPE><!-- note -->");
}

TEST(XmlNode, SerialisationKeepsPreservedSpaceAndEscapes) {
  auto doc = parseOk("<r><e xml:space='preserve'> <b>a &lt; b</b> </e></r>");
  // xmlns="": a piece in no namespace stays in none wherever it is written.
  EXPECT_EQ(doc->root().child("e").serialize(), "<e xmlns=\"\" xml:space=\"preserve\"> <b>a &lt; b</b> </e>");
}

TEST(XmlDocument, ParseErrorsAreCollectedWithCode) {
  XmlErrors errors;
  auto doc = XmlDocument::parse("<a><b></a>", errors);
  EXPECT_FALSE(doc);
  ASSERT_TRUE(errors.hasFatal());
  std::string line = errors.failureLine();
  EXPECT_NE(line.find("mismatch"), std::string::npos) << line;
  EXPECT_EQ(line.substr(line.size() - 5), "(76).");
}

TEST(XmlDocument, InternalEntitiesAreExpandedExternalOnesNeverFetched) {
  const std::string text =
      "<!DOCTYPE a [<!ENTITY ext SYSTEM \"file:///etc/hostname\"><!ENTITY in \"INNER\">]>"
      "<a>x&ext;&in;y</a>";
  XmlErrors errors;
  auto doc = XmlDocument::parse(text, errors);
  ASSERT_TRUE(doc) << errors.text();
  EXPECT_EQ(doc->root().text(), "xINNERy");
}

TEST(XmlDocument, MissingFileFailsWithMessage) {
  XmlErrors errors;
  EXPECT_FALSE(XmlDocument::parseFile("/nonexistent/x.gpx", errors));
  EXPECT_NE(errors.failureLine().find("/nonexistent/x.gpx"), std::string::npos);
}

// Records what the stream hands over.
struct Recorder : XmlStreamHandler {
  std::string log;
  Kind classify(const XmlName& e) override {
    if (e.is("list")) return Kind::Container;
    if (e.is("skip")) return Kind::Skip;
    return Kind::Subtree;
  }
  void subtree(const XmlNode& e) override { log += e.name() + "=" + e.text() + ";"; }
  void endContainer(const XmlNode& e) override { log += "/" + e.name() + ";"; }
};

TEST(XmlStream, HandsOverChildrenOfContainers) {
  Recorder r;
  XmlStream s;
  ASSERT_TRUE(s.parseMemory("<list><a>1</a><!--c--> t <skip><a>no</a></skip><list><b> 2 <i>x</i></b></list></list>", r));
  EXPECT_EQ(r.log, "a=1;b=2 x;/list;/list;");
}

TEST(XmlStream, ErrorAfterContentFails) {
  Recorder r;
  XmlStream s;
  EXPECT_FALSE(s.parseMemory("<list><a>1</a></list><extra/>", r));
  EXPECT_TRUE(s.errors().hasFatal());
}

}  // namespace
