// Writes a GPX document, or one of its lists, as GPX 1.1 text.
#include "formats/GPXWriter.h"

#include <cmath>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/GPXText.h"

namespace {

constexpr std::string_view kGPXNamespace = "http://www.topografix.com/GPX/1/1";
constexpr std::string_view kXSINamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view kGPXSchema = "http://www.topografix.com/GPX/1/1/gpx.xsd";
constexpr std::string_view kStyleNamespace = "http://www.topografix.com/GPX/gpx_style/0/2";

// Pieces handed to the sink are about this large: big enough for few writes, small enough
// that a huge track never sits in memory twice.
constexpr size_t kChunk = 1 << 20;

void appendAttribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendXMLText(out, value, XmlTextKind::Attribute);
  out += '"';
}

void appendNumberAttribute(std::string& out, std::string_view name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendGPXNumber(out, value);
  out += '"';
}

}  // namespace

TGPXWriter::TGPXWriter(bool compressed, bool gpxStyle)
    : LineEnd(compressed ? "" : "\r\n"), Indent(compressed ? "" : "\t"), GPXStyle(gpxStyle) {}

void TGPXWriter::indent(std::string& out, int depth) const {
  if (Indent.empty()) return;
  for (int i = 0; i < depth; ++i) out += Indent;
}

void TGPXWriter::flushIfLarge(std::string& out) const {
  if (Sink && out.size() >= kChunk) {
    Sink(out);
    out.clear();
  }
}

void TGPXWriter::openElement(std::string& out, std::string_view name, int depth) const {
  indent(out, depth);
  out += '<';
  out += name;
  out += '>';
}

void TGPXWriter::closeElement(std::string& out, std::string_view name) const {
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
}

void TGPXWriter::writeLine(std::string& out, std::string_view text, int depth) const {
  indent(out, depth);
  out += text;
  out += LineEnd;
}

void TGPXWriter::WriteText(std::string& out, std::string_view text, std::string_view name,
                           bool raw, int depth) const {
  if (text.empty()) return;
  // Written as it stands, its line breaks included, so that other programs see them; no
  // xml:space, which the GPX schema does not allow. Reading joins the lines, as in any file.
  openElement(out, name, depth);
  appendXMLText(out, text, raw ? XmlTextKind::Raw : XmlTextKind::Element);
  closeElement(out, name);
}

void TGPXWriter::WriteInt(std::string& out, int64_t value, std::string_view name, int depth,
                          int64_t none) const {
  if (value == none) return;
  openElement(out, name, depth);
  out += formatInt(value);
  closeElement(out, name);
}

void TGPXWriter::WriteDouble(std::string& out, double value, std::string_view name, int depth,
                             double none) const {
  // A value that is no number has no GPX form either; it counts as none.
  if (value == none || !std::isfinite(value)) return;
  openElement(out, name, depth);
  appendGPXNumber(out, value);
  closeElement(out, name);
}

void TGPXWriter::WriteTime(std::string& out, double value, std::string_view name, int depth,
                           double none) const {
  // A time outside the years 1 to 9999 has no four-digit form that reads back as itself.
  if (value == none || !isInYearRange(value)) return;
  openElement(out, name, depth);
  appendGPXTime(out, value);
  closeElement(out, name);
}

void TGPXWriter::WriteLink(std::string& out, const TGPXLink& link, int depth) const {
  indent(out, depth);
  out += "<link";
  // href is required by the schema: an empty one is still written, so a valid file stays valid.
  appendAttribute(out, "href", link.href);
  out += '>';
  out += LineEnd;
  WriteText(out, link.text, "text", false, depth + 1);
  WriteText(out, link.type, "type", false, depth + 1);
  writeLine(out, "</link>", depth);
}

