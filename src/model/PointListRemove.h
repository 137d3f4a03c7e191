// One-pass removal of points from a list, for the filters and the box edits: removing them one
// by one would move the tail of a million-point list once per removed point.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "model/GPS.h"

// Takes out every point for which drop(index, point) holds (indexes as before the call) and
// returns them in list order; the others close up in their order.
template <class Drop>
std::vector<std::unique_ptr<TPoint4D2>> extractPointsIf(TPointList2& list, Drop drop) {
  auto& items = list.Items();
  std::vector<std::unique_ptr<TPoint4D2>> out;
  size_t w = 0;
  for (size_t r = 0; r < items.size(); ++r) {
    if (drop(static_cast<int>(r), *items[r])) {
      out.push_back(std::move(items[r]));
    } else {
      if (w != r) items[w] = std::move(items[r]);
      ++w;
    }
  }
  items.resize(w);
  return out;
}

// The same, freeing the points taken out.
template <class Drop>
void freePointsIf(TPointList2& list, Drop drop) {
  auto& items = list.Items();
  size_t w = 0;
  for (size_t r = 0; r < items.size(); ++r) {
    if (drop(static_cast<int>(r), *items[r])) {
      items[r].reset();
    } else {
      if (w != r) items[w] = std::move(items[r]);
      ++w;
    }
  }
  items.resize(w);
}

inline void clearMarks(TPointList2& list) {
  for (auto& p : list.Items()) p->Mark = 0;
}
