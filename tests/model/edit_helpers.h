// Small builders for the editing tests: points, routes and segments from coordinate lists.
#pragma once
#include <initializer_list>
#include <memory>
#include <vector>

#include "model/GPX.h"

struct Pt {
  double lat, lon = 0, ele = 0, time = 0;
};

inline std::unique_ptr<TGPXwpt> makePoint(const Pt& p) {
  auto w = std::make_unique<TGPXwpt>();
  w->Lat = p.lat;
  w->Lon = p.lon;
  w->Ele = p.ele;
  w->Time = p.time;
  return w;
}

inline void fill(TGPXwptList& list, const std::vector<Pt>& pts) {
  for (const Pt& p : pts) list.AddPoint(makePoint(p));
}

// Points whose latitude is their number, 0 .. n-1.
inline std::vector<Pt> numbered(int n, double base = 0) {
  std::vector<Pt> pts;
  for (int i = 0; i < n; ++i) pts.push_back({base + i});
  return pts;
}

inline TGPXrte* addRoute(TGPX& doc, const std::vector<Pt>& pts) {
  auto r = std::make_unique<TGPXrte>();
  fill(*r, pts);
  return doc.Routes.Add(std::move(r));
}

inline TGPXtrkseg* addSegment(TGPXtrk& trk, const std::vector<Pt>& pts) {
  auto s = std::make_unique<TGPXtrkseg>();
  fill(*s, pts);
  return trk.Add(std::move(s));
}

inline TGPXtrk* addTrack(TGPX& doc) { return doc.Tracks.Add(std::make_unique<TGPXtrk>()); }

inline std::vector<double> lats(const TPointList2& list) {
  std::vector<double> out;
  for (const auto& p : list.Items()) out.push_back(p->Lat);
  return out;
}
