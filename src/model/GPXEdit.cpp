// Structural edits of a document: split, find, merge, sort by time, bounds, clear and the
// visibility cascade. What an edit unlinks goes to a RetiredItems holder, because the
// selection, the tree and the views may still point at it until they are rebuilt.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "base/DateTime.h"
#include "model/GPX.h"

namespace {

bool sameSpot(const TPoint4D2& p, const TPoint4D2& q) {
  return p.Lon == q.Lon && p.Lat == q.Lat && p.Ele == q.Ele;
}

// The index at which a list may be split at a point: the first part keeps at least 4
// points, the second at least 3. -1 when it may not.
int splitIndex(const TPointList2& list, const TPoint4D2* point) {
  const int i = list.IndexOf(point);
  if (i < 3 || i > list.Count() - 3) return -1;
  return i;
}

// Unlinks the points after index `keepLast` into `retired`.
void retireTail(TPointList2& list, int keepLast, RetiredItems& retired) {
  auto& v = list.Items();
  auto from = v.begin() + keepLast + 1;
  std::vector<std::unique_ptr<TPoint4D2>> tail(std::make_move_iterator(from),
                                               std::make_move_iterator(v.end()));
  v.erase(from, v.end());
  retired.AddAll(std::move(tail));
}

// Joins copies of b's points to a. Appends when the junction a-last / b-first is shared,
// when b starts later, or when the caller says a comes first; otherwise b's points go in
// front, a point common to b's end and a's start only once. Empty lists read no point.
void joinPoints(TGPXwptList& a, const TGPXwptList& b, bool aComesFirst) {
  if (b.Empty()) return;
  if (a.Empty()) {
    a.AppendCopies(b);
    return;
  }
  const bool shared = sameSpot(*a.Last(), *b.First());
  if (shared || isEarlier(a.Last()->Time, b.First()->Time) || aComesFirst) {
    a.AppendCopies(b, shared ? 1 : 0);
    return;
  }
  const int skip = sameSpot(*a.First(), *b.Last()) ? 1 : 0;
  TGPXwptList front;
  front.AppendCopies(b);
  auto copies = front.ExtractAll();
  copies.resize(copies.size() - static_cast<size_t>(skip));
  auto& v = a.Items();
  v.insert(v.begin(), std::make_move_iterator(copies.begin()), std::make_move_iterator(copies.end()));
}

// Time of a list's first point; a list without points counts as time 0.
double firstTime(const TPointList2& list) { return list.Empty() ? 0.0 : list.First()->Time; }

bool startsEarlier(const TPointList2& a, const TPointList2& b) { return isEarlier(firstTime(a), firstTime(b)); }

}  // namespace

TGPXrte* TGPXrteList::SplitRoute(TGPXrte* route, const TPoint4D2* point, RetiredItems& retired) {
  const int at = IndexOf(route);
  if (at < 0) return nullptr;
  const int i = splitIndex(*route, point);
  if (i < 0) return nullptr;
  auto part = std::make_unique<TGPXrte>();
  part->Assign(*route, i);
  part->name += " (part 2)";
  retireTail(*route, i, retired);
  return Insert(at + 1, std::move(part));
}

TGPXtrkseg* TGPXtrk::SplitSegment(TGPXtrkseg* segment, const TPoint4D2* point,
                                  RetiredItems& retired) {
  const int at = IndexOf(segment);
  if (at < 0) return nullptr;
  const int i = splitIndex(*segment, point);
  if (i < 0) return nullptr;
  auto part = std::make_unique<TGPXtrkseg>();
  part->Assign(*segment, i);
  retireTail(*segment, i, retired);
  return Insert(at + 1, std::move(part));
}

TGPXtrk* TGPXtrkList::FindTrackOfSegment(const TGPXtrkseg* segment) const {
  for (const auto& trk : items_)
    if (trk->IndexOf(segment) >= 0) return trk.get();
  return nullptr;
}

TGPXwptList* TGPX::FindPointOwner(const TPoint4D2* point) const {
  if (Waypoints.IndexOf(point) >= 0) return const_cast<TGPXwptList*>(&Waypoints);
  for (const auto& rte : Routes.Items())
    if (rte->IndexOf(point) >= 0) return rte.get();
  for (const auto& trk : Tracks.Items())
    for (const auto& seg : trk->Items())
      if (seg->IndexOf(point) >= 0) return seg.get();
  return nullptr;
}

