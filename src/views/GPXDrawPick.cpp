// TGPXDraw: finding what lies under the mouse, selecting it, and the box edits.
#include <algorithm>
#include <iterator>

#include "model/PointListRemove.h"
#include "views/GPXDraw.h"

namespace {

// The best candidate of one linear pass; of equal distances the first visited wins.
struct NearestOwner {
  double lat, lon;
  double best = 2147483647.0;
  TItem* owner = nullptr;
  void consider(const TPoint4D2& candidate, TItem* candidateOwner) {
    const double d = candidate.DistanceTo(lat, lon, false);
    if (d < best) {
      best = d;
      owner = candidateOwner;
    }
  }
};

bool isRouteOrSegment(const TItem* item) { return item->Is(ItemKind::Rte) || item->Is(ItemKind::Trkseg); }

// Routes and segments are point lists; the item base reaches them by a plain downcast.
TPointList2* asPointList(TItem* item) {
  if (item->Is(ItemKind::Rte)) return static_cast<TGPXrte*>(item);
  if (item->Is(ItemKind::Trkseg)) return static_cast<TGPXtrkseg*>(item);
  return nullptr;
}

TItem* nearestOwner(const TGPX& gpx, const TPoint4D2& point, bool wpts, bool rtes, bool segs) {
  NearestOwner n{point.Lat, point.Lon};
  if (wpts)
    for (const auto& w : gpx.Waypoints.Items()) n.consider(*w, w.get());
  if (rtes)
    for (const auto& r : gpx.Routes.Items())
      for (const auto& p : r->Items()) n.consider(*p, r.get());
  if (segs)
    for (const auto& t : gpx.Tracks.Items())
      for (const auto& s : t->Items())
        for (const auto& p : s->Items()) n.consider(*p, s.get());
  return n.owner;
}

}  // namespace

void TGPXDraw::SelectNearest(const TPoint4D2& point, bool Additive, bool wpts, bool rtes, bool segs) {
  if (!GPX) return;
  TItem* owner = nearestOwner(*GPX, point, wpts, rtes, segs);
  if (!owner) return;
  if (!Additive) GPX->Selection.Clear();
  if (!GPX->Selection.Contains(owner)) GPX->Selection.Add(owner);
}

void TGPXDraw::SelectNearestObject(const TPoint4D2& point, bool Additive) {
  SelectNearest(point, Additive, true, true, true);
}

void TGPXDraw::SelectNearestWayPoint(const TPoint4D2& point, bool Additive) {
  SelectNearest(point, Additive, true, false, false);
}

void TGPXDraw::SelectNearestRoute(const TPoint4D2& point, bool Additive) {
  SelectNearest(point, Additive, false, true, false);
}

void TGPXDraw::SelectNearestTrackSeg(const TPoint4D2& point, bool Additive) {
  SelectNearest(point, Additive, false, false, true);
}

void TGPXDraw::SelectNearestPoint(const TPoint4D2& point) {
  if (!GPX) return;
  TItem* owner = nearestOwner(*GPX, point, false, true, true);
  if (!owner) return;
  GPX->Selection.Clear();
  GPX->Selection.Add(owner);
  if (TPoint4D2* p = asPointList(owner)->FindNearest(point.Lat, point.Lon)) CurrentPoint = p;
}

void TGPXDraw::PickPointInSelection(const TPoint4D2& point) {
  if (!GPX || GPX->Selection.Count() != 1) return;
  TItem* item = GPX->Selection.At(0);
  if (!item || !isRouteOrSegment(item)) return;
  if (TPoint4D2* p = asPointList(item)->FindNearest(point.Lat, point.Lon)) CurrentPoint = p;
}

void TGPXDraw::SelectSecondOfKind(const TPoint4D2& point) {
  if (!GPX || GPX->Selection.Count() == 0) return;
  TGPXSelection& sel = GPX->Selection;
  sel.Items.resize(1);
  TItem* first = sel.At(0);
  if (!first) return;
  TItem* candidate = nullptr;
  if (first->Is(ItemKind::Rte))
    candidate = nearestOwner(*GPX, point, false, true, false);
  else if (first->Is(ItemKind::Trkseg))
    candidate = nearestOwner(*GPX, point, false, false, true);
  if (candidate && candidate != first) sel.Add(candidate);
}

TCutReport TGPXDraw::CutPointsInRect(const TRect& rect, bool OnlySelected, bool KeepInside) {
  TCutReport report;
  if (!GPX || !ViewBox.Valid || !HasSize()) return report;
  if (ViewBox.Scale == 0 && !ComputeScale(false)) return report;
  const TBBox r = RectLimits(rect);
  if (r.MaxLon == r.MinLon || r.MaxLat == r.MinLat) return report;
  const TGPXSelection& sel = GPX->Selection;

  auto cut = [&](TPointList2& list, bool perPointSelection) {
    auto removed = extractPointsIf(list, [&](int, const TPoint4D2& p) {
      return p.IsInRect(r.MinLon, r.MaxLon, r.MaxLat, r.MinLat) != KeepInside && (!perPointSelection || sel.Contains(&p));
    });
    report.Points.insert(report.Points.end(), std::make_move_iterator(removed.begin()),
                         std::make_move_iterator(removed.end()));
  };

  cut(GPX->Waypoints, OnlySelected);
  for (int i = GPX->Routes.Count() - 1; i >= 0; --i) {
    TGPXrte* r = GPX->Routes.At(i);
    if (OnlySelected && !sel.Contains(r)) continue;
    cut(*r, false);
    if (r->Count() == 0) report.Routes.push_back(GPX->Routes.Extract(i));
  }
  for (int i = GPX->Tracks.Count() - 1; i >= 0; --i) {
    TGPXtrk* t = GPX->Tracks.At(i);
    for (int j = t->Count() - 1; j >= 0; --j) {
      TGPXtrkseg* s = t->At(j);
      if (OnlySelected && !sel.Contains(s)) continue;
      cut(*s, false);
      if (s->Count() == 0) report.Segments.push_back(t->Extract(j));
    }
    if (t->Count() == 0) report.Tracks.push_back(GPX->Tracks.Extract(i));
  }

  if (report.Changed()) {
    // Nothing here may keep pointing at what is about to be freed.
    std::erase_if(GPX->Selection.Items, [&](const TItem* item) { return report.Removed(item); });
    if (report.Removed(CurrentList)) CurrentList = nullptr;
    if (report.Removed(CurrentPoint)) CurrentPoint = nullptr;
  }
  return report;
}

TCutReport TGPXDraw::CutPointsInDragRect(int x, int y, bool OnlySelected, bool KeepInside) {
  return CutPointsInRect(DragRect(x, y), OnlySelected, KeepInside);
}
