// The texts that describe a point: the status bar's point description (by the status-bar
// flags of the graph options), the graph value under the mouse, and the value in the
// graph pop-up's captions.
#pragma once
#include <cstdint>
#include <string>

#include "model/GPX.h"
#include "views/StatOptions.h"

struct TPointInfoRequest {
  const TGPXwpt* Point = nullptr;
  const TGPX* GPX = nullptr;           // for the track that holds a segment
  const TItem* FirstSelected = nullptr;
  bool ShowComputedSpeed = false;      // the preview's option
  int IndexHint = -1;                  // where the point probably is in its list
  std::string Prefix;
};

// The description for status panel 2: the flagged fields that are set, then for a route or
// segment speed, index, distance, duration and parent name; trimmed.
std::string PointInfoText(const TPointInfoRequest& request, const TStatOptions& options);
// The graph value for the status bar, '.' as separator: "Altitude : 512.3 m ". Empty for
// mode 0.
std::string GraphValueText(uint8_t mode, double value);
// The value in the pop-up's captions, in the locale's number format; empty for mode 0.
std::string GraphValueCaption(uint8_t mode, double value);
