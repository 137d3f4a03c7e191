// The bound on entity text measures what the parser really produces: checked against an
// unguarded parse of the same input, whatever an entity's text mixes.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <random>
#include <string>
#include <vector>

#include "formats/XmlDocument.h"
#include "formats/XmlStream.h"

namespace {

size_t length(const xmlChar* s) { return s ? size_t(xmlStrlen(s)) : 0; }

// A tree's texts, comments, instructions, names and values.
size_t treeBytes(const xmlNode* n) {
  size_t total = 0;
  for (; n; n = n->next) {
    if (n->type == XML_ELEMENT_NODE) {
      total += length(n->name) + treeBytes(n->children);
      for (const xmlAttr* a = n->properties; a; a = a->next) total += length(a->name) + treeBytes(a->children);
    } else if (n->type == XML_PI_NODE) {
      total += length(n->name) + length(n->content);
    } else if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE || n->type == XML_COMMENT_NODE) {
      total += length(n->content);
    }
  }
  return total;
}

// libxml2 alone, entities substituted, no bound of ours.
size_t unguardedTreeBytes(const std::string& text) {
  xmlDocPtr doc = xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr,
                                XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  EXPECT_TRUE(doc) << text;
  const size_t bytes = doc ? treeBytes(xmlDocGetRootElement(doc)) : 0;
  xmlFreeDoc(doc);
  return bytes;
}

struct Walker : XmlStreamHandler {
  Kind classify(const XmlName&) override { return Kind::Subtree; }
  void subtree(const XmlNode&) override {}
};

TEST(XmlEntityGuard, CountsWhatAnUnguardedParseProduces) {
  // Pieces of entity text; "&#38;" becomes a bare "&" in the text, which starts no
  // reference inside a comment, section or instruction, and a real one outside.
  const std::vector<std::string> markup = {"<!--c&#38;-->", "<![CDATA[&#38;d&#38;n;]]>", "<?p &#38;e;?>",
                                           "<i>t&n;</i>", "<i a='&n;&#38;#38;' b='&#38;n;'/>"};
  const std::vector<std::string> plain = {"ab", "&#38;#38;", "&#x20AC;", "&n;", "&#38;n;", "&#38;amp;"};
  std::mt19937 random(34);
  std::string namespaces;  // many in scope, none of them used by an entity's text
  for (int i = 0; i < 300; ++i) namespaces += " xmlns:n" + std::to_string(i) + "='urn:" + std::to_string(i) + "'";
  auto mix = [&](const std::vector<std::vector<std::string>>& from, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
      const auto& list = from[random() % from.size()];
      out += list[random() % list.size()];
    }
    return out;
  };
  for (int round = 0; round < 300; ++round) {
    // The padding keeps libxml2's own rough guard, which weighs references against the text
    // read so far, from refusing such short texts.
    const std::string pad(200, 'p'), note = "<!--" + std::string(200, ' ') + "-->";
    const std::string t = pad + mix({plain}, 4), u = pad + mix({plain, {"&t;"}}, 4);
    const std::string m = note + mix({plain, markup, {"&t;"}}, 5), a = note + mix({markup, {"&m;", "&t;"}}, 4);
    // u is declared by a parameter entity's text, which decodes character references once
    // more, and ends with another one's; the default values refer to entities but land nowhere.
    std::string inner = u;
    for (size_t at = 0; (at = inner.find("&#", at)) != std::string::npos; at += 6) inner.replace(at, 2, "&#38;#");
    const std::string dtd = "<!--" + std::string(20000, ' ') + "--><!DOCTYPE gpx [<!ENTITY n 'nn&#38;#38;x'>" +
                            "<!ENTITY t \"" + t + "\"><!ENTITY % z 'zz'><!ENTITY % pu '<!ENTITY u \"" + inner +
                            "&#37;z;\">'>%pu;<!ENTITY m \"" + m + "\"><!ENTITY a \"" + a +
                            "\"><!ATTLIST f d CDATA '&u;&t;'>]>";
    const std::string attribute = mix({{"&u;", "&t;", "&n;"}}, 3), content = mix({{"&a;", "&m;", "&t;", "&n;"}}, 3);
    auto file = [&](const std::string& att, const std::string& text) {
      return dtd + "<gpx" + namespaces + "><wpt lat='1' lon='2'><link href='" + att + "'/><desc>" + text +
             "</desc><f x='" + att + "'>" + text + "</f></wpt></gpx>";
    };
    const std::string text = file(attribute, content);
    const size_t unguarded = unguardedTreeBytes(text) - unguardedTreeBytes(file("", ""));
    XmlErrors errors;
    auto tree = XmlDocument::parse(text, errors);
    ASSERT_TRUE(tree) << errors.text() << "\n" << text;
    EXPECT_EQ(tree->entityTextBytes(), unguarded) << text;
    XmlStream stream;
    Walker walker;
    ASSERT_TRUE(stream.parseMemory(text, walker)) << text;
    EXPECT_EQ(stream.entityTextBytes(), unguarded) << text;
  }
}

}  // namespace
