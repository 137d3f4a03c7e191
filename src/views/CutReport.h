// What a box edit took out of the document. The removed objects stay alive here until the
// report is dropped, so every holder of a reference can compare it and let go first.
#pragma once
#include <memory>
#include <vector>

#include "model/GPX.h"

struct TCutReport {
  std::vector<std::unique_ptr<TPoint4D2>> Points;
  std::vector<std::unique_ptr<TGPXrte>> Routes;
  std::vector<std::unique_ptr<TGPXtrkseg>> Segments;
  std::vector<std::unique_ptr<TGPXtrk>> Tracks;

  bool Changed() const {
    return !Points.empty() || !Routes.empty() || !Segments.empty() || !Tracks.empty();
  }
  // True when the item (a point, route, segment or track) was taken out by the edit.
  bool Removed(const TItem* item) const {
    if (!item) return false;
    auto in = [item](const auto& list) {
      for (const auto& p : list)
        if (p.get() == item) return true;
      return false;
    };
    return in(Routes) || in(Segments) || in(Tracks) || in(Points);
  }
};
