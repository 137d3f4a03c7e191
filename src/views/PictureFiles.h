// Names and companion texts of the saved pictures: the time stamp of a picture's name, and
// the ".sat" and ".map" files that place a map snapshot on the earth.
#pragma once
#include <string>

#include "model/GPS.h"

// YYYYMMDD_HHNNSS, seconds cut, not rounded: 20091231_235959.
std::string DateTimeToFileStamp(double t);

// The geoposition text of a snapshot of W x H pixels showing `box`: CR LF between lines,
// none after the last.
std::string SatFileText(const TBBox& box, int W, int H);
// The calibration text in the OziExplorer 2.2 map format; `name` is the picture's file name
// without its folder and without ".jpg". Corners are the outermost pixels, W-1 and H-1.
std::string MapFileText(const std::string& name, const TBBox& box, int W, int H);
