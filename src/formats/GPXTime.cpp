// ISO 8601 date and time text to a UTC date-time.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/GPXFile.h"

namespace {

using Text = std::string_view;

int intOr(Text text, int fallback) {
  // Plain digit fields are the rule; the strict parser handles signs and blanks.
  if (!text.empty() && text.size() <= 4) {
    int v = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = v * 10 + (text[i] - '0');
    if (i == text.size()) return v;
  }
  return parseIntOr(text, fallback);
}

Text take(Text s, size_t n) { return s.substr(0, std::min(n, s.size())); }
Text from(Text s, size_t pos) { return pos < s.size() ? s.substr(pos) : Text(); }
Text dropLeading(Text s, char c) { return (!s.empty() && s.front() == c) ? s.substr(1) : s; }

// Monday of ISO week 1: the week that holds 4 January.
bool isoWeekOneMonday(int year, double& out) {
  double jan4;
  if (!tryEncodeDate(year, 1, 4, jan4)) return false;
  out = jan4 - (isoDayOfWeek(jan4) - 1);
  return true;
}

// The date part: calendar, ordinal (yyyy-ddd) or week (yyyy-Www-d) date; false when its
// fields name no day.
bool parseDate(Text date, double& out) {
  // A signed or five-digit year ("+2020-01-01", "10000-01-01") is none of these forms; read
  // by its first four characters it would give another year.
  if (date[0] == '+' || date[0] == '-') return false;
  if (size_t dash = date.find('-'); dash != Text::npos && dash != 4) return false;
  int year = intOr(take(date, 4), 1900);
  Text rest = dropLeading(from(date, 4), '-');
  if (rest.size() == 3 && rest[0] != 'W') {
    int dayOfYear = intOr(rest, 1);
    double jan1;
    if (!tryEncodeDate(year, 1, 1, jan1)) return false;
    if (dayOfYear < 1 || dayOfYear > (isLeapYear(year) ? 366 : 365)) return false;
    out = jan1 + (dayOfYear - 1);
    return true;
  }
  if (!rest.empty() && rest[0] == 'W') {
    int week = intOr(take(from(rest, 1), 2), 1);
    Text dayText = from(rest, 3);
    int weekDay = dayText.empty() ? 1 : intOr(dropLeading(dayText, '-'), 1);
    double monday, nextMonday;
    if (!isoWeekOneMonday(year, monday) || !isoWeekOneMonday(year + 1, nextMonday)) return false;
    int weeks = int(std::lround((nextMonday - monday) / 7));
    if (week < 1 || week > weeks || weekDay < 1 || weekDay > 7) return false;
    out = monday + (week - 1) * 7 + (weekDay - 1);
    return true;
  }
  int month = intOr(take(rest, 2), 1);
  Text dayText = from(rest, 2);
  int day = dayText.empty() ? 1 : intOr(dropLeading(dayText, '-'), 1);
  return tryEncodeDate(year, month, day, out);
}

constexpr int64_t kMsPerSecond = 1000, kMsPerMinute = 60000, kMsPerHour = 3600000;

// The decimal mark and its digits as whole milliseconds of a unit (cut toward zero, below
// one unit); false when anything but digits follows the mark. Counting in milliseconds keeps
// every field in range whatever the digits.
bool fractionMs(Text markAndDigits, int64_t unitMs, int64_t& ms) {
  Text digits = markAndDigits.substr(1);
  for (char c : digits)
    if (c < '0' || c > '9') return false;
  std::string text = "0.";
  text += digits;
  double f = 0;
  parseFloatStrict(text, f);
  ms = std::min(int64_t(f * double(unitMs)), unitMs - 1);
  return true;
}

// The time part without its zone, its decimal mark already '.', as a fraction of a day;
// false when its fields name no time of day (24:00 and a leap second :60 included).
bool parseTime(Text time, double& out) {
  int hour = 0, minute = 0, second = 0;
  int64_t ms = 0;  // the fraction, counted from the last whole field read
  if (!time.empty()) {
    hour = intOr(take(time, 2), 0);
    Text rest = from(time, 2);
    if (rest.size() >= 2) {
      rest = dropLeading(rest, ':');
      if (!rest.empty() && rest[0] == '.') {
        if (!fractionMs(rest, kMsPerHour, ms)) return false;
      } else {
        minute = intOr(take(rest, 2), 0);
        rest = from(rest, 2);
        if (rest.size() >= 2) {
          rest = dropLeading(rest, ':');
          if (!rest.empty() && rest[0] == '.') {
            if (!fractionMs(rest, kMsPerMinute, ms)) return false;
          } else {
            second = intOr(take(rest, 2), 0);
            rest = from(rest, 2);
            if (rest.size() >= 2 && rest[0] == '.' && !fractionMs(rest, kMsPerSecond, ms)) return false;
          }
        }
      }
    }
  }
  if (minute < 0 || minute > 59 || second < 0 || second > 59) return false;
  minute += int(ms / kMsPerMinute);
  second += int(ms / kMsPerSecond % 60);
  return tryEncodeTime(hour, minute, second, int(ms % kMsPerSecond), out);
}

// "+hh:mm", "-hhmm", "+hh": the offset in days, signed as written; false when out of range.
bool parseZone(Text zone, double& offset) {
  int sign = zone[0] == '-' ? -1 : 1;
  int hours = intOr(take(from(zone, 1), 2), 0);
  Text rest = from(zone, 3);
  int minutes = rest.empty() ? 0 : intOr(dropLeading(rest, ':'), 0);
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return false;
  offset = sign * (hours * 60 + minutes) / 1440.0;
  return true;
}
}  // namespace

double TGPXFile::ISO8601ToDateTime(const std::string& input) {
  double out = 0;
  return TryISO8601ToDateTime(input, out) ? out : 0;
}

bool TGPXFile::TryISO8601ToDateTime(const std::string& input, double& out) {
  if (input.size() < 8) return false;
  Text text = trimView(input);

  Text date = text, time;
  size_t split = text.find('T');
  if (split == Text::npos) split = text.find(' ');
  if (split != Text::npos) {
    date = text.substr(0, split);
    time = text.substr(split + 1);
  }
  if (date.size() < 4) return false;

  Text zone;
  if (size_t z = time.find('Z'); z != Text::npos) {
    time = time.substr(0, z);
  } else if (size_t p = time.find('+'); p != Text::npos) {
    zone = time.substr(p);
    time = time.substr(0, p);
  } else if (size_t m = time.find('-'); m != Text::npos) {
    zone = time.substr(m);
    time = time.substr(0, m);
  }
  // Both decimal marks are accepted: the first ',' counts as '.'.
  std::string timeText(time);
  if (size_t comma = timeText.find(','); comma != std::string::npos) timeText[comma] = '.';

  double day, timeOfDay, offset = 0;
  if (!parseDate(date, day) || !parseTime(timeText, timeOfDay)) return false;
  if (zone.size() >= 3 && !parseZone(zone, offset)) return false;
  // Shift by the zone on a straight time line, then go back to the date-time form, where
  // a day before 1899-12-30 carries its time of day as a positive fraction below zero.
  const double value = dayCountToDateTime(day + timeOfDay - offset);
  // The shift may leave the years a file can hold; 1899-12-30 00:00 is "no time" itself.
  if (!isInYearRange(value) || value == 0) return false;
  out = value;
  return true;
}
