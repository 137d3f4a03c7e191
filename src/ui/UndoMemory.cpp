// Memory estimate of a document copy.
#include "ui/UndoMemory.h"

#include "model/GPX.h"

namespace {

// What the allocator adds to each block, and the list's pointer to it.
constexpr uint64_t kBlockOverhead = 16 + sizeof(void*);

uint64_t listBytes(const TGPXwptList& list) {
  uint64_t bytes = sizeof(TGPXrte) + kBlockOverhead;
  for (int i = 0; i < list.Count(); ++i) {
    const TGPXwpt* p = list.GetPoint(i);
    bytes += sizeof(TGPXwpt) + kBlockOverhead;
    if (p->HasData()) bytes += sizeof(TGPXwptData) + kBlockOverhead + p->data().extensions.size();
  }
  return bytes;
}

}  // namespace

uint64_t estimatedCopyBytes(const TGPX& gpx) {
  uint64_t bytes = sizeof(TGPX) + gpx.Extension.Text.size() + listBytes(gpx.Waypoints);
  for (const auto& r : gpx.Routes.Items()) bytes += listBytes(*r) + r->extensions.size();
  for (const auto& t : gpx.Tracks.Items()) {
    bytes += sizeof(TGPXtrk) + kBlockOverhead + t->extensions.size();
    for (const auto& s : t->Items()) bytes += listBytes(*s) + s->extensions.size();
  }
  return bytes;
}
