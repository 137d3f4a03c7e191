// Small builders for the filter tests: lists of points tagged with their original index.
#pragma once
#include <memory>
#include <vector>

#include "model/GPS.h"

// Each point's Time holds its index in the list as built, so tests can tell which stayed.
inline TPoint4D2* addPoint(TPointList2& list, double lat, double lon, double ele = 0) {
  auto p = std::make_unique<TPoint4D2>();
  p->Lat = lat;
  p->Lon = lon;
  p->Ele = ele;
  p->Time = list.Count();
  return list.Add(std::move(p));
}

inline std::vector<int> originalIndexes(const TPointList2& list) {
  std::vector<int> out;
  for (const auto& p : list.Items()) out.push_back(static_cast<int>(p->Time));
  return out;
}

// Degrees of longitude along the equator for a distance in metres on the 6378137 m sphere.
inline double equatorDegrees(double metres) { return metres / 6378137.0 * 57.29577951308232; }
