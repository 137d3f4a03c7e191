// Encoded polylines for the web map page: a Douglas-Peucker pass gives every point a zoom
// level (kept in the point's Mark byte), then the kept points and their levels are written
// in the map script's compact text form.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "model/GPS.h"

// One index range of the list being simplified: an entry of the explicit work stack.
struct dInt {
  int32_t First;
  int32_t Last;
};

class TGPolyLine {
public:
  // Mark value of a point that is left out of both texts (unless it is an end of the list).
  static constexpr uint8_t kNoLevel = 255;

  explicit TGPolyLine(double verySmall);

  const uint8_t numLevels = 18;
  const uint8_t zoomFactor = 2;
  const double verySmall;
  // zoomLevelBreaks[i] = verySmall * zoomFactor^(numLevels - i - 1), i = 0 .. numLevels.
  std::array<double, 19> zoomLevelBreaks{};

  // Writes the level of every point of the list into its Mark: the ends get numLevels - 1,
  // interior points 2 .. 19 by their simplification distance, or kNoLevel.
  void DPEncode(TPointList2& list) const;
  // The points text: ends and levelled points as rounded differences of 1e-5 degree, with
  // every backslash doubled (the text goes into a double-quoted script string).
  std::string CreateEncodings(const TPointList2& list) const;
  // The levels text: one number per point whose Mark is below kNoLevel.
  std::string EncodeLevels(const TPointList2& list) const;

  int ComputeLevel(double d) const;
  // Distance of p from the segment a-b on the plane of latitude and longitude, in degrees.
  static double Distance(const TPoint4D2& p, const TPoint4D2& a, const TPoint4D2& b);
  static std::string EncodeSignedNumber(int32_t v);
  static std::string EncodeNumber(int32_t v);

private:
  static void appendSigned(std::string& out, int32_t v);
  static void appendNumber(std::string& out, uint32_t v);
};
