// Settings of the generated web map page: controls, map types, tile layers, line colours,
// the line-style flag and the snapshot's calibration files.
#pragma once
#include <cstdint>
#include <string>

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
};
