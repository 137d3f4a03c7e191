// Writes a GPX document as KML 2.2 text: metadata, then one folder each for waypoints,
// routes and tracks. Each writer holds its own line end and indent unit.
#pragma once
#include <string>
#include <string_view>

#include "model/GPX.h"

class TKMLWriter {
public:
  // Indented output: CR LF line ends and TAB indentation; compressed: both empty.
  explicit TKMLWriter(bool compressed = false, bool gpxStyle = false);

  std::string LineEnd;
  std::string Indent;
  // Line colours come from the gpx_style line of routes and tracks.
  bool GPXStyle = false;

  // The whole file, "</kml>" followed by a line end. Bounds are not written.
  std::string WriteDocument(const TGPX& gpx) const;

  std::string ExportKMLMetadata(const TGPXmetadata& metadata) const;
  // One folder for the list; empty text for an empty list.
  std::string ExportKMLWPTList(const TGPXwptList& list, int depth) const;
  std::string ExportKMLRTEList(const TGPXrteList& list, int depth) const;
  std::string ExportKMLTRKList(const TGPXtrkList& list, int depth) const;
  std::string ExportKMLWPT(const TGPXwpt& point, int depth) const;
  std::string ExportKMLRTE(const TGPXrte& route, int depth) const;
  // A folder of one placemark per segment; nothing for a track without segments.
  std::string ExportKMLTRK(const TGPXtrk& track, int depth) const;

  // "lon,lat" and ",ele" when the elevation is not 0, in the general number form.
  static std::string PointCoordinates(const TGPXwpt& point);
  // The points' coordinates joined by one blank.
  static std::string ListCoordinates(const TGPXwptList& list);
  // aabbggrr: alpha FF, then the style's colour in KML order, red when none applies.
  std::string LineColor(const TGPX_StyleLine& style) const;

private:
  void line(std::string& out, int depth, std::string_view tag) const;
  void element(std::string& out, int depth, std::string_view name, std::string_view value) const;
  void lineStyle(std::string& out, int depth, const TGPX_StyleLine& style) const;
};
