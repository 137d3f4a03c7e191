// Import of a GPS receiver's NMEA 0183 log (GGA and RMC sentences of every satellite system)
// as one new track.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "formats/GPXFile.h"

class TNMEAFile : public TGPXFile {
public:
  // The clock that dates two-digit years (local time); tests set their own.
  std::function<double()> Clock;

  TNMEAFile();

  // Appends one track of one segment read from the log, then logs the counts.
  void Import(const std::string& fileName);
  // The same over lines already read.
  void ImportLines(const std::vector<std::string>& lines);

  static bool CheckSum(std::string_view sentence);
  static void ParseGGA(std::string_view sentence, TGPXwpt& point);
  // Logs the sentence, then fills the point; true when it gave the point a date and time.
  bool ParseRMC(std::string_view sentence, TGPXwpt& point);
};
