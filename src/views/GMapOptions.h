// Settings of the generated web map page: controls, map types, tile layers, line colours,
// the line-style flag and the snapshot's calibration files.
#pragma once
#include <cstdint>
#include <string>

// The folder of the installed map script, as a file: address (set by the build).
#ifndef CORVANTEL_MAP_PROVIDER
#define CORVANTEL_MAP_PROVIDER "file:///usr/share/corvantel/web"
#endif

struct TGMapOptions {
  bool ShowControl = true;   // a "mouseover" listener shows the map's controls
  bool AutoHide = false;     // a "mouseout" listener hides them
  uint8_t Control = 1;       // zoom and pan control: 1 small, 2 large, other values none
  bool Scale = false;
  bool OverView = false;
  bool MapType = true;
  bool MapTypeStreet = true;  // stored and copied; the page does not use it
  bool MapTypeSatellite = true;
  bool MapTypeHybrid = true;
  bool MapTypePhysical = true;
  bool MapTypeMapnik = false;
  bool MapTypeOSMCycle = false;
  bool MapTypeOSMAerial = false;
  bool MapTypeOSMPiste = false;
  std::string TrackColor = "FF0000";  // six hexadecimal digits, red first, no '#'
  std::string RouteColor = "00DD00";
  bool WriteSatFile = false;  // the map snapshot writes a ".sat" file
  bool WriteMapFile = false;  // the map snapshot writes a ".map" file
  bool ExtensionLineColor = false;  // routes and segments take their gpx_style colour

  void Assign(const TGMapOptions& source) { *this = source; }
  bool operator==(const TGMapOptions&) const = default;
};

// Addresses the page loads from, fixed by the installation rather than by the user. The page
// appends the fixed paths ("/maps?file=api...", "/mapfiles/marker_mini.png", "/tiles/cycle/"...)
// to the servers, so none ends with '/'. A `file:` provider address drops the query, so the map
// script lies at "<provider folder>/maps".
struct TGMapConfig {
  std::string ScriptProvider = CORVANTEL_MAP_PROVIDER;  // the map script: + "/maps?file=api..."
  std::string ApiKey;                                   // the provider's key, put after "&amp;key="
  std::string MarkerServer = CORVANTEL_MAP_PROVIDER;    // red marker and shadow: + "/mapfiles/..."
  std::string SmallMarkerServer = CORVANTEL_MAP_PROVIDER;  // blue, green: + "/ridefinder/images/..."
  // The four extra layers' tiles, as address templates with {z}, {x} and {y}; several,
  // separated by blanks, lie one over the other, the first lowest (pistes need a map under
  // them). The page names the server of the last one; the map script fetches by the templates.
  std::string MapnikTiles = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
  std::string OSMCycleTiles = "https://a.tile-cyclosm.openstreetmap.fr/cyclosm/{z}/{x}/{y}.png";
  std::string OSMAerialTiles =
      "https://server.arcgisonline.com/ArcGIS/rest/services/World_Imagery/MapServer/tile/{z}/{y}/{x}";
  std::string OSMPisteTiles =
      "https://tile.openstreetmap.org/{z}/{x}/{y}.png https://tiles.opensnowmap.org/pistes/{z}/{x}/{y}.png";
  std::string MapDataSite = "https://www.openstreetmap.org";  // the tile layers' copyright link
  std::string LicenceSite = "https://creativecommons.org";    // + "/licenses/by-sa/2.0/"
};
