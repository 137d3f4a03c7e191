// Point lists as semicolon-separated text (one point a line) for pasting into a spreadsheet.
// Numbers use the user's decimal separator and times the locale's formats.
#pragma once
#include <string>

class TGPXwptList;
class TGPXrteList;
class TGPXtrkList;
class TGPXrte;
class TGPXtrk;

// The header line, without line end: 21 column names.
extern const char* const kCSVHeader;

// The header (when asked) and one line per point, each ended by CR LF; empty for no list.
std::string ExportCSVWPTList(const TGPXwptList* list, bool withHeader);
// Every route's lines followed by an empty line; the first route's block carries the header.
std::string ExportCSVRTEList(const TGPXrteList& list);
// The header, then every segment's lines followed by an empty line.
std::string ExportCSVTRKList(const TGPXtrkList& list);

// The same texts for a list of just this route or track.
std::string ExportCSVRte(const TGPXrte& route);
std::string ExportCSVTrk(const TGPXtrk& track);

// Line breaks, TABs and ';' become blanks, runs of blanks one blank, the ends trimmed;
// a text still holding a blank or a double quote is put in double quotes, inner quotes doubled.
std::string CSVField(const std::string& text);
// The general 15-digit form with the user's decimal separator; empty when value == none.
std::string FloatToCSV(double value, double none);