void TGPXWriter::WriteWpt(std::string& out, const TGPXwpt& point, std::string_view name,
                          int depth) const {
  indent(out, depth);
  out += '<';
  out += name;
  appendNumberAttribute(out, "lat", point.Lat);
  appendNumberAttribute(out, "lon", point.Lon);
  out += '>';
  out += LineEnd;
  const int d = depth + 1;
  if (point.ElePresent && point.Ele == 0) {
    openElement(out, "ele", d);
    out += '0';
    closeElement(out, "ele");
  } else {
    WriteDouble(out, point.Ele, "ele", d, 0);
  }
  WriteTime(out, point.Time, "time", d);
  if (point.HasData()) {
    const TGPXwptData& x = point.data();
    WriteDouble(out, x.magvar, "magvar", d, 0);
    WriteDouble(out, x.geoidheight, "geoidheight", d, 0);
    WriteText(out, x.name, "name", false, d);
    WriteText(out, x.cmt, "cmt", false, d);
    WriteText(out, x.desc, "desc", false, d);
    WriteText(out, x.src, "src", false, d);
    if (x.link.Present) WriteLink(out, x.link, d);
    WriteText(out, x.sym, "sym", false, d);
    WriteText(out, x.type, "type", false, d);
    WriteText(out, x.fix, "fix", false, d);
    WriteInt(out, x.sat, "sat", d, 255);
    WriteDouble(out, x.hdop, "hdop", d, -1.0);
    WriteDouble(out, x.vdop, "vdop", d, -1.0);
    WriteDouble(out, x.pdop, "pdop", d, -1.0);
    WriteDouble(out, x.ageofdgpsdata, "ageofdgpsdata", d, -1.0);
    WriteInt(out, x.dgpsid, "dgpsid", d, -1);
    WriteText(out, x.extensions, "extensions", true, d);
  }
  indent(out, depth);
  closeElement(out, name);
}

void TGPXWriter::writePoints(std::string& out, const TGPXwptList& list, std::string_view name,
                             int depth) const {
  for (const auto& p : list.Items()) {
    WriteWpt(out, static_cast<const TGPXwpt&>(*p), name, depth);
    flushIfLarge(out);
  }
}

void TGPXWriter::writeStyleAndExtensions(std::string& out, const TGPX_StyleLine& style,
                                         const std::string& extensions) const {
  const bool hasColor = !style.IsColorUnset();
  const bool hasOpacity = std::fabs(style.Opacity) < 1;
  const bool writeStyle = (GPXStyle || style.FromFile) && (hasColor || hasOpacity);
  if (!writeStyle && extensions.empty()) return;
  writeLine(out, "<extensions>", 1);
  if (writeStyle) {
    indent(out, 2);
    out += "<line";
    appendAttribute(out, "xmlns", kStyleNamespace);
    out += '>';
    out += LineEnd;
    if (hasColor) WriteText(out, toLowerAscii(style.GetColorHex()), "color", false, 3);
    if (hasOpacity) {
      openElement(out, "opacity", 3);
      appendGPXNumber(out, std::fabs(style.Opacity));
      closeElement(out, "opacity");
    }
    writeLine(out, "</line>", 2);
  }
  appendXMLText(out, extensions, XmlTextKind::Raw);
  writeLine(out, "</extensions>", 1);
}

// Routes and tracks describe themselves with the same elements, in the same order.
template <class RouteOrTrack>
void TGPXWriter::writeHeader(std::string& out, const RouteOrTrack& item) const {
  WriteText(out, item.name, "name", false, 1);
  WriteText(out, item.cmt, "cmt", false, 1);
  WriteText(out, item.desc, "desc", false, 1);
  WriteText(out, item.src, "src", false, 1);
  if (item.link.Present) WriteLink(out, item.link, 1);
  WriteInt(out, item.number, "number", 1, -1);
  WriteText(out, item.type, "type", false, 1);
  writeStyleAndExtensions(out, item.Style, item.extensions);
}

void TGPXWriter::WriteRte(std::string& out, const TGPXrte& route) const {
  writeLine(out, "<rte>", 0);
  writeHeader(out, route);
  writePoints(out, route, "rtept", 1);
  writeLine(out, "</rte>", 0);
}

void TGPXWriter::WriteTrk(std::string& out, const TGPXtrk& track) const {
  writeLine(out, "<trk>", 0);
  writeHeader(out, track);
  for (const auto& seg : track.Items()) {
    writeLine(out, "<trkseg>", 1);
    writePoints(out, *seg, "trkpt", 2);
    WriteText(out, seg->extensions, "extensions", true, 2);
    writeLine(out, "</trkseg>", 1);
  }
  writeLine(out, "</trk>", 0);
}

