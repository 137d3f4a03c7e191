// Writes a GPX document, or one of its lists, as GPX 1.1 text in the file's exact layout.
// Each writer holds its own line end and indent unit, so a compressed save never changes
// what the next writer produces.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/XmlFragmentCheck.h"
#include "model/GPX.h"

class TGPXWriter {
public:
  // Indented output: CR LF line ends and TAB indentation; compressed: both empty.
  explicit TGPXWriter(bool compressed = false, bool gpxStyle = false);

  std::string LineEnd;
  std::string Indent;
  // Write the gpx_style line of routes and tracks (it is written anyway when it was read).
  bool GPXStyle = false;
  // When set, the document writer hands its text over in pieces of about a megabyte instead
  // of holding a whole million-point file in memory.
  std::function<void(std::string_view)> Sink;

  // The whole document, "</gpx>" without a line end after it. Bounds are written as they
  // stand: the caller recomputes them first. The first form returns all the text whatever
  // the sink; the second appends to `out` and, with a sink set, hands everything to it.
  std::string WriteDocument(const TGPX& gpx) const;
  // The namespace declarations of the gpx start tag, in the order written: in scope for
  // every extension text of the document.
  static std::vector<XmlNamespaceDecl> RootNamespaces(const TGPX& gpx);
  void WriteDocument(std::string& out, const TGPX& gpx) const;

  // The XML declaration and the gpx start tag with the document's creator and namespaces,
  // each followed by the line end.
  void WriteStartTag(std::string& out, const TGPX& gpx) const;

  // Element text of a whole list; an empty list gives empty text.
  std::string ExportGPXWPTList(const TGPXwptList& list) const;
  std::string ExportGPXRTEList(const TGPXrteList& list) const;
  std::string ExportGPXTRKList(const TGPXtrkList& list) const;

  // The pieces; each appends to `out`. A value equal to its none value writes nothing.
  void WriteText(std::string& out, std::string_view text, std::string_view name, bool raw,
                 int depth) const;
  void WriteInt(std::string& out, int64_t value, std::string_view name, int depth,
                int64_t none) const;
  void WriteDouble(std::string& out, double value, std::string_view name, int depth,
                   double none) const;
  void WriteTime(std::string& out, double value, std::string_view name, int depth,
                 double none = 0) const;
  void WriteWpt(std::string& out, const TGPXwpt& point, std::string_view name, int depth) const;
  void WriteRte(std::string& out, const TGPXrte& route) const;
  void WriteTrk(std::string& out, const TGPXtrk& track) const;
  void WriteLink(std::string& out, const TGPXLink& link, int depth) const;
  void WriteMetadata(std::string& out, const TGPXmetadata& metadata) const;

private:
  void indent(std::string& out, int depth) const;
  // "<name>" after the indent, and "</name>" with the line end: the frame of a one-line element.
  void openElement(std::string& out, std::string_view name, int depth) const;
  void closeElement(std::string& out, std::string_view name) const;
  // A whole line of ready-made markup.
  void writeLine(std::string& out, std::string_view text, int depth) const;
  template <class RouteOrTrack>
  void writeHeader(std::string& out, const RouteOrTrack& item) const;
  void writePoints(std::string& out, const TGPXwptList& list, std::string_view name,
                   int depth) const;
  void writeStyleAndExtensions(std::string& out, const TGPX_StyleLine& style,
                               const std::string& extensions) const;
  void flushIfLarge(std::string& out) const;
};
