// Which items a document holds right now, for checking references that may have outlived
// an edit: lists, routes, tracks, segments and waypoints by a set, route and track points
// by a walk of their lists.
#pragma once
#include <unordered_set>

#include "model/GPX.h"

class TDocumentIndex {
public:
  // No document: nothing is live.
  explicit TDocumentIndex(const TGPX* gpx);
  const TGPX* Document() const { return gpx_; }
  // The item (any kind) belongs to the document. Points are looked up by a walk over the
  // lists, so ask about few of them.
  bool Holds(const TItem* item) const;
  bool HoldsPoint(const TPoint4D2* point) const;
  // The document itself, or its extension record.
  bool HoldsObject(const void* object) const;

private:
  bool holdsPointAt(const TItem* point) const;
  const TGPX* gpx_;
  std::unordered_set<const TItem*> items_;  // every item but the route and track points
};
