// Import of a NoniGpsPlot track file (".ngt") as one new track, one segment per break.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "formats/GPXFile.h"

class TNGTFile : public TGPXFile {
public:
  // Appends one track read from the file; raises std::runtime_error when it cannot be read.
  void Import(const std::string& fileName);
  void ImportLines(const std::vector<std::string>& lines);
  // Fills the point from one line; true for a point line. `segmentBreak` tells whether the
  // point starts a new segment.
  static bool ParseLine(std::string_view line, TGPXwpt& point, bool& segmentBreak);
};
