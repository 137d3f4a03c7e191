// Summary figures of a point list and their text forms.
#include "model/GPSAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Translate.h"

double GetDistance(const TPointList2* list) {
  if (!list || list->Count() < 2) return 0;
  const auto& v = list->Items();
  double sum = 0;
  for (size_t i = 1; i < v.size(); ++i) sum += v[i - 1]->DistanceToPoint(*v[i], false);
  return sum;
}

double GetDuration(const TPointList2* list) {
  if (!list) return 0;
  // On the day count, where later is always larger, also before 1899-12-30.
  double earliest = 2147483647.0, latest = -2147483647.0;
  for (const auto& p : list->Items()) {
    // A point without a time would measure the track from 1899.
    if (p->Time == 0) continue;
    const double t = dateTimeToDayCount(p->Time);
    earliest = Min(earliest, t);
    latest = Max(latest, t);
  }
  return latest - earliest > 0 ? latest - earliest : 0;
}

double GetClimb(const TPointList2* list) {
  if (!list || list->Count() < 2) return 0;
  const auto& v = list->Items();
  double sum = 0;
  for (size_t i = 1; i < v.size(); ++i)
    if (v[i]->Ele > v[i - 1]->Ele) sum += v[i]->Ele - v[i - 1]->Ele;
  return sum;
}

double GetDescent(const TPointList2* list) {
  if (!list || list->Count() < 2) return 0;
  const auto& v = list->Items();
  double sum = 0;
  for (size_t i = 1; i < v.size(); ++i)
    if (v[i]->Ele < v[i - 1]->Ele) sum += v[i - 1]->Ele - v[i]->Ele;
  return sum;
}

double GetMaxElevation(const TPointList2* list) {
  if (!list || list->Empty()) return 0.0;
  // From the first point, not from 0: a track below sea level has a negative maximum.
  double best = list->First()->Ele;
  for (const auto& p : list->Items())
    if (p->Ele > best) best = p->Ele;
  return best;
}

double GetMinElevation(const TPointList2* list) {
  double best = 2147483647.0;
  if (!list) return best;
  for (const auto& p : list->Items())
    if (p->Ele < best) best = p->Ele;
  return best;
}

std::string DistanceToStr(double metres) {
  const double d = std::fabs(metres);
  if (d <= 2000.0) return formatFixed(d, 1) + " " + _("m");
  return formatFixed(d / 1000.0, 1) + " " + _("km");
}

std::string DurationToStr(double days) {
  if (!std::isfinite(days)) days = 0;
  days = std::clamp(days, -1e10, 1e10);  // beyond any date, and keeps the milliseconds in range
  std::string sign;
  if (days < 0) {
    sign = "-";
    days = -days;
  }
  // Whole milliseconds first: cutting the raw fraction shows one second too few.
  const int64_t totalMs = roundHalfEven(days * 86400000.0);
  int64_t d = totalMs / 86400000;
  const int64_t s = (totalMs % 86400000) / 1000;

  std::string text = sign;
  if (d >= 366) {
    const int64_t y = d / 365;
    text += formatInt(y) + " " + (y < 2 ? _("year") : _("years")) + " ";
    d %= 365;
  }
  if (d >= 31) {
    const int64_t m = d / 30;
    text += formatInt(m) + " " + (m >= 2 ? _("months") : _("month")) + " ";
    d %= 30;
  }
  if (d > 0) text += formatInt(d) + " " + (d == 1 ? _("day") : _("days")) + " ";
  text += formatInt(s / 3600) + ":" + formatIntPadded((s % 3600) / 60, 2) + ":" + formatIntPadded(s % 60, 2);
  return text;
}

std::string SpeedToStr(double metres, double days) {
  if (!(days > 0)) return "";
  return formatFixed(metres / 1000.0 / (days * 24.0), 1) + " km/h";
}
