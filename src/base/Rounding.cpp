// Rounding to whole numbers: halves to even, and cut toward zero; both saturate instead of
// overflowing, and NaN gives 0.
#include "NumberText.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {
int64_t saturate(double whole) {
  if (std::isnan(whole)) return 0;
  // 2^63 is exactly representable; anything at or above it does not fit.
  if (whole >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (whole < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(whole);
}
}  // namespace

int64_t roundHalfEven(double value) {
  // nearbyint follows the current rounding mode; ours is never changed from to-nearest-even,
  // but say so explicitly rather than depend on it.
  const int saved = std::fegetround();
  if (saved != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  double r = std::nearbyint(value);
  if (saved != FE_TONEAREST) std::fesetround(saved);
  return saturate(r);
}

int64_t truncToInt(double value) { return saturate(std::trunc(value)); }
