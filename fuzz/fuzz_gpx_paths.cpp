// The two GPX reading paths, the streaming load and the element readers over a parsed
// tree, give the same document.
#include "FuzzOracles.h"
#include "formats/GPX10Read.h"
#include "formats/WritableContent.h"
#include "formats/XmlDocument.h"

namespace {

// The document walk over a whole tree, element reader by element reader.
bool readTree(const std::string& text, TGPX& doc) {
  XmlErrors errors;
  auto tree = XmlDocument::parse(text, errors);
  if (!tree) return false;
  XmlNode gpx;
  for (XmlNode c = tree->documentNode().firstChild(); c; c = c.nextSibling())
    if (c.nameIs("gpx")) gpx = c;
  // The element readers are those of GPX 1.1; a 1.0 file is mapped by the load alone.
  if (!gpx || GPX10Reader::isGPX10(gpx)) return false;
  // The root's own namespace prefixes are kept for the writer, as the load keeps them.
  for (auto& [prefix, uri] : gpx.namespaceDeclarations())
    if (!prefix.empty() && prefix != "xsi" && prefix != "xml") doc.RootNamespaces.emplace_back(prefix, uri);
  for (XmlNode c = gpx.firstChild(); c; c = c.nextSibling()) {
    if (c.nameIs("metadata")) {
      TGPXFile::ReadMetadata(c, doc.Metadata);
    } else if (c.nameIs("wpt")) {
      TGPXFile::ReadWpt(c, doc.Waypoints);
    } else if (c.nameIs("rte")) {
      doc.Routes.Add(TGPXFile::ReadRte(c));
    } else if (c.nameIs("trk")) {
      doc.Tracks.Add(TGPXFile::ReadTrk(c));
    } else if (c.nameIs("extensions")) {
      doc.Extension.Text = TGPXFile::ReadExtensions(c);
    }
  }
  fitWritableRootNamespaces(doc, nullptr);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzzText(data, size);
  TGPX streamed, tree;
  const bool loaded = fuzzLoadGPX(text, streamed);
  // The push and the whole-text parser of the XML library may disagree on broken input;
  // the readers are compared where both parsed.
  if (!readTree(text, tree) || !loaded) return 0;
  FUZZ_CHECK(fuzzCounts(streamed) == fuzzCounts(tree));
  FUZZ_CHECK_SAME(fuzzWriteGPX(streamed), fuzzWriteGPX(tree), "both paths save the same");
  return 0;
}
