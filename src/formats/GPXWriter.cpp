// Writes a GPX document, or one of its lists, as GPX 1.1 text.
#include "formats/GPXWriter.h"

#include <cmath>

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

// A gYear has at least four digits: year 999 of a file is written 0999.
void appendYear(std::string& out, int64_t year) {
  if (year < 0) {
    out += '-';
    year = -year;
  }
  const std::string digits = formatInt(year);
  if (digits.size() < 4) out.append(4 - digits.size(), '0');
  out += digits;
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

void TGPXWriter::WriteText(std::string& out, std::string_view text, std::string_view name,
                           bool raw, int depth) const {
  if (text.empty()) return;
  indent(out, depth);
  out += '<';
  out += name;
  out += '>';
  appendXMLText(out, text, raw ? XmlTextKind::Raw : XmlTextKind::Element);
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
}

void TGPXWriter::WriteInt(std::string& out, int64_t value, std::string_view name, int depth,
                          int64_t none) const {
  if (value == none) return;
  indent(out, depth);
  out += '<';
  out += name;
  out += '>';
  out += formatInt(value);
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
}

void TGPXWriter::WriteDouble(std::string& out, double value, std::string_view name, int depth,
                             double none) const {
  // A value that is no number has no GPX form either; it counts as none.
  if (value == none || !std::isfinite(value)) return;
  indent(out, depth);
  out += '<';
  out += name;
  out += '>';
  appendGPXNumber(out, value);
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
}

void TGPXWriter::WriteTime(std::string& out, double value, std::string_view name, int depth,
                           double none) const {
  if (value == none || !std::isfinite(value)) return;
  indent(out, depth);
  out += '<';
  out += name;
  out += '>';
  appendGPXTime(out, value);
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
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
  indent(out, depth);
  out += "</link>";
  out += LineEnd;
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
  WriteDouble(out, point.Ele, "ele", d, 0);
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
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
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
  indent(out, 1);
  out += "<extensions>";
  out += LineEnd;
  if (writeStyle) {
    indent(out, 2);
    out += "<line";
    appendAttribute(out, "xmlns", kStyleNamespace);
    out += '>';
    out += LineEnd;
    if (hasColor) WriteText(out, toLowerAscii(style.GetColorHex()), "color", false, 3);
    if (hasOpacity) {
      indent(out, 3);
      out += "<opacity>";
      appendGPXNumber(out, std::fabs(style.Opacity));
      out += "</opacity>";
      out += LineEnd;
    }
    indent(out, 2);
    out += "</line>";
    out += LineEnd;
  }
  appendXMLText(out, extensions, XmlTextKind::Raw);
  indent(out, 1);
  out += "</extensions>";
  out += LineEnd;
}

void TGPXWriter::WriteRte(std::string& out, const TGPXrte& route) const {
  out += "<rte>";
  out += LineEnd;
  WriteText(out, route.name, "name", false, 1);
  WriteText(out, route.cmt, "cmt", false, 1);
  WriteText(out, route.desc, "desc", false, 1);
  WriteText(out, route.src, "src", false, 1);
  if (route.link.Present) WriteLink(out, route.link, 1);
  WriteInt(out, route.number, "number", 1, -1);
  WriteText(out, route.type, "type", false, 1);
  writeStyleAndExtensions(out, route.Style, route.extensions);
  writePoints(out, route, "rtept", 1);
  out += "</rte>";
  out += LineEnd;
}

void TGPXWriter::WriteTrk(std::string& out, const TGPXtrk& track) const {
  out += "<trk>";
  out += LineEnd;
  WriteText(out, track.name, "name", false, 1);
  WriteText(out, track.cmt, "cmt", false, 1);
  WriteText(out, track.desc, "desc", false, 1);
  WriteText(out, track.src, "src", false, 1);
  if (track.link.Present) WriteLink(out, track.link, 1);
  WriteInt(out, track.number, "number", 1, -1);
  WriteText(out, track.type, "type", false, 1);
  writeStyleAndExtensions(out, track.Style, track.extensions);
  for (const auto& seg : track.Items()) {
    indent(out, 1);
    out += "<trkseg>";
    out += LineEnd;
    writePoints(out, *seg, "trkpt", 2);
    WriteText(out, seg->extensions, "extensions", true, 2);
    indent(out, 1);
    out += "</trkseg>";
    out += LineEnd;
  }
  out += "</trk>";
  out += LineEnd;
}

void TGPXWriter::WriteMetadata(std::string& out, const TGPXmetadata& m) const {
  out += "<metadata>";
  out += LineEnd;
  WriteText(out, m.name, "name", false, 1);
  WriteText(out, m.desc, "desc", false, 1);
  if (m.author.Present) {
    indent(out, 1);
    out += "<author>";
    out += LineEnd;
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
    indent(out, 1);
    out += "</author>";
    out += LineEnd;
  }
  if (m.copyright.Present) {
    indent(out, 1);
    out += "<copyright";
    // author is required by the schema: an empty one is still written.
    appendAttribute(out, "author", m.copyright.author);
    out += '>';
    out += LineEnd;
    if (m.copyright.year != -1) {
      indent(out, 2);
      out += "<year>";
      appendYear(out, m.copyright.year);
      out += "</year>";
      out += LineEnd;
    }
    WriteText(out, m.copyright.license, "license", false, 2);
    indent(out, 1);
    out += "</copyright>";
    out += LineEnd;
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
  out += "</metadata>";
  out += LineEnd;
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

void TGPXWriter::WriteDocument(std::string& out, const TGPX& gpx) const {
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>";
  out += LineEnd;
  out += "<gpx";
  appendAttribute(out, "version", "1.1");
  appendAttribute(out, "creator", gpx.Creator);
  appendAttribute(out, "xmlns", kGPXNamespace);
  appendAttribute(out, "xmlns:xsi", kXSINamespace);
  std::string location(kGPXNamespace);
  location += ' ';
  location += kGPXSchema;
  appendAttribute(out, "xsi:schemaLocation", location);
  out += '>';
  out += LineEnd;
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
