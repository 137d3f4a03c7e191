// Reading the texts the web map page reports through its status line: positions, the
// visible area and marker indexes. Every reader checks the whole text before it hands
// anything out, so a malformed text changes nothing.
#pragma once
#include <string>
#include <string_view>

#include "model/GPS.h"

// A position as the page writes it, "lat, lng" (blanks around the comma optional): the
// two texts trimmed, exactly as written, and their values. False when either is no number.
struct TMapPosition {
  std::string LatText, LonText;
  double Lat = 0, Lon = 0;
};
bool parseMapPosition(std::string_view text, TMapPosition& out);

// The text after the first blank: "Click 45.5, 6.25" -> "45.5, 6.25"; empty without a blank.
std::string_view afterFirstBlank(std::string_view text);

// A "Bounds ((s, w), (n, e))" text into `box` (south MinLat, west MinLon, north MaxLat, east
// MaxLon) and Valid. A text that does not read whole leaves the box not valid and its limits
// as they were.
bool parseMapBounds(std::string_view text, TBBox& box);

// Cuts a "Move ... <index>" text before its first '<' and reads the index between it and
// the next '>'. -1 when the text holds no '<' and '>' or the index is not a whole number
// from 0; the text is then cut only when it holds both characters.
int cutMarkerIndex(std::string& text);

// A text as a double-quoted script string literal: quotes, backslashes, line breaks and
// '<' are escaped, so nothing in it can end the string or the script element.
std::string scriptStringLiteral(std::string_view text);
