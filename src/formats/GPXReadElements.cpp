// The GPX element readers: each turns one element (a subtree) into model objects.
#include <cstdint>

#include "base/NumberText.h"
#include "formats/GPXFile.h"
#include "formats/GPXReadParts.h"
#include "formats/ReadIssues.h"
#include "formats/WritableContent.h"
#include "formats/XmlNode.h"

void readStyledExtensions(const XmlNode& extensions, std::string& text, TGPX_StyleLine& style) {
  // A second extensions element (or another program's element beside them) adds to what
  // was read, so nothing of the file is lost.
  for (XmlNode c = extensions.firstChild(); c; c = c.nextSibling()) {
    if (c.nameIsExactly("line")) {
      // Remembered so that saving keeps the colours even with the style option off.
      style.FromFile = true;
      std::string color = c.childText("color");
      if (!color.empty()) style.SetColorHex(color);
      std::string opacity = c.childText("opacity");
      if (!opacity.empty()) style.SetOpacityStr(opacity);
      continue;
    }
    std::string piece = c.serialize();
    // Text beside the elements loses its surrounding white space, as the pieces are joined
    // by line ends: kept, it would gain a line end at every save.
    if (c.type() == XmlNode::Type::Text && !xmlPreservesSpace(extensions.raw())) piece = trim(piece);
    if (piece.empty()) continue;
    // Text next to text (around a style line, or from two extensions elements) is saved as
    // one text, whose line end the next read gives as LF: joined so from the start.
    const bool afterText = c.type() == XmlNode::Type::Text && !text.empty() && text.back() != '>';
    text += afterText ? "\n" : kGPXLineEnd;
    text += piece;
  }
  text = trim(text);
}

void appendForeignPiece(std::string& text, const XmlNode& element) {
  if (!text.empty()) text += kGPXLineEnd;
  text += element.serialize();
}

std::string TGPXFile::GetLastNodeText(const XmlNode& element, const std::string& name) {
  return element.childText(name);
}

std::string TGPXFile::GetExtensionNodeContent(const XmlNode& element, const std::string& name) {
  XmlNode ext = element.child(name);
  return ext ? trim(ext.serializeChildren()) : std::string();
}

std::string TGPXFile::ReadExtensions(const XmlNode& element) {
  std::string text = trim(element.serializeChildren());
  fitWritableDocumentExtensions(text, activeReadIssues());
  return text;
}

TGPXLink TGPXFile::ReadLink(const XmlNode& element) {
  TGPXLink link;
  link.href = element.attribute("href").value_or(std::string());
  // The element's own text stands for the address only when it holds nothing else:
  // the texts of its text and type children are no address.
  if (link.href.empty() && !element.hasChildElements()) link.href = element.text();
  link.text = element.childText("text");
  link.type = element.childText("type");
  link.Present = true;
  return link;
}

TGPXemail TGPXFile::ReadEmail(const XmlNode& element) {
  // GPX 1.1 carries the parts as attributes; older files as child elements.
  TGPXemail email;
  auto id = element.attribute("id");
  auto domain = element.attribute("domain");
  email.id = id ? *id : element.childText("id");
  email.domain = domain ? *domain : element.childText("domain");
  email.Present = true;
  return email;
}

TGPXperson TGPXFile::ReadPerson(const XmlNode& element) {
  TGPXperson person;
  person.name = element.childText("name");
  // A bare <author>Name</author>; with child elements the whole text would mix in the
  // e-mail and link texts.
  if (person.name.empty() && !element.hasChildElements()) person.name = element.text();
  if (XmlNode e = element.child("email")) person.email = ReadEmail(e);
  if (XmlNode l = element.child("link")) person.link = ReadLink(l);
  person.Present = true;
  return person;
}

TGPXcopyright TGPXFile::ReadCopyright(const XmlNode& element) {
  TGPXcopyright c;
  if (auto author = element.attribute("author")) c.author = *author;
  c.year = parseIntOr(element.childText("year"), -1);
  c.license = element.childText("license");
  c.Present = true;
  return c;
}

