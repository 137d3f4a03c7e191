// Semicolon-separated point text.
#include "formats/GPXCSV.h"

#include "base/LocaleFormats.h"
#include "base/NumberText.h"
#include "model/GPX.h"

const char* const kCSVHeader =
    "Latitude;Longitude;ele;time;magvar;geoidheight;name;cmt;desc;"
    "src;link;sym;wtype;fix;sat;hdop;vdop;pdop;ageofdgpsdata;dgpsid;"
    "extensions";

namespace {

const char* const kCRLF = "\r\n";

std::string numberText(double value) {
  std::string text = formatGeneral(value);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, localeFormats().decimalSeparator());
  return text;
}

void appendPointLine(std::string& out, const TGPXwpt& p) {
  const TGPXwptData& d = p.data();
  const std::string cols[] = {
      numberText(p.Lat),
      numberText(p.Lon),
      FloatToCSV(p.Ele, 0),
      p.Time != 0 ? CSVField(p.TimeToStr()) : std::string(),
      FloatToCSV(d.magvar, 0),
      FloatToCSV(d.geoidheight, 0),
      CSVField(d.name),
      CSVField(d.cmt),
      CSVField(d.desc),
      CSVField(d.src),
      CSVField(d.link.href),
      CSVField(d.sym),
      CSVField(d.type),
      CSVField(d.fix),
      d.sat != 255 ? formatInt(d.sat) : std::string(),
      FloatToCSV(d.hdop, -1.0),
      FloatToCSV(d.vdop, -1.0),
      FloatToCSV(d.pdop, -1.0),
      FloatToCSV(d.ageofdgpsdata, -1.0),
      d.dgpsid != -1 ? formatInt(d.dgpsid) : std::string(),
      CSVField(d.extensions),
  };
  bool first = true;
  for (const std::string& c : cols) {
    if (!first) out += ';';
    out += c;
    first = false;
  }
  out += kCRLF;
}

}  // namespace

std::string CSVField(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    const bool blank = c == '\n' || c == '\r' || c == '\t' || c == ';' || c == ' ';
    if (blank && !s.empty() && s.back() == ' ') continue;
    s.push_back(blank ? ' ' : c);
  }
  s = trim(s);
  // A quote inside would end the quoted field early: double it, and quote such a field
  // even without a blank, so that a spreadsheet reads the text back unchanged.
  if (s.find_first_of(" \"") == std::string::npos) return s;
  std::string quoted = "\"";
  for (char c : s) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string FloatToCSV(double value, double none) {
  if (value == none) return {};
  return numberText(value);
}

std::string ExportCSVWPTList(const TGPXwptList* list, bool withHeader) {
  if (!list) return {};
  std::string out;
  if (withHeader) {
    out += kCSVHeader;
    out += kCRLF;
  }
  for (int i = 0; i < list->Count(); ++i) appendPointLine(out, *list->GetPoint(i));
  return out;
}

std::string ExportCSVRTEList(const TGPXrteList& list) {
  std::string out;
  for (int i = 0; i < list.Count(); ++i) {
    out += ExportCSVWPTList(list.GetRoute(i), i == 0);
    out += kCRLF;
  }
  return out;
}

std::string ExportCSVRte(const TGPXrte& route) { return ExportCSVWPTList(&route, true) + kCRLF; }

namespace {

void appendTrackSegments(std::string& out, const TGPXtrk& track) {
  for (const auto& segment : track.Items()) {
    out += ExportCSVWPTList(segment.get(), false);
    out += kCRLF;
  }
}

}  // namespace

std::string ExportCSVTRKList(const TGPXtrkList& list) {
  std::string out = kCSVHeader;
  out += kCRLF;
  for (const auto& track : list.Items()) appendTrackSegments(out, *track);
  return out;
}

std::string ExportCSVTrk(const TGPXtrk& track) {
  std::string out = kCSVHeader;
  out += kCRLF;
  appendTrackSegments(out, track);
  return out;
}
