// The in-memory GPX 1.1 document: waypoints, routes, tracks, metadata, selection, options.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/GPS.h"
#include "model/GPX_Style.h"
#include "model/RetiredItems.h"

struct TGPXLink {
  std::string href, text, type;
  bool Present = false;
  void Assign(const TGPXLink& s) { *this = s; }
};

struct TGPXemail {
  std::string id, domain;
  bool Present = false;
  void Assign(const TGPXemail& s) { *this = s; }
};

struct TGPXperson {
  std::string name;
  TGPXemail email;
  TGPXLink link;
  bool Present = false;
  void Assign(const TGPXperson& s) { *this = s; }
};

struct TGPXcopyright {
  std::string author;
  int32_t year = -1;  // -1 = none
  std::string license;
  bool Present = false;
  void Assign(const TGPXcopyright& s) { *this = s; }
};

struct TGPXbounds {
  double minlat = 0, minlon = 0, maxlat = 0, maxlon = 0;
  bool Present = false;
  void Assign(const TGPXbounds& s) { *this = s; }
};

struct TGPXExtension {
  std::string Text;
  void Assign(const TGPXExtension& s) { Text = s.Text; }
};

// The GPX fields of a waypoint that most track points never use. A point keeps them in a
// block allocated on first use, so that a million-point track stays small.
struct TGPXwptData {
  double magvar = 0;
  double geoidheight = 0;
  std::string name, cmt, desc, src;
  TGPXLink link;
  std::string sym, type, fix;
  uint8_t sat = 255;
  double hdop = -1.0, vdop = -1.0, pdop = -1.0;
  double ageofdgpsdata = -1.0;
  int32_t dgpsid = -1;
  std::string extensions;
};

// A waypoint, route point or track point.
class TGPXwpt : public TPoint4D2 {
public:
  TGPXwpt() : TPoint4D2(ItemKind::Wpt) {}
  TGPXwpt(const TGPXwpt& other);
  TGPXwpt& operator=(const TGPXwpt& other);

  // The rare fields, read-only: the defaults when none were ever set.
  const TGPXwptData& data() const { return data_ ? *data_ : defaults(); }
  // The rare fields for writing; allocates the block on first use.
  TGPXwptData& edit() {
    if (!data_) data_ = std::make_unique<TGPXwptData>();
    return *data_;
  }
  bool HasData() const { return data_ != nullptr; }
  // Copies every field, the inherited ones (Mark and Visible included) and the rare ones.
  void CopyAllFrom(const TGPXwpt& source);
  using TPoint4D2::Assign;
  // Position, time and every GPX field, into a block of its own; Mark and Visible stay.
  void Assign(const TGPXwpt& source);

private:
  static const TGPXwptData& defaults();
  std::unique_ptr<TGPXwptData> data_;
};

class TGPXwptList : public TPointList2 {
public:
  TGPXwptList() : TPointList2(ItemKind::WptList) { Visible = true; }
  TGPXwpt* GetPoint(int index) const { return static_cast<TGPXwpt*>(At(index)); }
  TGPXwpt* AddPoint(std::unique_ptr<TGPXwpt> p) { return static_cast<TGPXwpt*>(Add(std::move(p))); }
  // Copies Present and appends copies of the source's points; Visible and BBox stay.
  void Assign(const TGPXwptList& source);
  // Appends copies of the source's points from index `first` on, in order.
  void AppendCopies(const TGPXwptList& source, int first = 0);
  // Earliest first; stable, so points of equal time keep their order.
  void SortByTime();

protected:
  explicit TGPXwptList(ItemKind kind) : TPointList2(kind) { Visible = true; }
};

class TGPXrte : public TGPXwptList {
public:
  TGPXrte() : TGPXwptList(ItemKind::Rte) {}
  std::string name, cmt, desc, src;
  TGPXLink link;
  int32_t number = -1;
  std::string type;
  std::string extensions;
  TGPX_StyleLine Style;
  // Frees its own points, then holds copies of the source's; Visible, Present and BBox stay.
  // `firstPoint` > 0 copies only the points from that index on.
  void Assign(const TGPXrte& source, int firstPoint = 0);
};

class TGPXtrkseg : public TGPXwptList {
public:
  TGPXtrkseg() : TGPXwptList(ItemKind::Trkseg) {}
  std::string extensions;
  // Frees its own points, then holds copies of the source's; Visible, Present and BBox stay.
  void Assign(const TGPXtrkseg& source, int firstPoint = 0);
};

class TGPXtrk : public TItem, public OwnedList<TGPXtrkseg> {
public:
  TGPXtrk() : TItem(ItemKind::Trk) {}
  TGPXtrk(const TGPXtrk&) = delete;
  TGPXtrk& operator=(const TGPXtrk&) = delete;
  bool Visible = true;
  std::string name, cmt, desc, src;
  TGPXLink link;
  int32_t number = -1;
  std::string type;
  std::string extensions;
  TGPX_StyleLine Style;
  TGPXtrkseg* GetSegment(int index) const { return At(index); }
  // Appends copies of the source's segments after any it holds; Visible stays.
  void Assign(const TGPXtrk& source);
  // Splits a segment of this track at a point that stays in both parts; the second part,
  // a copy, goes right after it and is returned. The points cut off the first part go to
  // `retired`. Nothing changes (nullptr) unless 3 <= index <= Count-3.
  TGPXtrkseg* SplitSegment(TGPXtrkseg* segment, const TPoint4D2* point, RetiredItems& retired);
  // By the time of each segment's first point; a segment without points counts as time 0.
  void SortSegmentsByTime();
  void SetVisible(bool flag);
};