TGPXbounds TGPXFile::ReadBounds(const XmlNode& element) {
  TGPXbounds b;
  if (!element.hasAttributes()) return b;
  if (auto v = element.attribute("minlat")) b.minlat = parseFloatOr(*v, 0);
  if (auto v = element.attribute("minlon")) b.minlon = parseFloatOr(*v, 0);
  if (auto v = element.attribute("maxlat")) b.maxlat = parseFloatOr(*v, 0);
  if (auto v = element.attribute("maxlon")) b.maxlon = parseFloatOr(*v, 0);
  b.Present = true;
  return b;
}

namespace {

// A time element's text; an unreadable one is no time, counted for the log.
double readTime(const std::string& text) {
  double t = 0;
  if (!text.empty() && !TGPXFile::TryISO8601ToDateTime(text, t))
    if (TReadIssues* issues = activeReadIssues()) ++issues->refusedTimes;
  return t;
}

// 0 to 254 satellites; anything else is none (255), not its low byte.
uint8_t readSat(const std::string& text) {
  const int n = parseIntOr(text, 255);
  return n >= 0 && n <= 254 ? uint8_t(n) : uint8_t(255);
}

}  // namespace

void TGPXFile::ReadMetadata(const XmlNode& element, TGPXmetadata& into) {
  into = TGPXmetadata();
  into.name = element.childText("name");
  into.desc = element.childText("desc");
  if (XmlNode a = element.child("author")) into.author = ReadPerson(a);
  if (XmlNode c = element.child("copyright")) into.copyright = ReadCopyright(c);
  if (XmlNode l = element.child("link")) into.link = ReadLink(l);
  into.time = readTime(element.childText("time"));
  into.keywords = element.childText("keywords");
  if (XmlNode b = element.child("bounds")) into.bounds = ReadBounds(b);
  into.extensions = GetExtensionNodeContent(element, "extensions");
  into.Present = true;
  fitWritable(into, activeReadIssues());
}

namespace {

// An elevation that is a number counts as given, 0 included; anything else is none.
void readEle(TGPXwpt& pt, const std::string& text) {
  double value = 0;
  const bool given = parseFloatStrict(text, value);
  pt.Ele = given ? value : 0;
  pt.ElePresent = given;
}

// One child of a point that holds text; XmlNode and XmlFlatRecord::Piece alike. A later
// element of a name overwrites an earlier one, so the last one wins.
template <class Child>
void readWptTextChild(TGPXwpt& pt, const Child& c) {
  if (c.nameIs("ele")) readEle(pt, c.text());
  else if (c.nameIs("time")) pt.Time = readTime(c.text());
  else if (c.nameIs("magvar")) pt.edit().magvar = parseFloatOr(c.text(), 0);
  else if (c.nameIs("geoidheight")) pt.edit().geoidheight = parseFloatOr(c.text(), 0);
  else if (c.nameIs("name")) pt.edit().name = c.text();
  else if (c.nameIs("cmt")) pt.edit().cmt = c.text();
  else if (c.nameIs("desc")) pt.edit().desc = c.text();
  else if (c.nameIs("src")) pt.edit().src = c.text();
  else if (c.nameIs("sym")) pt.edit().sym = c.text();
  else if (c.nameIs("type")) pt.edit().type = c.text();
  else if (c.nameIs("fix")) pt.edit().fix = toLowerAscii(c.text());
  else if (c.nameIs("sat")) pt.edit().sat = readSat(c.text());
  else if (c.nameIs("hdop")) pt.edit().hdop = parseFloatOr(c.text(), -1.0);
  else if (c.nameIs("vdop")) pt.edit().vdop = parseFloatOr(c.text(), -1.0);
  else if (c.nameIs("pdop")) pt.edit().pdop = parseFloatOr(c.text(), -1.0);
  else if (c.nameIs("ageofdgpsdata")) pt.edit().ageofdgpsdata = parseFloatOr(c.text(), -1.0);
  else if (c.nameIs("dgpsid")) pt.edit().dgpsid = parseIntOr(c.text(), -1);
}

// A new point at the element's coordinates; null when they are missing, no number or off
// the globe: such a point has no place, and putting it at 0 would invent one.
template <class Element>
std::unique_ptr<TGPXwpt> newWpt(const Element& e) {
  auto lat = e.attribute("lat");
  auto lon = e.attribute("lon");
  double la = 0, lo = 0;
  const bool readable = lat && lon && parseFloatStrict(*lat, la) && parseFloatStrict(*lon, lo);
  TReadIssues ignored;
  TReadIssues* issues = activeReadIssues();
  if (!(issues ? issues : &ignored)->acceptCoordinates(readable, la, lo)) return nullptr;
  auto pt = std::make_unique<TGPXwpt>();
  pt->Lat = la;
  pt->Lon = lo;
  return pt;
}

TGPXwpt* appendWpt(std::unique_ptr<TGPXwpt> pt, TGPXwptList& into) {
  fitWritable(*pt, into, activeReadIssues());
  into.Present = true;
  return into.AddPoint(std::move(pt));
}

}  // namespace

