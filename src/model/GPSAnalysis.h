// Summary figures of a point list (length, duration, climb, descent, elevation extremes)
// and the texts in which the selection information and telemetry show them.
#pragma once
#include <string>

#include "model/GPS.h"

// Metres along the list; 0 for no list or fewer than 2 points.
double GetDistance(const TPointList2* list);
// Days from the earliest to the latest time; points without a time are left out.
double GetDuration(const TPointList2* list);
// Metres gained (climb) or lost (descent, positive) over the rises or falls between points.
double GetClimb(const TPointList2* list);
double GetDescent(const TPointList2* list);
// Highest elevation, 0.0 for no points; lowest elevation, 2147483647.0 for no points.
double GetMaxElevation(const TPointList2* list);
double GetMinElevation(const TPointList2* list);

// "1234.5 m" up to 2000 m, then "2.1 km"; the sign is dropped.
std::string DistanceToStr(double metres);
// "[y year(s) ][m month(s) ][d day(s) ]h:nn:ss"; years count 365 days and months 30.
std::string DurationToStr(double days);
// "12.3 km/h"; empty when the duration is not above 0.
std::string SpeedToStr(double metres, double days);
