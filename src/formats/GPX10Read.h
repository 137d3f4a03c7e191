// GPX 1.0, the form of most older files, read onto the GPX 1.1 model: url and urlname become
// links, the document's own fields its metadata, and what GPX 1.1 has no place for (a point's
// speed and course, elements of other namespaces) is kept as extensions, so that saving the
// file as GPX 1.1 keeps it valid and loses nothing.
#pragma once
#include <string>

#include "formats/XmlNode.h"
#include "model/GPX.h"

class GPX10Reader {
public:
  // Whether a gpx element is GPX 1.0: by its namespace, or, when it has none, its version.
  static bool isGPX10(const XmlNode& gpx);

  explicit GPX10Reader(std::string gpxNamespace) : ns_(std::move(gpxNamespace)) {}

  // A wpt, rtept or trkpt, appended to the list.
  TGPXwpt* readWpt(const XmlNode& element, TGPXwptList& into) const;
  // A child of gpx other than wpt, rte and trk: a metadata field or a foreign element.
  void readDocumentChild(const XmlNode& child, TGPX& doc, bool& hasExtensions) const;
  // A child of rte or trk other than its points and segments.
  void readRouteChild(const XmlNode& child, TGPXrte& route) const;
  void readTrackChild(const XmlNode& child, TGPXtrk& track) const;
  // A child of trkseg other than trkpt.
  void readSegmentChild(const XmlNode& child, TGPXtrkseg& segment) const;

private:
  template <class RouteOrTrack>
  void readRouteLike(const XmlNode& child, RouteOrTrack& item) const;
  bool foreign(const XmlNode& element) const { return element.namespaceUri() != ns_; }
  std::string ns_;
};
