// KML import as walks over the document tree, and the atomic KML save.
#include "formats/KMLFile.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "base/AtomicFile.h"
#include "formats/KMLWriter.h"
#include "formats/ReadIssues.h"
#include "formats/WritableContent.h"
#include "formats/XmlDocument.h"

namespace {

// The first child element of a name (case ignored); a null handle when there is none.
XmlNode firstChild(const XmlNode& node, std::string_view name) {
  for (XmlNode c = node.firstChild(); c; c = c.nextSibling())
    if (c.isElement() && c.nameIs(name)) return c;
  return {};
}

// The text of a relative path of child names ("Point/coordinates"), taking the first match
// at each step; empty when a step selects nothing.
std::string pathText(XmlNode node, std::initializer_list<std::string_view> path) {
  for (std::string_view step : path) {
    node = firstChild(node, step);
    if (!node) return {};
  }
  return node.text();
}

// "lon,lat[,alt]" into a new point; nothing for a tuple without ",", and nothing (counted)
// for coordinates that are no numbers or off the globe.
std::unique_ptr<TGPXwpt> tupleToPoint(std::string_view tuple, TReadIssues& issues) {
  const size_t c1 = tuple.find(',');
  if (c1 == std::string_view::npos) return nullptr;
  const std::string_view rest = tuple.substr(c1 + 1);
  const size_t c2 = rest.find(',');
  double lon = 0, lat = 0;
  const bool readable = parseFloatStrict(tuple.substr(0, c1), lon) && parseFloatStrict(rest.substr(0, c2), lat);
  if (!issues.acceptCoordinates(readable, lat, lon)) return nullptr;
  auto p = std::make_unique<TGPXwpt>();
  p->Lon = lon;
  p->Lat = lat;
  p->Ele = c2 == std::string_view::npos ? 0 : parseFloatOr(rest.substr(c2 + 1), 0);
  return p;
}

// The tuples of a coordinates text as the points of a new segment. Any run of white space
// separates tuples; the reading stops at a remainder shorter than three characters ("1," at
// the end gives no point).
std::unique_ptr<TGPXtrkseg> readCoordinates(const std::string& coordinates, TReadIssues& issues) {
  auto segment = std::make_unique<TGPXtrkseg>();
  const size_t last = coordinates.find_last_not_of(" \t\r\n");
  const size_t size = last == std::string::npos ? 0 : last + 1;
  size_t pos = 0;
  while (pos < size) {
    const size_t start = coordinates.find_first_not_of(" \t\r\n", pos);
    if (start == std::string::npos || size - start < 3) break;
    const size_t end = std::min(coordinates.find_first_of(" \t\r\n", start), size);
    if (auto p = tupleToPoint(std::string_view(coordinates).substr(start, end - start), issues))
      segment->AddPoint(std::move(p));
    pos = end;
  }
  return segment;
}

// Every "<br/>", letter case ignored, becomes a line break.
std::string breaksToLines(const std::string& text) {
  const std::string lower = toLowerAscii(text);
  std::string out;
  size_t from = 0;
  for (size_t at; (at = lower.find("<br/>", from)) != std::string::npos; from = at + 5)
    out.append(text, from, at - from).append("\r\n");
  return out.append(text, from);
}

}  // namespace

void TKMLFile::Import(const std::string& fileName) {
  XmlErrors errors;
  importDocument(XmlDocument::parseFile(fileName, errors), errors);
}

void TKMLFile::ImportString(const std::string& text) {
  XmlErrors errors;
  importDocument(XmlDocument::parse(text, errors), errors);
}