TGPXrte* TGPXrteList::MergeRoutes(TGPXrte* a, TGPXrte* b, RetiredItems& retired) {
  if (!a || !b || a == b) return nullptr;
  const int ib = IndexOf(b);
  if (ib < 0) return nullptr;
  joinPoints(*a, *b, IndexOf(a) < ib);
  retired.Add(Extract(ib));
  return a;
}

TGPXtrkseg* TGPXtrkList::MergeSegments(TGPXtrkseg* a, TGPXtrkseg* b, RetiredItems& retired) {
  if (!a || !b || a == b) return nullptr;
  TGPXtrk* owner = FindTrackOfSegment(b);
  if (!owner) return nullptr;
  joinPoints(*a, *b, false);
  if (owner->Count() > 1)
    retired.Add(owner->Extract(owner->IndexOf(b)));
  else
    retired.Add(Extract(IndexOf(owner)));
  return a;
}

TGPXwptList* TGPX::MergeSelection(RetiredItems& retired) {
  if (Selection.Count() != 2) return nullptr;
  TItem* first = Selection.At(0);
  TItem* second = Selection.At(1);
  if (!first || !second) return nullptr;
  if (first->Is(ItemKind::Rte)) {
    if (!second->Is(ItemKind::Rte)) return nullptr;
    return Routes.MergeRoutes(static_cast<TGPXrte*>(first), static_cast<TGPXrte*>(second), retired);
  }
  if (first->Is(ItemKind::Trkseg) && second->Is(ItemKind::Trkseg))
    return Tracks.MergeSegments(static_cast<TGPXtrkseg*>(first), static_cast<TGPXtrkseg*>(second),
                                retired);
  return nullptr;
}

void TGPXwptList::SortByTime() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& p, const auto& q) { return isEarlier(p->Time, q->Time); });
}

void TGPXrteList::SortByTime() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& p, const auto& q) { return startsEarlier(*p, *q); });
}

void TGPXtrk::SortSegmentsByTime() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& p, const auto& q) { return startsEarlier(*p, *q); });
}

void TGPX::UpdateBounds() {
  // The bounds a file states must hold all its data: a lone waypoint, a hidden track and a
  // limit on the equator count like anything else. The drawn boxes are not these.
  bool any = false;
  double minLat = 0, maxLat = 0, minLon = 0, maxLon = 0;
  auto take = [&](const TPointList2& list) {
    for (const auto& p : list.Items()) {
      if (!std::isfinite(p->Lat) || !std::isfinite(p->Lon)) continue;
      if (!any) {
        minLat = maxLat = p->Lat;
        minLon = maxLon = p->Lon;
        any = true;
        continue;
      }
      minLat = Min(minLat, p->Lat);
      maxLat = Max(maxLat, p->Lat);
      minLon = Min(minLon, p->Lon);
      maxLon = Max(maxLon, p->Lon);
    }
  };
  take(Waypoints);
  for (const auto& rte : Routes.Items()) take(*rte);
  for (const auto& trk : Tracks.Items())
    for (const auto& seg : trk->Items()) take(*seg);
  // No point at all: keep the bounds read from the file.
  if (!any) return;
  Metadata.bounds = {minLat, minLon, maxLat, maxLon, true};
  Metadata.Present = true;
}

void TGPX::Clear(RetiredItems& retired) {
  Selection.Clear();
  retired.AddAll(Waypoints.ExtractAll());
  retired.AddAll(Routes.ExtractAll());
  retired.AddAll(Tracks.ExtractAll());
  Waypoints.Present = false;
  Routes.Present = false;
  Tracks.Present = false;
}

void TGPX::Clear() {
  RetiredItems freedAtOnce;
  Clear(freedAtOnce);
}

void TGPXrteList::SetVisible(bool flag) {
  Visible = flag;
  for (auto& rte : items_) rte->TPointList2::SetVisible(flag);
}

void TGPXtrk::SetVisible(bool flag) {
  Visible = flag;
  for (auto& seg : items_) seg->SetVisible(flag);
}

void TGPXtrkList::SetVisible(bool flag) {
  Visible = flag;
  for (auto& trk : items_) trk->SetVisible(flag);
}

void TGPX::SetVisible(bool flag) {
  Visible = flag;
  Waypoints.SetVisible(flag);
  Routes.SetVisible(flag);
  Tracks.SetVisible(flag);
}
