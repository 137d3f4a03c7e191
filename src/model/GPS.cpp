// Points, point lists and bounding boxes: distance, rectangle test, boxes, speed, text forms.
#include "model/GPS.h"

#include <cmath>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/NumberText.h"
#include "base/Translate.h"

namespace {
constexpr double kEarthRadius = 6378137.0;
constexpr long double kDegToRad = 3.14159265358979323846264338327950288L / 180.0L;
const char* const kDegreeSign = "\xC2\xB0";

// Whole degrees, then the minutes with five decimals: "45,30.00000".
std::string degMin(double value) {
  double a = std::fabs(value);
  double whole = std::trunc(a);
  return formatInt(static_cast<int64_t>(whole)) + "," + formatFixed((a - whole) * 60.0, 5);
}
}  // namespace

const char* itemClassName(ItemKind kind) {
  switch (kind) {
    case ItemKind::Point: return "TPoint4D2";
    case ItemKind::PointList: return "TPointList2";
    case ItemKind::Wpt: return "TGPXwpt";
    case ItemKind::WptList: return "TGPXwptList";
    case ItemKind::Rte: return "TGPXrte";
    case ItemKind::Trkseg: return "TGPXtrkseg";
    case ItemKind::Trk: return "TGPXtrk";
    case ItemKind::RteList: return "TGPXrteList";
    case ItemKind::TrkList: return "TGPXtrkList";
    case ItemKind::Metadata: return "TGPXmetadata";
  }
  return "";
}

double Max(double a, double b) { return a > b ? a : b; }
double Min(double a, double b) { return a < b ? a : b; }

// ---- TPoint4D2 ----

void TPoint4D2::Assign(const TPoint4D2& source) {
  Lat = source.Lat;
  Lon = source.Lon;
  Ele = source.Ele;
  ElePresent = source.ElePresent;
  Time = source.Time;
}

double TPoint4D2::DistanceTo(double lat, double lon, bool roundCos) const {
  if (Lon == lon && Lat == lat) return 0.0;
  const double phi1 = Lat * kDegToRad, lambda1 = Lon * kDegToRad;
  const double phi2 = lat * kDegToRad, lambda2 = lon * kDegToRad;
  // Each product is held as a double and summed in extended precision: near-identical
  // points need the extra bits, acos is ill-conditioned next to 1.
  const double p1 = static_cast<double>(std::sin(phi1) * std::sin(phi2));
  const double p2 =
      static_cast<double>(std::cos(phi1) * std::cos(phi2) * std::cos(lambda2 - lambda1));
  long double x = static_cast<long double>(p1) + static_cast<long double>(p2);
  const long double t = roundCos ? std::nearbyint(x * 1.0e8L) / 1.0e8L : x;
  if (t == 1.0L) return 0.0;
  // Rounding can push the cosine a hair past +-1 (near-identical or antipodal points).
  if (x > 1.0L) x = 1.0L;
  if (x < -1.0L) x = -1.0L;
  return static_cast<double>(std::acos(x) * kEarthRadius);
}

double TPoint4D2::DistanceToPoint(const TPoint4D2& other, bool roundCos) const {
  return DistanceTo(other.Lat, other.Lon, roundCos);
}

bool TPoint4D2::IsInRect(double lon1, double lon2, double lat1, double lat2) const {
  return Min(lat1, lat2) < Lat && Lat < Max(lat1, lat2) && Min(lon1, lon2) < Lon &&
         Lon < Max(lon1, lon2);
}

std::string TPoint4D2::LatToStr() const {
  return formatFixed(std::fabs(Lat), 6) + kDegreeSign + " " + (Lat >= 0 ? _("N") : _("S"));
}

std::string TPoint4D2::LonToStr() const {
  return formatFixed(std::fabs(Lon), 6) + kDegreeSign + " " + (Lon >= 0 ? _("E") : _("W"));
}

std::string TPoint4D2::LatLonToStr() const { return LatToStr() + ", " + LonToStr(); }

std::string TPoint4D2::LatToDegMinStr() const { return degMin(Lat) + (Lat < 0 ? ",S" : ",N"); }

