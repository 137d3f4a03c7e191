// The geodetic helpers and the filters that cut, count and measure: before/after a point,
// every n-th point, minimum distance and angle.
#include "model/PointListEdit.h"

#include <cmath>
#include <numbers>

#include "model/PointListRemove.h"

ECEFPoint GeodeticToECEF(double lon, double lat, double h) {
  const double phi = lat / 180.0 * std::numbers::pi;
  const double lambda = lon / 180.0 * std::numbers::pi;
  const double a = 6378137.0;
  const double f = 0.003352810664747481;  // 1/298.257223563
  const double e2 = 2.0 * f - f * f;
  const double sinPhi = std::sin(phi);
  const double s = std::sqrt(1.0 - e2 * sinPhi * sinPhi);
  const double cosPhi = std::cos(phi);
  ECEFPoint r;
  r.X = (a / s + h) * cosPhi * std::cos(lambda);
  r.Y = (a / s + h) * cosPhi * std::sin(lambda);
  r.Z = ((1.0 - e2) * a / s + h) * sinPhi;
  return r;
}

double RadiansToDegrees(double x) { return x * 57.29577951308232; }

namespace {
double squaredDistance(const ECEFPoint& u, const ECEFPoint& v) {
  const double dx = u.X - v.X, dy = u.Y - v.Y, dz = u.Z - v.Z;
  return dx * dx + dy * dy + dz * dz;
}
}  // namespace

double VertexAngle(const TPoint4D2& P, const TPoint4D2& Q, const TPoint4D2& R) {
  const ECEFPoint p = GeodeticToECEF(P.Lon, P.Lat, P.Ele);
  const ECEFPoint q = GeodeticToECEF(Q.Lon, Q.Lat, Q.Ele);
  const ECEFPoint r = GeodeticToECEF(R.Lon, R.Lat, R.Ele);
  const double a2 = squaredDistance(p, q);
  const double b2 = squaredDistance(q, r);
  const double c2 = squaredDistance(r, p);
  const double d = 2.0 * std::sqrt(a2) * std::sqrt(b2);
  if (d == 0) return 0;
  const double cosine = (a2 + b2 - c2) / d;
  // Rounding error pushes the cosine of a straight vertex a hair past +-1; such a vertex
  // counts as 0, like a full reversal.
  const double rounded = std::nearbyint(cosine * 1e12) / 1e12;
  if (rounded >= 1.0 || rounded <= -1.0) return 0;
  return RadiansToDegrees(std::fabs(std::acos(cosine)));
}

UnlinkedPoints DeletePointsBefore(TPointList2& list, int n) {
  if (n <= 0 || n >= list.Count()) return {};
  return extractPointsIf(list, [n](int i, const TPoint4D2&) { return i < n; });
}

UnlinkedPoints DeletePointsAfter(TPointList2& list, int n) {
  if (n < 0 || n >= list.Count() - 1) return {};
  return extractPointsIf(list, [n](int i, const TPoint4D2&) { return i > n; });
}

UnlinkedPoints DeleteEveryNthPoint(TPointList2& list, int n) {
  const int count = list.Count();
  if (n < 1 || n >= count - 2) return {};
  // Decide from the top down against the shrinking count, as removing one by one would;
  // Mark belongs to the caller here, so the decisions go into a flag array.
  std::vector<char> drop(static_cast<size_t>(count), 0);
  int current = count;
  for (int i = count - 2; i >= 1; --i) {
    if (i % n == 0 && i > 1 && i < current - 2) {
      drop[static_cast<size_t>(i)] = 1;
      --current;
    }
  }
  return extractPointsIf(list, [&drop](int i, const TPoint4D2&) { return drop[static_cast<size_t>(i)] != 0; });
}

UnlinkedPoints KeepEveryNthPoint(TPointList2& list, int n) {
  const int count = list.Count();
  if (n < 1 || n > count - 2) return {};
  clearMarks(list);
  for (long long i = 0; i <= count - 1; i += n) list.GetPoint(static_cast<int>(i))->Mark = 255;
  list.GetPoint(count - 1)->Mark = 255;
  return extractPointsIf(list, [](int, const TPoint4D2& p) { return p.Mark < 255; });
}

UnlinkedPoints FilterMinDistance(TPointList2& list, int n) {
  if (n <= 0 || list.Count() < 2) return {};
  const double threshold = n / 10.0;
  clearMarks(list);
  int i = list.Count() - 1;
  while (i > 0) {
    const TPoint4D2* current = list.GetPoint(i);
    --i;
    while (i >= 1 && current->DistanceToPoint(*list.GetPoint(i), false) < threshold) {
      list.GetPoint(i)->Mark = 255;
      --i;
    }
  }
  list.First()->Mark = 0;
  list.Last()->Mark = 0;
  return extractPointsIf(list, [](int, const TPoint4D2& p) { return p.Mark == 255; });
}

void FilterAngle(TPointList2& list, int n) {
  if (n <= 0 || list.Count() < 3) return;
  clearMarks(list);
  int i = list.Count() - 2;
  while (i > 1) {
    const TPoint4D2* anchor = list.GetPoint(i);
    --i;
    // A middle point whose change of direction is below n lies too straight between the
    // anchor and its predecessor.
    while (i >= 2 &&
           n > std::fabs(180.0 - std::fabs(VertexAngle(*anchor, *list.GetPoint(i), *list.GetPoint(i - 1))))) {
      list.GetPoint(i)->Mark = 255;
      --i;
    }
  }
  list.First()->Mark = 0;
  list.Last()->Mark = 0;
  freePointsIf(list, [](int, const TPoint4D2& p) { return p.Mark == 255; });
}
