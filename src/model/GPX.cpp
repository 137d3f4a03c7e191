// The GPX document: waypoint copies, the selection, the document's life cycle.
#include "model/GPX.h"

// ---- TGPXwpt ----

TGPXwpt::TGPXwpt(const TGPXwpt& other) : TPoint4D2(ItemKind::Wpt) { CopyAllFrom(other); }

TGPXwpt& TGPXwpt::operator=(const TGPXwpt& other) {
  if (this != &other) CopyAllFrom(other);
  return *this;
}

void TGPXwpt::CopyAllFrom(const TGPXwpt& source) {
  Assign(source);  // position, time and the rare fields
  Mark = source.Mark;
  Visible = source.Visible;
}

const TGPXwptData& TGPXwpt::defaults() {
  static const TGPXwptData d;
  return d;
}

// ---- TGPXSelection ----

bool TGPXSelection::Contains(const TItem* item) const {
  for (const TItem* i : Items)
    if (i == item) return true;
  return false;
}

bool TGPXSelection::HasRouteOrSegment() const {
  for (const TItem* i : Items)
    if (i && (i->Is(ItemKind::Rte) || i->Is(ItemKind::Trkseg))) return true;
  return false;
}

// ---- TGPX ----

TGPX::TGPX() = default;

// The selection goes first: it refers to items the lists are about to free.
TGPX::~TGPX() { Selection.Clear(); }