void TKMLFile::importDocument(std::unique_ptr<XmlDocument> doc, const XmlErrors& errors) {
  if (!doc) {
    Log(errors.failureLine());
    return;
  }
  XmlNode kml;
  for (XmlNode c = doc->documentNode().firstChild(); c; c = c.nextSibling())
    if (c.nameIs("kml")) kml = c;
  if (!kml) {
    Log(trim(doc->errors().text()));
    Log(_("File not loaded"));
    return;
  }
  // Read into a document of our own, so that a refusal halfway leaves the caller's as it was.
  TGPX* into = GPX;
  TGPX got;
  GPX = &got;
  issues_ = TReadIssues();
  try {
    XmlReadBudget budget(doc->inputSize());
    importPlacemarks(kml);
  } catch (const XmlReadBudget::Exceeded& e) {
    GPX = into;
    Log(e.what());
    return;
  }
  GPX = into;
  Loaded = true;
  AppendItems(got, *GPX);
  for (const std::string& line : issues_.logLines()) Log(line);
}

void TKMLFile::importPlacemarks(const XmlNode& kml) {
  // Every placemark below kml counts, also one that is kml's first child.
  for (const XmlNode& placemark : kml.descendants("Placemark")) {
    if (firstChild(placemark, "Point"))
      importPoint(placemark);
    else if (firstChild(placemark, "LineString") || firstChild(placemark, "MultiGeometry"))
      importLineString(placemark);
  }
}

void TKMLFile::importPoint(const XmlNode& placemark) {
  std::unique_ptr<TGPXwpt> p = tupleToPoint(trim(pathText(placemark, {"Point", "coordinates"})), issues_);
  if (!p) return;
  const std::string name = pathText(placemark, {"name"});
  // The Snippet is the short form meant for lists; without one the description serves, as
  // in the files we export ourselves.
  std::string about = pathText(placemark, {"Snippet"});
  if (about.empty()) about = pathText(placemark, {"description"});
  about = breaksToLines(about);
  if (!name.empty()) p->edit().name = name;
  if (!about.empty()) p->edit().desc = about;
  const std::string when = pathText(placemark, {"TimeStamp", "when"});
  if (!when.empty() && !TryISO8601ToDateTime(when, p->Time)) ++issues_.refusedTimes;
  fitWritable(*p, GPX->Waypoints, &issues_);
  GPX->Waypoints.AddPoint(std::move(p));
  GPX->Waypoints.Present = true;
}

void TKMLFile::importLineString(const XmlNode& placemark) {
  const std::string name = pathText(placemark.parent(), {"name"});
  // A track of several segments comes as the line strings of one multi-geometry (so
  // gpsbabel writes them): each becomes a segment of the one track.
  std::vector<std::string> lines;
  if (XmlNode line = firstChild(placemark, "LineString")) {
    lines.push_back(pathText(line, {"coordinates"}));
  } else if (XmlNode multi = firstChild(placemark, "MultiGeometry")) {
    for (XmlNode c = multi.firstChild(); c; c = c.nextSibling())
      if (c.isElement() && c.nameIs("LineString")) lines.push_back(pathText(c, {"coordinates"}));
  }
  auto track = std::make_unique<TGPXtrk>();
  track->name = name;
  fitWritableText(track->name, &issues_);
  for (const std::string& coordinates : lines) {
    std::unique_ptr<TGPXtrkseg> segment = readCoordinates(coordinates, issues_);
    if (segment->Count() == 0) continue;
    if (segment->Count() == 1) {
      std::unique_ptr<TGPXwpt> p(static_cast<TGPXwpt*>(segment->Extract(0).release()));
      if (!track->name.empty()) p->edit().name = track->name;
      GPX->Waypoints.AddPoint(std::move(p));
      GPX->Waypoints.Present = true;
      continue;
    }
    segment->Present = true;
    track->Add(std::move(segment));
  }
  if (track->Count() == 0) return;
  GPX->Tracks.Add(std::move(track));
  GPX->Tracks.Present = true;
}

void TKMLFile::SaveToFile(const std::string& fileName) {
  if (GPX->Metadata.Present) GPX->UpdateBounds();
  const TKMLWriter writer(Options.Compress, Options.GPXStyle);
  writeFileAtomically(fileName, writer.WriteDocument(*GPX));
}
