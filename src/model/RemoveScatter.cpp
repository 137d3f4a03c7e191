// Removal of the scattered fixes a receiver records while standing still: stretches where a
// ten-leg window moves slower than 1 km/h for long enough.
#include <vector>

#include "base/DateTime.h"
#include "model/PointListEdit.h"
#include "model/PointListRemove.h"

namespace {

// km/h over `dist` metres in `span` days; no time elapsed counts as standing still.
double speedKmh(double dist, double span) { return span == 0 ? 0.0 : dist / 1000.0 / (span * 24.0); }

}  // namespace

void RemoveScatter(TPointList2& list, int n) {
  const int count = list.Count();
  if (count < 11 || list.GetPoint(9)->Time == 0) return;
  clearMarks(list);
  const auto& items = list.Items();
  auto time = [&items](int i) { return dateTimeToDayCount(items[static_cast<size_t>(i)]->Time); };
  // Each leg is measured once; a window adds its ten legs in order, as a fresh sum would.
  std::vector<double> leg(static_cast<size_t>(count - 1));
  for (int j = 0; j + 1 < count; ++j)
    leg[static_cast<size_t>(j)] = items[static_cast<size_t>(j)]->DistanceToPoint(*items[static_cast<size_t>(j + 1)], false);
  auto pairSpeed = [&](int j) { return speedKmh(leg[static_cast<size_t>(j)], time(j + 1) - time(j)); };

  int start = -1;
  for (int i = 0; i <= count - 11; ++i) {
    const double span = time(i + 9) - time(i);
    double dist = 0;
    for (int j = i; j <= i + 9; ++j) dist += leg[static_cast<size_t>(j)];
    const double v = speedKmh(dist, span);
    if (v < 1.0 && start == -1) {
      // A slow stretch begins on the second point of its first slow pair.
      start = i;
      do {
        ++start;
      } while (!(pairSpeed(start - 1) < 1.0 || start >= i + 9));
    } else if (start != -1 && (v > 1.0 || i == count - 11)) {
      // It ends on the first point of its last slow pair.
      int end = i + 9;
      do {
        --end;
      } while (pairSpeed(end) >= 1.0 && end > i);
      if ((time(end) - time(start)) * 24.0 * 60.0 >= n && end >= start)
        for (int k = start; k <= end; ++k) items[static_cast<size_t>(k)]->Mark = 255;
      start = -1;
    }
  }
  freePointsIf(list, [](int, const TPoint4D2& p) { return p.Mark == 255; });
}
