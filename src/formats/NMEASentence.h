// Reading of single NMEA 0183 sentences: checksum test, field reader, and the GGA and RMC
// sentence readers that fill a point being assembled.
#pragma once
#include <string>
#include <string_view>

class TGPXwpt;

// A point whose satellite byte holds this is still being assembled (no stored value uses it).
constexpr unsigned char kNMEAUnfilled = 254;

// "$" + five-letter name + ",", "*" third from last, hexadecimal checksum equal to the XOR
// of the characters between "$" and "*". A checksum that is not hexadecimal fails.
bool nmeaCheckSum(std::string_view sentence);

// Consumes a sentence field by field after its name; the last field ends at the "*".
class NMEAFieldReader {
public:
  explicit NMEAFieldReader(std::string_view sentence);
  // The next field; empty once the fields are used up.
  std::string next();
  void skip() { next(); }

private:
  std::string text_;
  size_t pos_ = 0;
  bool done_ = false;
};

// Whether the line holds a sentence of this type ("GGA", "RMC") from any satellite system's
// talker: GPS ($GP), combined ($GN), GLONASS ($GL), Galileo ($GA), BeiDou ($GB, $BD).
bool nmeaHasSentence(std::string_view line, std::string_view type);

// "hhmmss[.sss]" as a time of day (the fraction dropped, blanks around it ignored); false
// when it is no time.
bool nmeaReadTime(std::string_view field, double& timeOfDay);
// "dddmm.mmmm" as degrees; false when the minutes or degrees are no numbers.
bool nmeaReadDegrees(std::string_view field, double& degrees);
// "ddmmyy" as a date; two-digit years lie in the century starting at `century` (2000).
bool nmeaReadDate(std::string_view field, int century, double& date);

// Fills the point from a GGA sentence: time of day (date 0), position, fix, satellites,
// dilution, altitude, geoid height, DGPS age and station. A field that cannot be read marks
// the point unfilled; fields already set stay.
void nmeaParseGGA(std::string_view sentence, TGPXwpt& point);
// Fills the point from a $GPRMC sentence: position, date and time, magnetic variation. A
// two-digit year is of the century of `now` (a date-time), or of the one before when that
// would date the fix more than a day after `now`. Returns true when a date and time were
// really read into the point's time.
bool nmeaParseRMC(std::string_view sentence, TGPXwpt& point, double now);
