// Loading a GPX document: the streaming walk over the file and the result lines.
#include "formats/GPXFile.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/GPX10Read.h"
#include "formats/GPXReadParts.h"
#include "formats/ReadIssues.h"
#include "formats/WritableContent.h"
#include "formats/XmlStream.h"

namespace {

// What one walk collects before it is moved into the caller's document.
struct ReadResult {
  TGPX gpx;
  bool foundGpx = false;
  bool hasExtensions = false;
  bool gpx10 = false;
};

// Streams gpx, rte, trk and trkseg child by child and hands each other element, built
// whole, to the element readers. Points are the small subtrees of a large file.
class GPXStreamReader : public XmlStreamHandler {
public:
  explicit GPXStreamReader(ReadResult& out) : out_(out) {}

  Kind classify(const XmlName& e) override {
    switch (open_.empty() ? Level::Document : open_.back()) {
      case Level::Document:
        if (!e.is("gpx")) return Kind::Skip;
        out_.foundGpx = true;
        return enter(Level::Gpx);
      case Level::Gpx:
        if (e.is("trk")) {
          trk_ = std::make_unique<TGPXtrk>();
          return enter(Level::Trk);
        }
        if (e.is("rte")) {
          rte_ = std::make_unique<TGPXrte>();
          return enter(Level::Rte);
        }
        // A GPX 1.0 point may hold elements of other namespaces: its tree keeps them.
        if (e.is("wpt")) return v10_ ? Kind::Subtree : Kind::Record;
        return v10_ || e.is("metadata") || e.is("extensions") ? Kind::Subtree : Kind::Skip;
      case Level::Rte:
        return e.is("rtept") && !v10_ ? Kind::Record : Kind::Subtree;
      case Level::Trk:
        if (e.is("trkseg")) {
          seg_ = trk_->Add(std::make_unique<TGPXtrkseg>());
          return enter(Level::Trkseg);
        }
        return Kind::Subtree;
      case Level::Trkseg:
        if (e.is("trkpt")) return v10_ ? Kind::Subtree : Kind::Record;
        return v10_ || e.is("extensions") ? Kind::Subtree : Kind::Skip;
    }
    return Kind::Skip;
  }

  void startContainer(const XmlNode& e) override {
    if (open_.size() != 1) return;
    v10_.reset();
    if (GPX10Reader::isGPX10(e)) {
      v10_.emplace(e.namespaceUri());
      out_.gpx10 = true;
    }
    // The writer declares GPX's own namespaces itself.
    for (auto& [prefix, uri] : e.namespaceDeclarations())
      if (!prefix.empty() && prefix != "xsi" && prefix != "xml")
        out_.gpx.RootNamespaces.emplace_back(prefix, uri);
  }

  void subtree(const XmlNode& e) override {
    switch (open_.back()) {
      case Level::Gpx:
        if (e.nameIs("wpt")) {
          readPoint(e, out_.gpx.Waypoints);
        } else if (v10_) {
          v10_->readDocumentChild(e, out_.gpx, out_.hasExtensions);
        } else if (e.nameIs("metadata")) {
          TGPXFile::ReadMetadata(e, out_.gpx.Metadata);
        } else {
          out_.gpx.Extension.Text = TGPXFile::ReadExtensions(e);
          out_.hasExtensions = true;
        }
        break;
      case Level::Rte:
        if (e.nameIs("rtept")) readPoint(e, *rte_);
        else if (v10_) v10_->readRouteChild(e, *rte_);
        else readRouteLikeChild(*rte_, e);
        break;
      case Level::Trk:
        if (v10_) v10_->readTrackChild(e, *trk_);
        else readRouteLikeChild(*trk_, e);
        break;
      case Level::Trkseg:
        if (e.nameIs("trkpt")) readPoint(e, *seg_);
        else if (v10_) v10_->readSegmentChild(e, *seg_);
        else seg_->extensions = trim(e.serializeChildren());
        break;
      case Level::Document:
        break;
    }
  }

  bool childNeedsTree(const XmlName& child) override { return wptChildNeedsTree(child); }

  void record(const XmlFlatRecord& e) override {
    switch (open_.back()) {
      case Level::Gpx: readWptRecord(e, out_.gpx.Waypoints); break;
      case Level::Rte: readWptRecord(e, *rte_); break;
      case Level::Trkseg: readWptRecord(e, *seg_); break;
      default: break;
    }
  }

