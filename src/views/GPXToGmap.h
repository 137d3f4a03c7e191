// The web map page of a document: one XHTML page whose script centres the map on the data,
// draws routes and track segments as encoded polylines and puts a marker on every waypoint.
#pragma once
#include <string>

#include "model/GPX.h"
#include "views/GMapOptions.h"

class TGMap {
public:
  TGMap() = default;
  TGMap(const TGMap&) = delete;
  TGMap& operator=(const TGMap&) = delete;

  TGPX* GPX = nullptr;  // the document of the page, not owned
  TBBox DataBBox;       // the data's box, recomputed for every page
  TBBox MapBBox;        // the map area the page last reported
  double verySmall = 0.00001;
  TGMapOptions Options;
  TGMapConfig Config;

  // The whole page, lines ending in CR LF; empty when there is no document or it holds no
  // waypoint, route or track. Recomputes the lists' boxes and overwrites the Mark of every
  // route point and track point with its polyline level.
  std::string GetPageHTML();
  void ComputeBounds();
  // A "Bounds ((s, w), (n, e))" text of the page into MapBBox; a text that does not read
  // whole leaves MapBBox not valid.
  void ParseBounds(const std::string& text);
};

// A number as the page writes it: 15 significant digits, '.', and the exponent form only
// below 0.00001 ("0.00001", "1E-6").
std::string pageNumberText(double value);
// A line colour setting as the page may use it: six hexadecimal digits pass unchanged,
// anything else gives `fallback`.
std::string validMapColor(const std::string& text, const std::string& fallback);
// The server a layer's tile templates name: scheme and host of the last template
// ("https://a.example/{z}/{x}/{y}.png" -> "https://a.example").
std::string tileServerAddress(const std::string& templates);
// The information window text of a waypoint, ready for a single-quoted script string.
std::string waypointInfoHtml(const TGPXwpt& w);
