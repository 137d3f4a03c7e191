// Counting what the readers refuse, and the log lines that say so.
#include "formats/ReadIssues.h"

#include <cmath>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPX.h"

namespace {

thread_local TReadIssues* active = nullptr;

}  // namespace

bool TReadIssues::acceptCoordinates(bool readable, double lat, double lon) {
  if (!readable) {
    ++unreadableCoordinates;
    return false;
  }
  // The comparisons are false for NaN as well.
  if (!(lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180)) {
    ++coordinatesOutOfRange;
    return false;
  }
  return true;
}

void TReadIssues::checkTimeAndElevation(TGPXwpt& point) {
  if (point.Time != 0 && !isInYearRange(point.Time)) {
    point.Time = 0;
    ++refusedTimes;
  }
  if (!std::isfinite(point.Ele)) {
    point.Ele = 0;
    ++refusedElevations;
  }
}

std::vector<std::string> TReadIssues::logLines() const {
  std::vector<std::string> lines;
  auto add = [&](int64_t count, const std::string& text) {
    if (count > 0) lines.push_back(formatInt(count) + " " + text);
  };
  add(unreadableCoordinates, _("points left out: latitude or longitude is missing or no number"));
  add(coordinatesOutOfRange, _("points left out: latitude or longitude is out of range"));
  add(refusedTimes, _("times left out: unreadable or outside the years 1 to 9999"));
  add(refusedElevations, _("elevations left out: not a finite number"));
  add(textsTooLong, _("texts left out: longer than a saved file can hold"));
  add(extensionsTooDeep, _("extension elements left out: nested deeper than a saved file can hold"));
  return lines;
}

TReadIssues* activeReadIssues() { return active; }

TReadIssuesScope::TReadIssuesScope(TReadIssues& issues) : previous_(active) { active = &issues; }

TReadIssuesScope::~TReadIssuesScope() { active = previous_; }