  void endContainer(const XmlNode&) override {
    Level done = open_.back();
    open_.pop_back();
    if (done == Level::Rte) {
      finishRouteLike(*rte_);
      out_.gpx.Routes.Add(std::move(rte_));
      out_.gpx.Routes.Present = true;
    } else if (done == Level::Trk) {
      finishRouteLike(*trk_);
      out_.gpx.Tracks.Add(std::move(trk_));
      out_.gpx.Tracks.Present = true;
    }
  }

private:
  enum class Level { Document, Gpx, Rte, Trk, Trkseg };
  void readPoint(const XmlNode& e, TGPXwptList& into) {
    if (v10_) v10_->readWpt(e, into);
    else TGPXFile::ReadWpt(e, into);
  }
  Kind enter(Level level) {
    open_.push_back(level);
    return Kind::Container;
  }
  ReadResult& out_;
  std::vector<Level> open_;
  std::unique_ptr<TGPXrte> rte_;
  std::unique_ptr<TGPXtrk> trk_;
  TGPXtrkseg* seg_ = nullptr;
  std::optional<GPX10Reader> v10_;  // set while a GPX 1.0 gpx element is read
};

template <class List>
void moveItems(List& from, List& to) {
  if (to.Empty()) {
    to.Items() = std::move(from.Items());
    from.Items().clear();
  } else {
    for (auto& item : from.ExtractAll()) to.Add(std::move(item));
  }
}

}  // namespace

void TGPXFile::AppendItems(TGPX& from, TGPX& to) {
  moveItems(from.Waypoints, to.Waypoints);
  to.Waypoints.Present = to.Waypoints.Present || from.Waypoints.Present;
  moveItems(from.Routes, to.Routes);
  to.Routes.Present = to.Routes.Present || from.Routes.Present;
  moveItems(from.Tracks, to.Tracks);
  to.Tracks.Present = to.Tracks.Present || from.Tracks.Present;
}

void TGPXFile::LoadFromFile(const std::string& fileName) {
  ReadDocument([&](XmlStream& stream, XmlStreamHandler& handler) { return stream.parseFile(fileName, handler); });
}

void TGPXFile::LoadFromString(const std::string& text) {
  ReadDocument([&](XmlStream& stream, XmlStreamHandler& handler) { return stream.parseMemory(text, handler); });
}

void TGPXFile::ReadDocument(const std::function<bool(XmlStream&, XmlStreamHandler&)>& parse) {
  if (!GPX) throw std::logic_error("TGPXFile: no document to read into");
  // Read into a document of our own: a parse error halfway through must leave the
  // caller's document as it was.
  ReadResult result;
  GPXStreamReader reader(result);
  XmlStream stream;
  TReadIssues issues;
  TReadIssuesScope counting(issues);
  if (!parse(stream, reader)) {
    Log(stream.errors().failureLine());
    return;
  }
  if (!result.foundGpx) {
    Log(trim(stream.errors().text()));
    Log(_("File not loaded"));
    return;
  }

  TGPX& doc = *GPX;
  TGPX& got = result.gpx;
  // A GPX 1.0 file's metadata and top-level extensions are gathered piece by piece.
  fitWritable(got.Metadata, &issues);
  fitWritableDocumentExtensions(got.Extension.Text, &issues);
  AppendItems(got, doc);
  if (got.Metadata.Present) doc.Metadata = std::move(got.Metadata);
  if (result.hasExtensions) doc.Extension.Text = std::move(got.Extension.Text);
  // A prefix the document declares already keeps its meaning.
  std::unordered_set<std::string> prefixes;
  for (const auto& have : doc.RootNamespaces) prefixes.insert(have.first);
  for (auto& ns : got.RootNamespaces)
    if (prefixes.insert(ns.first).second) doc.RootNamespaces.push_back(ns);
  fitWritableRootNamespaces(doc, &issues);

  if (result.gpx10) Log(_("GPX 1.0 file, read as GPX 1.1"));
  int64_t routePoints = 0, trackPoints = 0, segments = 0;
  for (const auto& rte : doc.Routes.Items()) routePoints += rte->Count();
  for (const auto& trk : doc.Tracks.Items()) {
    segments += trk->Count();
    for (const auto& seg : trk->Items()) trackPoints += seg->Count();
  }
  for (const std::string& line : issues.logLines()) Log(line);
  Log(formatInt(doc.Waypoints.Count()) + " " + _("waypoints"));
  Log(formatInt(doc.Routes.Count()) + " " + _("routes") + " (" + formatInt(routePoints) + " points)");
  Log(formatInt(doc.Tracks.Count()) + " " + _("tracks") + " (" + formatInt(trackPoints) + " " + _("points in") +
      " " + formatInt(segments) + " " + _("track segments") + ")");
  Loaded = true;
}
