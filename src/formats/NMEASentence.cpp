// NMEA 0183 sentence reading: checksum, fields, and the GGA and RMC readers.
#include "formats/NMEASentence.h"

#include <cmath>
#include <cstdint>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "model/GPX.h"

namespace {

bool allDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Raised inside a sentence reader when a field cannot be read; the point is then unfilled.
struct FieldError {};

double readDegreesOrThrow(const std::string& field) {
  double v = 0;
  if (!nmeaReadDegrees(field, v)) throw FieldError{};
  return v;
}

// "N" (or "E") keeps the value, any other letter turns it; an empty field is an error.
double applyHemisphere(double value, const std::string& field, char positive) {
  if (field.empty()) throw FieldError{};
  return field[0] == positive ? value : -value;
}

}  // namespace

bool nmeaCheckSum(std::string_view sentence) {
  const std::string s = trim(sentence);
  const size_t n = s.size();
  if (n < 2 || s[0] != '$') return false;
  if (n < 7 || s[6] != ',') return false;
  if (n < 3 || s[n - 3] != '*') return false;
  const size_t star = s.find('*');
  const std::string_view body(s.data() + 1, star - 1);
  if (body.size() < 2 || body.find('$') != std::string_view::npos) return false;
  const std::string_view sum(s.data() + star + 1, n - star - 1);
  unsigned expected = 0;
  for (char c : sum) {
    const int d = hexDigitValue(c);
    if (d < 0) return false;
    expected = expected * 16 + static_cast<unsigned>(d);
  }
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  return x == expected;
}

NMEAFieldReader::NMEAFieldReader(std::string_view sentence) : text_(trim(sentence)) {
  // The sentence name is not a field.
  next();
}

std::string NMEAFieldReader::next() {
  if (done_) return {};
  const size_t end = text_.find_first_of(",*", pos_);
  if (end == std::string::npos) {
    std::string field = text_.substr(pos_);
    done_ = true;
    return field;
  }
  std::string field = text_.substr(pos_, end - pos_);
  if (text_[end] == '*') done_ = true;
  pos_ = end + 1;
  return field;
}

bool nmeaHasSentence(std::string_view line, std::string_view type) {
  for (size_t at = line.find('$'); at != std::string_view::npos; at = line.find('$', at + 1)) {
    const std::string_view name = line.substr(at + 1, 5);
    if (name.size() != 5 || name.substr(2) != type) continue;
    for (std::string_view talker : {"GP", "GN", "GL", "GA", "GB", "BD"})
      if (name.substr(0, 2) == talker) return true;
  }
  return false;
}

bool nmeaReadTime(std::string_view field, double& timeOfDay) {
  field = trimView(field);
  std::string_view digits = field.substr(0, field.find('.'));
  if (digits.size() < 3 || !allDigits(digits)) return false;
  int h = 0, m = 0, s = 0;
  parseIntStrict(digits.substr(0, 2), h);
  parseIntStrict(digits.substr(2, 2), m);
  if (digits.size() > 4 && !parseIntStrict(digits.substr(4), s)) return false;
  return tryEncodeTime(h, m, s, 0, timeOfDay);
}

bool nmeaReadDegrees(std::string_view field, double& degrees) {
  size_t point = field.find('.');
  if (point == std::string_view::npos) point = field.size();
  const size_t split = point >= 2 ? point - 2 : 0;
  int64_t whole = 0;
  const std::string_view degText = field.substr(0, split);
  if (!degText.empty() && !parseIntStrict(degText, whole)) return false;
  double minutes = 0;
  if (!parseFloatStrict(field.substr(split), minutes)) return false;
  degrees = static_cast<double>(whole) + minutes / 60.0;
  return true;
}

bool nmeaReadDate(std::string_view field, int century, double& date) {
  if (field.size() < 6 || !allDigits(field)) return false;
  int d = 0, m = 0, y = 0;
  parseIntStrict(field.substr(0, 2), d);
  parseIntStrict(field.substr(2, 2), m);
  parseIntStrict(field.substr(4), y);
  if (field.size() == 6) y += century;
  return tryEncodeDate(y, m, d, date);
}

void nmeaParseGGA(std::string_view sentence, TGPXwpt& point) {
  TGPXwptData& data = point.edit();
  try {
    NMEAFieldReader f(sentence);
    double tod = 0;
    if (!nmeaReadTime(f.next(), tod)) throw FieldError{};
    point.Time = tod;
    const double lat = readDegreesOrThrow(f.next());
    point.Lat = applyHemisphere(lat, f.next(), 'N');
    const double lon = readDegreesOrThrow(f.next());
    point.Lon = applyHemisphere(lon, f.next(), 'E');
    switch (parseIntOr(f.next(), 0)) {
      case 0: data.fix = "none"; break;
      case 1: data.fix = "2d"; break;
      case 2: data.fix = "dgps"; break;
      case 3: data.fix = "pps"; break;
      default: data.fix.clear(); break;
    }
    // 254 marks an unfilled point: only true counts below it are kept.
    const int sat = parseIntOr(f.next(), 255);
    data.sat = sat >= 0 && sat < kNMEAUnfilled ? static_cast<uint8_t>(sat) : 255;
    data.hdop = parseFloatOr(f.next(), -1.0);
    point.Ele = parseFloatOr(f.next(), 0);
    if (point.Ele != 0 && data.fix == "2d") data.fix = "3d";
    f.skip();
    data.geoidheight = parseFloatOr(f.next(), 0);
    f.skip();
    data.ageofdgpsdata = parseFloatOr(f.next(), -1.0);
    data.dgpsid = parseIntOr(f.next(), -1);
  } catch (const FieldError&) {
    data.sat = kNMEAUnfilled;
  }
}

bool nmeaParseRMC(std::string_view sentence, TGPXwpt& point, double now) {
  try {
    NMEAFieldReader f(sentence);
    const std::string timeField = f.next();
    f.skip();
    const double lat = readDegreesOrThrow(f.next());
    point.Lat = applyHemisphere(lat, f.next(), 'N');
    const double lon = readDegreesOrThrow(f.next());
    point.Lon = applyHemisphere(lon, f.next(), 'E');
    f.skip();
    f.skip();
    const std::string dateField = f.next();
    const int century = decodeDateTime(now).year / 100 * 100;
    double date = 0, tod = 0;
    if (!nmeaReadDate(dateField, century, date) || !nmeaReadTime(timeField, tod)) throw FieldError{};
    // A receiver's log is not from the future: "98" of a log read in 2026 is 1998.
    if (dateField.size() == 6 && date + tod > now + 1 && !nmeaReadDate(dateField, century - 100, date))
      throw FieldError{};
    point.Time = dayCountToDateTime(date + tod);  // a date before 1899-12-30 is a day count too
    point.edit().magvar = parseFloatOr(f.next(), 0);
    return true;
  } catch (const FieldError&) {
    point.edit().sat = kNMEAUnfilled;
    return false;
  }
}
