// Drawing options of a preview view: colours, confirmations and the edition-preview style.
// Plain data; the settings dialog edits a copy and writes it back with Assign.
#pragma once
#include <cstdint>

class TDrawOptions {
public:
  // Colours are Windows values $00BBGGRR.
  uint8_t AskBeforeDelete = 1;
  uint32_t BackgroundColor = 0xC0C0C0;
  uint32_t WayPointColor = 0xFF0000;
  uint32_t TrackColor = 0x000000;
  uint32_t RouteColor = 0x008080;
  uint32_t SelectionColor = 0x0000FF;
  uint32_t CutPointColor = 0x00FFFF;
  uint8_t RightClickSelects = 1;
  uint8_t ShowComputedSpeed = 1;
  uint8_t ShowGPXData = 0;
  uint8_t MarkStart = 0;
  uint8_t TREResetZoom = 0;
  // Edition previews: 0 lines, 1 points, 2 lines and points.
  int32_t TREDrawing = 0;
  uint8_t GPXDrawLineStyle = 0;

  void Assign(const TDrawOptions& source) { *this = source; }
  bool operator==(const TDrawOptions&) const = default;
};
