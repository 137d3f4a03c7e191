// Douglas-Peucker reduction on raw coordinates (2D, 3D) and on earth-centred metres. The
// recursion runs on an explicit stack: a million-point track must not exhaust the call stack.
#include <utility>
#include <vector>

#include "model/PointListEdit.h"
#include "model/PointListRemove.h"

namespace {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

double dot(const Vec3& u, const Vec3& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }
Vec3 minus(const Vec3& u, const Vec3& v) { return {u.x - v.x, u.y - v.y, u.z - v.z}; }

// Index of the point between first and last farthest from the segment first-last, and its
// squared distance; the first of equal distances wins.
template <class Coords>
std::pair<int, double> farthestPoint(const Coords& at, int first, int last) {
  const Vec3 a = at(first), b = at(last);
  const Vec3 w = minus(b, a);
  const double c2 = dot(w, w);
  double best = 0;
  int k = 0;
  for (int i = first + 1; i < last; ++i) {
    const Vec3 p = at(i);
    const Vec3 v = minus(p, a);
    const double c1 = dot(v, w);
    double dist;
    if (c1 <= 0) {
      dist = dot(v, v);
    } else if (c1 <= c2) {
      const double t = c1 / c2;
      const Vec3 foot{a.x + t * w.x, a.y + t * w.y, a.z + t * w.z};
      const Vec3 d = minus(p, foot);
      dist = dot(d, d);
    } else {
      const Vec3 d = minus(p, b);
      dist = dot(d, d);
    }
    if (dist > best) {
      best = dist;
      k = i;
    }
  }
  return {k, best};
}

// Calls keep(k) for every point the reduction keeps between 0 and count-1. Each range is
// split independently of the others, so the visiting order does not change the result.
template <class Coords, class Keep>
void douglasPeucker(const Coords& at, int count, double tol2, Keep keep) {
  std::vector<std::pair<int, int>> ranges;
  if (count >= 3) ranges.emplace_back(0, count - 1);
  while (!ranges.empty()) {
    const auto [first, last] = ranges.back();
    ranges.pop_back();
    if (first + 1 >= last) continue;
    const auto [k, best] = farthestPoint(at, first, last);
    if (best <= tol2) continue;
    keep(k);
    ranges.emplace_back(k, last);
    ranges.emplace_back(first, k);
  }
}

void douglasPeuckerOnDegrees(TPointList2& list, int n, bool withEle) {
  if (n <= 0) return;  // the tolerance 1/n has no value there
  const double nn = static_cast<double>(n) * static_cast<double>(n);
  const double tol2 = 1.0 / nn;
  clearMarks(list);
  const auto& items = list.Items();
  const int count = list.Count();
  auto at = [&items, withEle](int i) {
    const TPoint4D2& p = *items[static_cast<size_t>(i)];
    return Vec3{p.Lat, p.Lon, withEle ? p.Ele : 0.0};
  };
  douglasPeucker(at, count, tol2, [&items](int k) { items[static_cast<size_t>(k)]->Mark = 1; });
  freePointsIf(list, [count](int i, const TPoint4D2& p) { return i > 0 && i < count - 1 && p.Mark == 0; });
}

}  // namespace

void DouglasPeucker3D(TPointList2& list, int n) { douglasPeuckerOnDegrees(list, n, true); }

void DouglasPeucker2D(TPointList2& list, int n) { douglasPeuckerOnDegrees(list, n, false); }

void DouglasPeuckerMetric(TPointList2& list, int n) {
  const double tol2 = static_cast<double>(n) * static_cast<double>(n);
  const int count = list.Count();
  // Each point is converted once; the delete flag starts set and the kept points clear it.
  std::vector<Vec3> xyz;
  xyz.reserve(static_cast<size_t>(count));
  for (const auto& p : list.Items()) {
    const ECEFPoint e = GeodeticToECEF(p->Lon, p->Lat, p->Ele);
    xyz.push_back({e.X, e.Y, e.Z});
  }
  std::vector<char> deleteFlag(static_cast<size_t>(count), 1);
  auto at = [&xyz](int i) { return xyz[static_cast<size_t>(i)]; };
  douglasPeucker(at, count, tol2, [&deleteFlag](int k) { deleteFlag[static_cast<size_t>(k)] = 0; });
  freePointsIf(list, [count, &deleteFlag](int i, const TPoint4D2&) {
    return i > 0 && i < count - 1 && deleteFlag[static_cast<size_t>(i)] != 0;
  });
}
