// Which items a document holds right now.
#include "model/DocumentIndex.h"

TDocumentIndex::TDocumentIndex(const TGPX* gpx) : gpx_(gpx) {
  if (!gpx) return;
  items_.insert(&gpx->Metadata);
  items_.insert(&gpx->Waypoints);
  items_.insert(&gpx->Routes);
  items_.insert(&gpx->Tracks);
  for (const auto& w : gpx->Waypoints.Items()) items_.insert(w.get());
  for (const auto& r : gpx->Routes.Items()) items_.insert(r.get());
  for (const auto& t : gpx->Tracks.Items()) {
    items_.insert(t.get());
    for (const auto& s : t->Items()) items_.insert(s.get());
  }
}

// Addresses are only compared, never followed: the reference checked may be stale.
bool TDocumentIndex::Holds(const TItem* item) const {
  if (!item || !gpx_) return false;
  if (items_.count(item)) return true;
  return holdsPointAt(item);
}

bool TDocumentIndex::HoldsPoint(const TPoint4D2* point) const { return holdsPointAt(point); }

bool TDocumentIndex::holdsPointAt(const TItem* point) const {
  if (!point || !gpx_) return false;
  auto in = [point](const TPointList2& list) {
    for (const auto& p : list.Items())
      if (static_cast<const TItem*>(p.get()) == point) return true;
    return false;
  };
  if (in(gpx_->Waypoints)) return true;
  for (const auto& r : gpx_->Routes.Items())
    if (in(*r)) return true;
  for (const auto& t : gpx_->Tracks.Items())
    for (const auto& s : t->Items())
      if (in(*s)) return true;
  return false;
}

bool TDocumentIndex::HoldsObject(const void* object) const {
  return gpx_ && object && (object == gpx_ || object == &gpx_->Extension);
}
