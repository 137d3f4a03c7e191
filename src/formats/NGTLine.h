// One line of an NGT track file: the '|'-delimited field splitter and the point-line reader.
#pragma once
#include <string>
#include <string_view>
#include <vector>

class TGPXwpt;
struct TReadIssues;

enum class NGTLineKind { Other, Point, SegmentStart };

// '|' separates fields; blanks and control characters around them are skipped; a field in
// double quotes may hold '|' and blanks ("" stands for one quote); an unquoted field ends at
// a blank too; a '|' at the very end adds one empty field.
std::vector<std::string> splitNGTFields(std::string_view line);

// Fills the point from a "GPSMap|Trace|Trc5" line of 15 fields (position, elevation, time)
// and tells whether it starts a new segment; any other line gives Other and leaves the
// point alone. The point's rare-field block is not touched, so big files stay small.
// `placed` tells whether the coordinates are numbers on the globe (else the point is to be
// left out); an elevation or time that no file can hold is cleared. Both are counted in
// `issues` when given.
NGTLineKind parseNGTLine(std::string_view line, TGPXwpt& point, bool* placed = nullptr,
                         TReadIssues* issues = nullptr);
