// Small documents and a sized view over an image, shared by the views tests.
#pragma once
#include <initializer_list>
#include <memory>
#include <utility>

#include "model/GPX.h"
#include "views/GPXDraw.h"

using LatLon = std::pair<double, double>;

inline TGPXwpt* addPoint(TGPXwptList& list, double lat, double lon) {
  auto p = std::make_unique<TGPXwpt>();
  p->Lat = lat;
  p->Lon = lon;
  return list.AddPoint(std::move(p));
}

inline TGPXrte* addRoute(TGPX& gpx, std::initializer_list<LatLon> pts) {
  TGPXrte* r = gpx.Routes.Add(std::make_unique<TGPXrte>());
  for (auto [lat, lon] : pts) addPoint(*r, lat, lon);
  return r;
}

inline TGPXtrk* addTrack(TGPX& gpx) { return gpx.Tracks.Add(std::make_unique<TGPXtrk>()); }

inline TGPXtrkseg* addSegment(TGPXtrk& trk, std::initializer_list<LatLon> pts) {
  TGPXtrkseg* s = trk.Add(std::make_unique<TGPXtrkseg>());
  for (auto [lat, lon] : pts) addPoint(*s, lat, lon);
  return s;
}

inline TPoint4D2 at(double lat, double lon) {
  TPoint4D2 p;
  p.Lat = lat;
  p.Lon = lon;
  return p;
}

// A view of the given size drawing into its own canvas.
struct SizedView {
  Canvas canvas;
  TGPXDraw view;
  SizedView(int w, int h, TGPX* gpx = nullptr) : canvas(w, h) {
    view.Canvas = &canvas;
    view.SetGPX(gpx);
    view.SetSize(w, h);
  }
};