void TGPXWriter::WriteMetadata(std::string& out, const TGPXmetadata& m) const {
  writeLine(out, "<metadata>", 0);
  WriteText(out, m.name, "name", false, 1);
  WriteText(out, m.desc, "desc", false, 1);
  if (m.author.Present) {
    writeLine(out, "<author>", 1);
    WriteText(out, m.author.name, "name", false, 2);
    if (m.author.email.Present) {
      indent(out, 2);
      out += "<email";
      appendAttribute(out, "id", m.author.email.id);
      appendAttribute(out, "domain", m.author.email.domain);
      out += "/>";
      out += LineEnd;
    }
    if (m.author.link.Present) WriteLink(out, m.author.link, 2);
    writeLine(out, "</author>", 1);
  }
  if (m.copyright.Present) {
    indent(out, 1);
    out += "<copyright";
    // author is required by the schema: an empty one is still written.
    appendAttribute(out, "author", m.copyright.author);
    out += '>';
    out += LineEnd;
    if (m.copyright.year != -1) {
      openElement(out, "year", 2);
      // A gYear has at least four digits: year 999 of a file is written 0999.
      appendIntPadded(out, m.copyright.year, 4);
      closeElement(out, "year");
    }
    WriteText(out, m.copyright.license, "license", false, 2);
    writeLine(out, "</copyright>", 1);
  }
  if (m.link.Present) WriteLink(out, m.link, 1);
  WriteTime(out, m.time, "time", 1);
  WriteText(out, m.keywords, "keywords", false, 1);
  if (m.bounds.Present) {
    indent(out, 1);
    out += "<bounds";
    appendNumberAttribute(out, "minlat", m.bounds.minlat);
    appendNumberAttribute(out, "minlon", m.bounds.minlon);
    appendNumberAttribute(out, "maxlat", m.bounds.maxlat);
    appendNumberAttribute(out, "maxlon", m.bounds.maxlon);
    out += " />";
    out += LineEnd;
  }
  WriteText(out, m.extensions, "extensions", true, 1);
  writeLine(out, "</metadata>", 0);
}

std::string TGPXWriter::ExportGPXWPTList(const TGPXwptList& list) const {
  std::string out;
  writePoints(out, list, "wpt", 0);
  return out;
}

std::string TGPXWriter::ExportGPXRTEList(const TGPXrteList& list) const {
  std::string out;
  for (const auto& r : list.Items()) WriteRte(out, *r);
  return out;
}

std::string TGPXWriter::ExportGPXTRKList(const TGPXtrkList& list) const {
  std::string out;
  for (const auto& t : list.Items()) WriteTrk(out, *t);
  return out;
}

std::vector<XmlNamespaceDecl> TGPXWriter::RootNamespaces(const TGPX& gpx) {
  std::vector<XmlNamespaceDecl> out{{"", std::string(kGPXNamespace)}, {"xsi", std::string(kXSINamespace)}};
  for (const auto& [prefix, uri] : gpx.RootNamespaces)
    if (!prefix.empty() && prefix != "xsi" && prefix != "xml") out.push_back({prefix, uri});
  return out;
}

void TGPXWriter::WriteStartTag(std::string& out, const TGPX& gpx) const {
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>";
  out += LineEnd;
  out += "<gpx";
  appendAttribute(out, "version", "1.1");
  appendAttribute(out, "creator", gpx.Creator);
  for (const XmlNamespaceDecl& ns : RootNamespaces(gpx))
    appendAttribute(out, ns.prefix.empty() ? "xmlns" : "xmlns:" + ns.prefix, ns.uri);
  std::string location(kGPXNamespace);
  location += ' ';
  location += kGPXSchema;
  appendAttribute(out, "xsi:schemaLocation", location);
  out += '>';
  out += LineEnd;
}

void TGPXWriter::WriteDocument(std::string& out, const TGPX& gpx) const {
  WriteStartTag(out, gpx);
  if (gpx.Metadata.Present) WriteMetadata(out, gpx.Metadata);
  if (!gpx.Waypoints.Empty()) {
    writePoints(out, gpx.Waypoints, "wpt", 0);
    out += LineEnd;
  }
  if (!gpx.Routes.Empty()) {
    for (const auto& r : gpx.Routes.Items()) WriteRte(out, *r);
    out += LineEnd;
  }
  if (!gpx.Tracks.Empty()) {
    for (const auto& t : gpx.Tracks.Items()) WriteTrk(out, *t);
    out += LineEnd;
  }
  if (!trim(gpx.Extension.Text).empty()) WriteText(out, gpx.Extension.Text, "extensions", true, 0);
  out += "</gpx>";
  if (Sink) {
    Sink(out);
    out.clear();
  }
}

std::string TGPXWriter::WriteDocument(const TGPX& gpx) const {
  TGPXWriter whole(*this);
  whole.Sink = nullptr;
  std::string out;
  whole.WriteDocument(out, gpx);
  return out;
}