// A prefixed child is no GPX element; the tree tells its namespace.
bool wptChildNeedsTree(const XmlName& child) {
  return child.is("link") || child.is("extensions") || child.prefix != nullptr;
}

TGPXwpt* TGPXFile::ReadWpt(const XmlNode& element, TGPXwptList& into, bool keepForeign) {
  auto pt = newWpt(element);
  if (!pt) return nullptr;
  std::string foreign;
  for (XmlNode c = element.firstChild(); c; c = c.nextSibling()) {
    if (!c.isElement()) continue;
    if (keepForeign && c.namespaceUri() != element.namespaceUri()) {
      // Some writers put their own elements (a geocache's description, say) straight into
      // a point instead of its extensions: kept there, so that saving loses nothing.
      foreign += c.serialize();
    } else if (c.nameIs("link")) {
      pt->edit().link = ReadLink(c);
    } else if (c.nameIs("extensions")) {
      // gpsbabel gives a point a second one (its segment's extensions): both are kept.
      pt->edit().extensions += trim(c.serializeChildren());
    } else {
      readWptTextChild(*pt, c);
    }
  }
  pt->edit().extensions += foreign;
  return appendWpt(std::move(pt), into);
}

TGPXwpt* readWptRecord(const XmlFlatRecord& element, TGPXwptList& into) {
  auto pt = newWpt(element);
  if (!pt) return nullptr;
  for (size_t i = 0; i < element.pieceCount(); ++i) {
    const XmlFlatRecord::Piece& c = element.pieceAt(i);
    if (c.isElement()) readWptTextChild(*pt, c);
  }
  return appendWpt(std::move(pt), into);
}

std::unique_ptr<TGPXtrkseg> TGPXFile::ReadTrkseg(const XmlNode& element) {
  auto seg = std::make_unique<TGPXtrkseg>();
  for (XmlNode c = element.firstChild(); c; c = c.nextSibling()) {
    if (c.nameIs("trkpt")) ReadWpt(c, *seg);
    else if (c.nameIs("extensions")) seg->extensions = trim(c.serializeChildren());
  }
  fitWritableExtensions(seg->extensions, 4, activeReadIssues());
  return seg;
}

std::unique_ptr<TGPXrte> TGPXFile::ReadRte(const XmlNode& element) {
  auto rte = std::make_unique<TGPXrte>();
  for (XmlNode c = element.firstChild(); c; c = c.nextSibling()) {
    if (c.nameIs("rtept")) ReadWpt(c, *rte);
    else if (c.isElement()) readRouteLikeChild(*rte, c);
  }
  finishRouteLike(*rte);
  return rte;
}

std::unique_ptr<TGPXtrk> TGPXFile::ReadTrk(const XmlNode& element) {
  auto trk = std::make_unique<TGPXtrk>();
  for (XmlNode c = element.firstChild(); c; c = c.nextSibling()) {
    if (c.nameIs("trkseg")) trk->Add(ReadTrkseg(c));
    else if (c.isElement()) readRouteLikeChild(*trk, c);
  }
  finishRouteLike(*trk);
  return trk;
}
