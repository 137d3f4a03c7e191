// What the map page's script library takes from the host: the tiles of the four base map
// types, OpenStreetMap-style address templates ("{z}/{x}/{y}"). An empty address leaves
// that map type without tiles: the overlays show on an empty background.
#pragma once
#include <string>

#include <QString>

#include "views/GMapOptions.h"

struct TMapTileSource {
  std::string Url;          // "https://host/{z}/{x}/{y}.png"; empty for none
  std::string Attribution;  // HTML shown in the map's corner
  int MaxZoom = 19;
};

struct TMapScriptSettings {
  TMapTileSource Normal{"https://tile.openstreetmap.org/{z}/{x}/{y}.png",
                        "&copy; <a href=\"https://www.openstreetmap.org/copyright\" "
                        "target=\"_blank\">OpenStreetMap</a> contributors",
                        19};
  TMapTileSource Satellite, Hybrid;
  TMapTileSource Physical{"https://tile.opentopomap.org/{z}/{x}/{y}.png",
                          "&copy; <a href=\"https://opentopomap.org\" target=\"_blank\">"
                          "OpenTopoMap</a> (CC-BY-SA)",
                          17};

  // The script run before the page's own: sets window.CorvantelMapConfig, with the tiles of
  // the page's extra layers by their map type names.
  QString StartScript(const TGMapConfig& page) const;
};
