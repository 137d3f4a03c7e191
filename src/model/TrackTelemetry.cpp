#include "model/TrackTelemetry.h"

#include <algorithm>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPSAnalysis.h"

namespace {

constexpr const char* NL = "\r\n";
// What GetMinElevation gives for a list without points.
constexpr double kNoMinimum = 2147483647.0;

// '.' whatever the locale: the comment travels in files.
std::string oneDecimal(double value) { return formatFixed(value, 1); }

// " in 1:02:03 (12.3km/h)"; nothing without a duration.
std::string durationAndSpeed(double metres, double days) {
  if (!(days > 0)) return {};
  return " " + _("in") + " " + DurationToStr(days) + " (" + oneDecimal(metres / 1000 / (days * 24)) + "km/h)";
}

std::string altitudeLine(double lo, double hi) {
  return NL + _("Minimum altitude") + " " + oneDecimal(lo) + "m, " + _("maximum altitude") + " " + oneDecimal(hi) +
         "m ";
}

bool hasAltitudes(double lo, double hi) { return lo != kNoMinimum && hi != 0; }

}  // namespace

std::string TrackTelemetryText(const TGPXtrk& track) {
  const bool several = track.Count() > 1;
  std::string text;
  double totalDistance = 0, totalDuration = 0, trackMax = 0, trackMin = kNoMinimum;
  for (int i = 0; i < track.Count(); ++i) {
    const TGPXtrkseg* segment = track.GetSegment(i);
    const double d = GetDistance(segment), t = GetDuration(segment);
    totalDistance += d;
    totalDuration += t;
    if (several) text += NL + _("Track") + " #" + formatInt(i) + " :" + NL;
    text += DistanceToStr(d) + durationAndSpeed(d, t);
    const double climb = GetClimb(segment), descent = GetDescent(segment);
    if (climb > 0 || descent > 0)
      text += NL + oneDecimal(climb) + "m " + _("of ascent") + " " + _("and") + " " + oneDecimal(descent) + "m " +
              _("of descent");
    // The highest point is counted from 0 up: a segment that never rises above 0 shows no
    // altitudes, as one without any.
    const double lo = GetMinElevation(segment), hi = std::max(0.0, GetMaxElevation(segment));
    if (hasAltitudes(lo, hi)) {
      text += altitudeLine(lo, hi);
      trackMax = std::max(trackMax, hi);
      trackMin = std::min(trackMin, lo);
    }
  }
  if (several) {
    text += NL + _("Total track") + " :" + NL + DistanceToStr(totalDistance) +
            durationAndSpeed(totalDistance, totalDuration);
    if (hasAltitudes(trackMin, trackMax)) text += altitudeLine(trackMin, trackMax);
  }
  return trim(text);
}

std::string AppendTrackTelemetry(const std::string& comment, const TGPXtrk& track) {
  return trim(comment + NL + TrackTelemetryText(track));
}
