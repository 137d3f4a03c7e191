// Point-reduction filters that thin or cut a route or track segment in place, and the
// geodetic helpers they share (earth-centred coordinates, the angle at a vertex).
#pragma once
#include <memory>
#include <vector>

#include "model/GPS.h"

// WGS-84 earth-centred, earth-fixed coordinates, metres.
struct ECEFPoint {
  double X = 0, Y = 0, Z = 0;
};

// Longitude and latitude in degrees, height in metres above the ellipsoid.
ECEFPoint GeodeticToECEF(double lon, double lat, double h);
double RadiansToDegrees(double x);
// Angle in degrees (0..180) at Q between Q->P and Q->R, measured in earth-centred space with
// each point's Ele as height. A repeated point, a straight vertex and a full reversal give 0.
double VertexAngle(const TPoint4D2& P, const TPoint4D2& Q, const TPoint4D2& R);

// Points taken out of a list without being freed, in their former list order. The views and
// the selection may still refer to them, so the caller decides when they go.
using UnlinkedPoints = std::vector<std::unique_ptr<TPoint4D2>>;

// Each filter changes the list in place and keeps the order of the remaining points. Apart
// from the two cutting filters, the first and the last point always stay.

// Cuts points 0..n-1 when 0 < n < Count. Mark untouched.
UnlinkedPoints DeletePointsBefore(TPointList2& list, int n);
// Cuts points n+1..Count-1 when 0 <= n < Count-1. Mark untouched.
UnlinkedPoints DeletePointsAfter(TPointList2& list, int n);
// Removes every point whose index is a multiple of n, sparing indexes 0 and 1 and the last two;
// acts when 1 <= n < Count-2. Mark untouched.
UnlinkedPoints DeleteEveryNthPoint(TPointList2& list, int n);
// Keeps points 0, n, 2n, ... and the last; acts when 1 <= n <= Count-2. Kept points: Mark 255.
UnlinkedPoints KeepEveryNthPoint(TPointList2& list, int n);
// Walking from the end, drops points closer than n decimetres to the last kept one; acts when
// n > 0 and there are at least 2 points. Kept points: Mark 0.
UnlinkedPoints FilterMinDistance(TPointList2& list, int n);

// Frees the middle points whose change of direction is below n degrees; acts when n > 0 and
// there are at least 3 points. Points 0, 1, Count-2 and Count-1 always stay. Kept points: Mark 0.
void FilterAngle(TPointList2& list, int n);
// Douglas-Peucker with tolerance 1/n on (Lat, Lon, Ele) as raw numbers; nothing when n <= 0.
// Kept interior points: Mark 1, the two ends Mark 0.
void DouglasPeucker3D(TPointList2& list, int n);
// The same on (Lat, Lon) only.
void DouglasPeucker2D(TPointList2& list, int n);
// Douglas-Peucker on earth-centred coordinates with a tolerance of n metres. Mark untouched.
void DouglasPeuckerMetric(TPointList2& list, int n);
// Frees the points of stationary stretches (window speed below 1 km/h) lasting at least
// n minutes; acts when Count >= 11 and point 9 has a time. Kept points: Mark 0.
void RemoveScatter(TPointList2& list, int n);