class TGPXrteList : public TItem, public OwnedList<TGPXrte> {
public:
  TGPXrteList() : TItem(ItemKind::RteList) {}
  TGPXrteList(const TGPXrteList&) = delete;
  TGPXrteList& operator=(const TGPXrteList&) = delete;
  bool Visible = true;
  bool Present = false;
  TGPXrte* GetRoute(int index) const { return At(index); }
  // Copies Present and appends copies of the source's routes; Visible stays.
  void Assign(const TGPXrteList& source);
  // As TGPXtrk::SplitSegment; the copy's name gets " (part 2)".
  TGPXrte* SplitRoute(TGPXrte* route, const TPoint4D2* point, RetiredItems& retired);
  // Joins copies of b's points to `a` and unlinks b into `retired`. Returns a; nullptr
  // (nothing changed) when either is missing, a is b, or b is not in this list.
  TGPXrte* MergeRoutes(TGPXrte* a, TGPXrte* b, RetiredItems& retired);
  // By the time of each route's first point; a route without points counts as time 0.
  void SortByTime();
  void SetVisible(bool flag);
};

class TGPXtrkList : public TItem, public OwnedList<TGPXtrk> {
public:
  TGPXtrkList() : TItem(ItemKind::TrkList) {}
  TGPXtrkList(const TGPXtrkList&) = delete;
  TGPXtrkList& operator=(const TGPXtrkList&) = delete;
  bool Visible = true;
  bool Present = false;
  TGPXtrk* GetTrack(int index) const { return At(index); }
  // Copies Present and appends copies of the source's tracks; Visible stays.
  void Assign(const TGPXtrkList& source);
  // The first track, in list order, that holds the segment.
  TGPXtrk* FindTrackOfSegment(const TGPXtrkseg* segment) const;
  // Joins copies of b's points to `a`; b, or its track when b was the track's only segment,
  // is unlinked into `retired`. Returns a; nullptr (nothing changed) when either is
  // missing or a is b.
  TGPXtrkseg* MergeSegments(TGPXtrkseg* a, TGPXtrkseg* b, RetiredItems& retired);
  void SetVisible(bool flag);
};

class TGPXmetadata : public TItem {
public:
  TGPXmetadata() : TItem(ItemKind::Metadata) {}
  std::string name, desc;
  TGPXperson author;
  TGPXcopyright copyright;
  TGPXLink link;
  double time = 0;
  std::string keywords;
  TGPXbounds bounds;
  std::string extensions;
  bool Present = false;
  void Assign(const TGPXmetadata& source);
};

// The items selected in the tree, in selection order; refers to them without owning them.
class TGPXSelection {
public:
  std::vector<TItem*> Items;
  int Count() const { return static_cast<int>(Items.size()); }
  TItem* At(int i) const { return Items.at(static_cast<size_t>(i)); }
  void Add(TItem* item) { Items.push_back(item); }
  void Clear() { Items.clear(); }
  bool Contains(const TItem* item) const;
  // A selected, non-empty entry of class TGPXrte or TGPXtrkseg.
  bool HasRouteOrSegment() const;
  // A document copy starts with nothing selected.
  void Assign(const TGPXSelection&) { Items.clear(); }
};

struct TGPXOptions {
  bool GPXStyle = false;
  bool Compress = false;
  int32_t FileHistory = 8;
  int32_t ClipboardFormat = 0;
  uint8_t ProxyType = 0;  // 0 none, 1 HTTP, 2 SOCKS
  std::string HttpIP, HttpPort, SocksIP, SocksPort;
  uint8_t ElevationDatabase = 2;
  std::string UserAgent;  // built at start-up, never stored
  void Assign(const TGPXOptions& s) { *this = s; }
  bool operator==(const TGPXOptions&) const = default;
};

class TGPX {
public:
  TGPX();
  ~TGPX();
  TGPX(const TGPX&) = delete;
  TGPX& operator=(const TGPX&) = delete;

  bool Visible = true;
  std::string Creator;
  TGPXmetadata Metadata;
  TGPXwptList Waypoints;
  TGPXrteList Routes;
  TGPXtrkList Tracks;
  TGPXExtension Extension;
  TGPXSelection Selection;
  // Namespace declarations of the read gpx element beyond GPX's own (prefix, URI): written
  // back, so that extension text keeps the use of their prefixes.
  std::vector<std::pair<std::string, std::string>> RootNamespaces;

  // Copies Creator, metadata, lists (appended) and extension; the selection is emptied and
  // Visible stays. Callers copy into a new document.
  void Assign(const TGPX& source);
  // The waypoint list, else the first route, else the first track segment holding the point.
  TGPXwptList* FindPointOwner(const TPoint4D2* point) const;
  // Merges the two selected routes or track segments into the first selected; the other
  // (and a track it leaves empty) goes to `retired`. nullptr for any other selection.
  TGPXwptList* MergeSelection(RetiredItems& retired);
  // Metadata bounds from every point, hidden ones included, before writing; kept when there
  // is no point.
  void UpdateBounds();
  // Empties the selection and the three lists (Present false); the items go to `retired`.
  // Creator, Metadata and Extension stay.
  void Clear(RetiredItems& retired);
  // The same, freeing the items at once: only when nothing else refers to them.
  void Clear();
  void SetVisible(bool flag);
};
