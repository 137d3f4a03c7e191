// Encoded polylines: levels by Douglas-Peucker on an explicit stack, points and levels as text.
#include "views/GPolyLine.h"

#include <cmath>
#include <limits>
#include <vector>

#include "base/NumberText.h"

TGPolyLine::TGPolyLine(double verySmallValue) : verySmall(verySmallValue) {
  for (int i = 0; i <= numLevels; ++i)
    zoomLevelBreaks[static_cast<size_t>(i)] = verySmall * std::pow(double(zoomFactor), numLevels - i - 1);
}

double TGPolyLine::Distance(const TPoint4D2& p, const TPoint4D2& a, const TPoint4D2& b) {
  if (a.Lat == b.Lat && a.Lon == b.Lon)
    return std::sqrt((b.Lat - p.Lat) * (b.Lat - p.Lat) + (b.Lon - p.Lon) * (b.Lon - p.Lon));
  const double dLat = b.Lat - a.Lat, dLon = b.Lon - a.Lon;
  const double u = ((p.Lat - a.Lat) * dLat + (p.Lon - a.Lon) * dLon) / (dLat * dLat + dLon * dLon);
  if (u <= 0)
    return std::sqrt((p.Lat - a.Lat) * (p.Lat - a.Lat) + (p.Lon - a.Lon) * (p.Lon - a.Lon));
  if (u >= 1)
    return std::sqrt((p.Lat - b.Lat) * (p.Lat - b.Lat) + (p.Lon - b.Lon) * (p.Lon - b.Lon));
  const double x = p.Lat - a.Lat - u * dLat, y = p.Lon - a.Lon - u * dLon;
  return std::sqrt(x * x + y * y);
}

int TGPolyLine::ComputeLevel(double d) const {
  if (d <= verySmall) return 0;
  int i = 0;
  while (i < numLevels && d < zoomLevelBreaks[static_cast<size_t>(i)]) ++i;
  return i;
}

void TGPolyLine::DPEncode(TPointList2& list) const {
  const int n = list.Count();
  if (n == 0) return;  // no ends to mark; both texts stay empty
  // One pass over the owned points up front: the scans below touch each point many times.
  std::vector<const TPoint4D2*> pts(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) pts[static_cast<size_t>(i)] = list.At(i);
  std::vector<double> dists(static_cast<size_t>(n), 0.0);
  if (n > 2) {
    // An explicit stack rather than recursion: a long track must not exhaust the call stack.
    std::vector<dInt> stack;
    stack.push_back({0, n - 1});
    while (!stack.empty()) {
      const dInt range = stack.back();
      stack.pop_back();
      const TPoint4D2& a = *pts[static_cast<size_t>(range.First)];
      const TPoint4D2& b = *pts[static_cast<size_t>(range.Last)];
      double maxDist = 0;
      int maxLoc = 0;
      for (int i = range.First + 1; i < range.Last; ++i) {
        const double d = Distance(*pts[static_cast<size_t>(i)], a, b);
        if (d > maxDist) {
          maxDist = d;
          maxLoc = i;
        }
      }
      if (maxDist > verySmall) {
        dists[static_cast<size_t>(maxLoc)] = maxDist;
        stack.push_back({range.First, maxLoc});
        stack.push_back({maxLoc, range.Last});
      }
    }
  }
  const uint8_t ends = static_cast<uint8_t>(numLevels - 1);
  list.At(0)->Mark = ends;
  for (int i = 1; i < n - 1; ++i) {
    const double d = dists[static_cast<size_t>(i)];
    list.At(i)->Mark = d > 0 ? static_cast<uint8_t>(numLevels + 1 - ComputeLevel(d)) : kNoLevel;
  }
  list.At(n - 1)->Mark = ends;
}

namespace {
// Differences beyond the 32-bit range come only from absurd coordinates: saturate them
// rather than overflow.
int32_t toInt32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}
}  // namespace

std::string TGPolyLine::CreateEncodings(const TPointList2& list) const {
  std::string out;
  const int n = list.Count();
  double plat = 0.0, plon = 0.0;
  bool backslash = false;
  for (int i = 0; i < n; ++i) {
    const TPoint4D2* p = list.At(i);
    if (i != 0 && i != n - 1 && p->Mark == kNoLevel) continue;
    const double lat5 = p->Lat * 100000, lon5 = p->Lon * 100000;
    const int32_t dlat = toInt32(roundHalfEven(lat5 - plat));
    const int32_t dlon = toInt32(roundHalfEven(lon5 - plon));
    plat += dlat;
    plon += dlon;
    const size_t from = out.size();
    appendSigned(out, dlat);
    appendSigned(out, dlon);
    if (!backslash && out.find('\\', from) != std::string::npos) backslash = true;
  }
  if (!backslash) return out;
  std::string doubled;
  doubled.reserve(out.size() + out.size() / 16);
  for (char c : out) {
    doubled.push_back(c);
    if (c == '\\') doubled.push_back('\\');
  }
  return doubled;
}

std::string TGPolyLine::EncodeLevels(const TPointList2& list) const {
  std::string out;
  const int n = list.Count();
  for (int i = 0; i < n; ++i) {
    const uint8_t mark = list.At(i)->Mark;
    if (mark < kNoLevel) appendNumber(out, mark);
  }
  return out;
}

void TGPolyLine::appendNumber(std::string& out, uint32_t v) {
  while (v >= 32) {
    out.push_back(static_cast<char>((32 | (v & 31)) + 63));
    v >>= 5;
  }
  out.push_back(static_cast<char>(v + 63));
}

void TGPolyLine::appendSigned(std::string& out, int32_t v) {
  uint32_t s = static_cast<uint32_t>(v) << 1;
  if (v < 0) s = ~s;
  appendNumber(out, s);
}

std::string TGPolyLine::EncodeSignedNumber(int32_t v) {
  std::string out;
  appendSigned(out, v);
  return out;
}

std::string TGPolyLine::EncodeNumber(int32_t v) {
  std::string out;
  appendNumber(out, static_cast<uint32_t>(v < 0 ? 0 : v));
  return out;
}
