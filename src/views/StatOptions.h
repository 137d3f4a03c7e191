// Options of the statistics graph: colours, how the point under the mouse is chosen, the
// horizontal hairline, and which values the status bar shows for that point.
#pragma once
#include <cstdint>

struct TStatOptions {
  // Colours are $00BBGGRR values.
  uint32_t BackgroundColor = 0xC0C0C0;
  uint32_t LineColor = 0x000000;
  uint32_t AxisColor = 0x808080;
  uint32_t TextColor = 0x000000;
  uint32_t SelectionColor = 0x0000FF;       // the hairlines under the mouse
  uint32_t RangeSelectionColor = 0x00FFFF;  // the selected range and its end markers
  int32_t SelectByXorXY = 0;           // 0 nearest in x, 1 nearest in x and y; others as 0
  int32_t ShowHorizontalHairline = 1;  // 0 hidden, 1 drawn, 2 drawn in inverse colour

  // Status-bar fields, in this order.
  bool altitude = false;
  bool magvar = false;
  bool geoidheight = false;
  bool name = true;
  bool cmt = false;
  bool desc = false;
  bool src = false;
  bool sym = false;
  bool type = false;
  bool fix = false;
  bool sat = false;
  bool hdop = false;
  bool vdop = false;
  bool pdop = false;
  bool ageofgpsdata = false;
  bool dgps = false;
  bool Value = true;  // the graph value itself: always shown, never stored
  bool Distance = false;
  bool Duration = false;
  bool ParentName = false;
  bool Speed = false;
  bool Index = false;

  void Assign(const TStatOptions& source) { *this = source; }
  bool operator==(const TStatOptions&) const = default;
};
