// KML 2.2 text of a GPX document.
#include "formats/KMLWriter.h"

#include <cmath>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/GPXText.h"

namespace {

const char* const kKMLNamespace = "http://www.opengis.net/kml/2.2";
const char* const kAtomNamespace = "http://www.w3.org/2005/Atom";

std::string hexByte(uint32_t v) {
  static const char digits[] = "0123456789ABCDEF";
  return {digits[(v >> 4) & 15], digits[v & 15]};
}

}  // namespace

TKMLWriter::TKMLWriter(bool compressed, bool gpxStyle)
    : LineEnd(compressed ? "" : "\r\n"), Indent(compressed ? "" : "\t"), GPXStyle(gpxStyle) {}

void TKMLWriter::line(std::string& out, int depth, std::string_view tag) const {
  for (int i = 0; i < depth; ++i) out += Indent;
  out += tag;
  out += LineEnd;
}

void TKMLWriter::element(std::string& out, int depth, std::string_view name,
                         std::string_view value) const {
  if (value.empty()) return;
  for (int i = 0; i < depth; ++i) out += Indent;
  out += '<';
  out += name;
  out += '>';
  appendXMLText(out, value, XmlTextKind::Element);
  out += "</";
  out += name;
  out += '>';
  out += LineEnd;
}

std::string TKMLWriter::PointCoordinates(const TGPXwpt& point) {
  // The general form, exponent included (5E-5): KML readers take doubles, and files already
  // exported are compared byte for byte.
  std::string text = formatGeneral(point.Lon) + "," + formatGeneral(point.Lat);
  if (point.Ele != 0) text += "," + formatGeneral(point.Ele);
  return text;
}

std::string TKMLWriter::ListCoordinates(const TGPXwptList& list) {
  std::string text;
  for (int i = 0; i < list.Count(); ++i) {
    if (i > 0) text += ' ';
    text += PointCoordinates(*list.GetPoint(i));
  }
  return text;
}

std::string TKMLWriter::LineColor(const TGPX_StyleLine& style) const {
  const bool useStyle = GPXStyle && (!style.IsColorUnset() || std::fabs(style.Opacity) < 1);
  // An opacity alone leaves the line red: a bare alpha would be no colour at all.
  const uint32_t color = useStyle && !style.IsColorUnset() ? style.Color : 0x0000FFu;
  return "FF" + hexByte(color >> 16) + hexByte(color >> 8) + hexByte(color);
}

void TKMLWriter::lineStyle(std::string& out, int d, const TGPX_StyleLine& style) const {
  line(out, d, "<Style>");
  line(out, d + 1, "<LineStyle>");
  element(out, d + 2, "color", LineColor(style));
  element(out, d + 2, "width", "6");
  line(out, d + 1, "</LineStyle>");
  line(out, d, "</Style>");
}

std::string TKMLWriter::ExportKMLMetadata(const TGPXmetadata& m) const {
  std::string out;
  element(out, 2, "name", m.name);
  element(out, 2, "description", m.desc);
  if (m.author.Present) element(out, 2, "atom:author", m.author.name);
  if (m.link.Present) element(out, 2, "atom:link", m.link.href);
  return out;
}

std::string TKMLWriter::ExportKMLWPT(const TGPXwpt& p, int d) const {
  const TGPXwptData& data = p.data();
  std::string out;
  line(out, d, "<Placemark>");
  element(out, d + 1, "name", data.name);
  element(out, d + 1, "description", data.desc);
  if (p.Time != 0 && isInYearRange(p.Time)) {
    line(out, d + 1, "<TimeStamp>");
    element(out, d + 2, "when", DateTimeToGPXTime(p.Time));
    line(out, d + 1, "</TimeStamp>");
  }
  line(out, d + 1, "<Point>");
  element(out, d + 2, "coordinates", PointCoordinates(p));
  line(out, d + 1, "</Point>");
  if (data.link.Present) element(out, d + 1, "atom:link", data.link.href);
  line(out, d, "</Placemark>");
  return out;
}

std::string TKMLWriter::ExportKMLRTE(const TGPXrte& r, int d) const {
  std::string out;
  line(out, d, "<Placemark>");
  element(out, d + 1, "name", r.name);
  element(out, d + 1, "description", r.desc);
  lineStyle(out, d + 1, r.Style);
  line(out, d + 1, "<LineString>");
  element(out, d + 2, "coordinates", ListCoordinates(r));
  element(out, d + 2, "tessellate", "1");
  line(out, d + 1, "</LineString>");
  if (r.link.Present) element(out, d + 1, "atom:link", r.link.href);
  line(out, d, "</Placemark>");
  return out;
}

std::string TKMLWriter::ExportKMLTRK(const TGPXtrk& t, int d) const {
  std::string out;
  if (t.Empty()) return out;
  line(out, d, "<Folder>");
  element(out, d + 1, "name", t.name);
  element(out, d + 1, "description", t.desc);
  if (t.link.Present) element(out, d + 1, "atom:link", t.link.href);
  for (int i = 0; i < t.Count(); ++i) {
    line(out, d + 1, "<Placemark>");
    element(out, d + 2, "name", "Track Segment #" + formatInt(i + 1));
    lineStyle(out, d + 2, t.Style);
    line(out, d + 2, "<LineString>");
    element(out, d + 3, "tessellate", "1");
    element(out, d + 3, "coordinates", ListCoordinates(*t.GetSegment(i)));
    line(out, d + 2, "</LineString>");
    line(out, d + 1, "</Placemark>");
  }
  line(out, d, "</Folder>");
  return out;
}

std::string TKMLWriter::ExportKMLWPTList(const TGPXwptList& list, int d) const {
  std::string out;
  if (list.Empty()) return out;
  line(out, d, "<Folder>");
  element(out, d + 1, "name", "Waypoints");
  for (int i = 0; i < list.Count(); ++i) out += ExportKMLWPT(*list.GetPoint(i), d + 1);
  line(out, d, "</Folder>");
  return out;
}

std::string TKMLWriter::ExportKMLRTEList(const TGPXrteList& list, int d) const {
  std::string out;
  if (list.Empty()) return out;
  line(out, d, "<Folder>");
  element(out, d + 1, "name", "Routes");
  for (const auto& r : list.Items()) out += ExportKMLRTE(*r, d + 1);
  line(out, d, "</Folder>");
  return out;
}

std::string TKMLWriter::ExportKMLTRKList(const TGPXtrkList& list, int d) const {
  std::string out;
  if (list.Empty()) return out;
  line(out, d, "<Folder>");
  element(out, d + 1, "name", "Tracks");
  for (const auto& t : list.Items()) out += ExportKMLTRK(*t, d + 1);
  line(out, d, "</Folder>");
  return out;
}

std::string TKMLWriter::WriteDocument(const TGPX& gpx) const {
  std::string out;
  line(out, 0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  line(out, 0, std::string("<kml xmlns=\"") + kKMLNamespace + "\" xmlns:atom=\"" + kAtomNamespace +
                   "\">");
  line(out, 1, "<Document>");
  if (gpx.Metadata.Present) out += ExportKMLMetadata(gpx.Metadata);
  const std::string folders[] = {ExportKMLWPTList(gpx.Waypoints, 2),
                                 ExportKMLRTEList(gpx.Routes, 2),
                                 ExportKMLTRKList(gpx.Tracks, 2)};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    out += folder;
    out += LineEnd;
  }
  line(out, 1, "</Document>");
  line(out, 0, "</kml>");
  return out;
}