std::string TPoint4D2::LonToDegMinStr() const { return degMin(Lon) + (Lon < 0 ? ",W" : ",E"); }

std::string TPoint4D2::EleToStr() const { return formatFixed(Ele, 1) + " " + _("m"); }

std::string TPoint4D2::TimeToStr() const {
  if (Time == 0) return {};
  const LocaleFormats& lf = localeFormats();
  std::string text = lf.shortDate(Time);
  DateTimeFields f = decodeDateTime(Time);
  if (f.hour != 0 || f.minute != 0 || f.second != 0 || f.msec != 0)
    text += " " + lf.longTime(Time);
  return text;
}

// ---- TBBox ----

void TBBox::Clear() {
  MaxLat = MinLat = MaxLon = MinLon = 0;
  ScaleX = ScaleY = 0;
  Valid = false;
}

void TBBox::Assign(const TBBox& source) {
  MaxLat = source.MaxLat;
  MinLat = source.MinLat;
  MaxLon = source.MaxLon;
  MinLon = source.MinLon;
  Scale = source.Scale;
  ScaleX = source.ScaleX;
  ScaleY = source.ScaleY;
}

void TBBox::Extend(const TBBox& other) {
  // An invalid box holds stale or cleared limits: it has nothing to contribute.
  if (!other.Valid) return;
  if (Valid) {
    MaxLat = Max(MaxLat, other.MaxLat);
    MinLat = Min(MinLat, other.MinLat);
    MaxLon = Max(MaxLon, other.MaxLon);
    MinLon = Min(MinLon, other.MinLon);
  } else {
    Assign(other);
    Valid = true;
  }
}

// ---- TPointList2 ----

void TPointList2::UpdateBBox(bool reset) { UpdateBBoxRange(0, Count() - 1, reset); }

void TPointList2::UpdateBBoxRange(int first, int last, bool reset) {
  BBox.Valid = false;
  if (Count() < 2) return;
  double maxLat = BBox.MaxLat, minLat = BBox.MinLat, maxLon = BBox.MaxLon, minLon = BBox.MinLon;
  int start = first;
  if (reset) {
    // The search stops before `last`: the last point never starts a box on its own.
    while (!At(start)->Visible && start + 1 < last) ++start;
    const TPoint4D2* p = At(start);
    if (!p->Visible) return;
    maxLat = minLat = p->Lat;
    maxLon = minLon = p->Lon;
  }
  for (int i = start; i <= last; ++i) {
    const TPoint4D2* p = At(i);
    if (!p->Visible) continue;
    maxLat = Max(maxLat, p->Lat);
    minLat = Min(minLat, p->Lat);
    maxLon = Max(maxLon, p->Lon);
    minLon = Min(minLon, p->Lon);
  }
  BBox.MaxLat = maxLat;
  BBox.MinLat = minLat;
  BBox.MaxLon = maxLon;
  BBox.MinLon = minLon;
  BBox.Valid = true;
}

int TPointList2::FindNearestIndex(double lat, double lon) const {
  double best = 2147483647.0;
  int index = -1;
  for (int i = 0; i < Count(); ++i) {
    double d = items_[static_cast<size_t>(i)]->DistanceTo(lat, lon, false);
    if (d < best) {
      best = d;
      index = i;
    }
  }
  return index;
}

TPoint4D2* TPointList2::FindNearest(double lat, double lon) const {
  int i = FindNearestIndex(lat, lon);
  return i < 0 ? nullptr : At(i);
}

double TPointList2::GetSpeed(const TPoint4D2* point) const {
  int i = IndexOf(point);
  if (i < 1 || i > Count() - 1) return -1.0;
  const TPoint4D2* a = At(i - 1);
  const TPoint4D2* b = At(i);
  if (a->Time == 0 || b->Time == 0) return -1.0;
  double d = a->DistanceToPoint(*b, false);
  double dt = std::fabs(daysBetween(a->Time, b->Time));
  if (dt == 0) return -1.0;
  return d / 1000.0 / (dt * 24.0);
}

void TPointList2::SetVisible(bool flag) {
  Visible = flag;
  for (auto& p : items_) p->Visible = flag;
}
