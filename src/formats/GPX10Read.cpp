// GPX 1.0 elements mapped onto the GPX 1.1 model as they are read.
#include "formats/GPX10Read.h"

#include "base/NumberText.h"
#include "formats/GPXFile.h"
#include "formats/GPXReadParts.h"
#include "formats/GPXText.h"
#include "formats/ReadIssues.h"
#include "formats/WritableContent.h"

namespace {

constexpr const char* kGPX10Namespace = "http://www.topografix.com/GPX/1/0";

// A 1.0 element that GPX 1.1 lacks, as an extension element in the 1.0 namespace: valid in a
// 1.1 file's extensions, and still saying what it is.
std::string asGPX10Extension(const std::string& name, const std::string& text) {
  return "<" + name + " xmlns=\"" + kGPX10Namespace + "\">" + XMLise(text) + "</" + name + ">";
}

// Route and track extension pieces are joined by line ends, as when read from GPX 1.1.
void appendPiece(std::string& text, const std::string& piece) {
  if (piece.empty()) return;
  if (!text.empty()) text += kGPXLineEnd;
  text += piece;
}

// url and urlname: the address and the text of one link.
bool readUrl(const XmlNode& child, TGPXLink& link) {
  if (child.nameIs("url")) link.href = child.text();
  else if (child.nameIs("urlname")) link.text = child.text();
  else return false;
  link.Present = true;
  return true;
}

}  // namespace

bool GPX10Reader::isGPX10(const XmlNode& gpx) {
  const std::string ns = gpx.namespaceUri();
  if (ns == kGPX10Namespace) return true;
  return ns.empty() && trim(gpx.attribute("version").value_or(std::string())) == "1.0";
}

TGPXwpt* GPX10Reader::readWpt(const XmlNode& element, TGPXwptList& into) const {
  // Every child that GPX 1.1 knows reads as in 1.1; then the 1.0-only ones.
  TGPXwpt* pt = TGPXFile::ReadWpt(element, into, false);  // foreign ones in order below
  if (!pt) return nullptr;  // left out: its coordinates give it no place
  std::string kept;
  for (XmlNode c = element.firstChild(); c; c = c.nextSibling()) {
    if (!c.isElement()) continue;
    if (foreign(c)) kept += c.serialize();
    else if (readUrl(c, pt->edit().link)) continue;
    else if (c.nameIs("speed")) kept += asGPX10Extension("speed", c.text());
    else if (c.nameIs("course")) kept += asGPX10Extension("course", c.text());
  }
  if (!kept.empty()) pt->edit().extensions += kept;
  // Checked again: the url is written as an attribute, the extensions have grown.
  fitWritable(*pt, into, activeReadIssues());
  return pt;
}

void GPX10Reader::readDocumentChild(const XmlNode& c, TGPX& doc, bool& hasExtensions) const {
  // Some 1.0 writers borrow the extensions element of 1.1; its content is kept as in 1.1.
  const bool extensions = !foreign(c) && c.nameIs("extensions");
  if (extensions || foreign(c)) {
    doc.Extension.Text += extensions ? TGPXFile::ReadExtensions(c) : c.serialize();
    hasExtensions = true;
    return;
  }
  TGPXmetadata& m = doc.Metadata;
  if (readUrl(c, m.link)) {
    m.Present = true;
    return;
  }
  if (c.nameIs("name")) {
    m.name = c.text();
  } else if (c.nameIs("desc")) {
    m.desc = c.text();
  } else if (c.nameIs("author")) {
    m.author.name = c.text();
    m.author.Present = true;
  } else if (c.nameIs("email")) {
    // 1.0 writes the address whole; 1.1 keeps its two halves.
    const std::string address = c.text();
    const size_t at = address.rfind('@');
    m.author.email.id = address.substr(0, at);
    m.author.email.domain = at == std::string::npos ? std::string() : address.substr(at + 1);
    m.author.email.Present = m.author.Present = true;
  } else if (c.nameIs("time")) {
    m.time = TGPXFile::ISO8601ToDateTime(c.text());
  } else if (c.nameIs("keywords")) {
    m.keywords = c.text();
  } else if (c.nameIs("bounds")) {
    m.bounds = TGPXFile::ReadBounds(c);
  } else {
    return;
  }
  m.Present = true;
}

template <class RouteOrTrack>
void GPX10Reader::readRouteLike(const XmlNode& child, RouteOrTrack& item) const {
  if (foreign(child)) appendPiece(item.extensions, child.serialize());
  else if (!readUrl(child, item.link)) readRouteLikeChild(item, child);
}

void GPX10Reader::readRouteChild(const XmlNode& child, TGPXrte& route) const {
  readRouteLike(child, route);
}

void GPX10Reader::readTrackChild(const XmlNode& child, TGPXtrk& track) const {
  readRouteLike(child, track);
}

void GPX10Reader::readSegmentChild(const XmlNode& child, TGPXtrkseg& segment) const {
  if (foreign(child)) segment.extensions += child.serialize();
}
