// Date-times as days since 1899-12-30: encoding from fields, decoding with millisecond
// rounding, and conversions to and from Unix time and the clock.
// Before 1899-12-30 the whole part counts days backwards while the fraction still runs forward
// (-1.25 is 1899-12-29 06:00), as date-times in this form always have.
#include "DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

constexpr long long msPerDay = 86400000LL;

// Days from 1970-01-01 to the given proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long epochOffset = -25569;

}  // namespace

bool isLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int daysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool tryEncodeDate(int year, int month, int day, double& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  if (day < 1 || day > daysInMonth(year, month)) return false;
  out = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                            epochOffset);
  return true;
}

bool tryEncodeTime(int hour, int minute, int second, int msec, double& out) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    return false;
  const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
  out = static_cast<double>(ms) / static_cast<double>(msPerDay);
  return true;
}

bool tryEncodeDateTime(const DateTimeFields& f, double& out) {
  double date = 0, time = 0;
  if (!tryEncodeDate(f.year, f.month, f.day, date)) return false;
  if (!tryEncodeTime(f.hour, f.minute, f.second, f.msec, time)) return false;
  out = date < 0 ? date - time : date + time;
  return true;
}

double encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
  DateTimeFields f{year, month, day, hour, minute, second, msec};
  double out = 0;
  return tryEncodeDateTime(f, out) ? out : 0;
}

DateTimeFields decodeDateTime(double value) {
  DateTimeFields f;
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return f;  // beyond year 9999: none
  // Round to milliseconds first; splitting first would give 12:00:04.999... Round on the
  // plain day count: before the zero day the fraction runs forward, so rounding the raw
  // value would carry a time just short of midnight into the day before instead of after.
  const long long total =
      static_cast<long long>(std::nearbyint(dateTimeToDayCount(value) * static_cast<double>(msPerDay)));
  long long days = total / msPerDay;
  long long ms = total % msPerDay;
  if (ms < 0) {
    ms += msPerDay;
    --days;
  }
  civilFromDays(days + epochOffset, f.year, f.month, f.day);
  f.msec = static_cast<int>(ms % 1000);
  ms /= 1000;
  f.second = static_cast<int>(ms % 60);
  ms /= 60;
  f.minute = static_cast<int>(ms % 60);
  f.hour = static_cast<int>(ms / 60);
  return f;
}

bool isInYearRange(double value) {
  // decodeDateTime gives the zero day beyond this bound, which would pass for a year.
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return false;
  const int year = decodeDateTime(value).year;
  return year >= 1 && year <= 9999;
}

int isoDayOfWeek(double value) {
  DateTimeFields f = decodeDateTime(value);
  const long long days = daysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day));
  // 1970-01-01 was a Thursday (4).
  long long w = (days % 7 + 7 + 3) % 7;
  return static_cast<int>(w) + 1;
}

double dateTimeToDayCount(double value) {
  if (value >= 0) return value;
  double whole = std::trunc(value);
  return whole + std::fabs(value - whole);
}

double dayCountToDateTime(double dayCount) {
  if (dayCount >= 0) return dayCount;
  double day = std::floor(dayCount);
  double t = dayCount - day;
  return t == 0 ? day : day - t;
}

double movedDayCountToDateTime(double dayCount) {
  // Judged in whole milliseconds, as a file would hold it: a hair off the zero is the zero.
  const double ms = 1.0 / static_cast<double>(msPerDay);
  return std::nearbyint(dayCount / ms) == 0 ? ms : dayCountToDateTime(dayCount);
}

double daysBetween(double from, double to) { return dateTimeToDayCount(to) - dateTimeToDayCount(from); }

bool isEarlier(double a, double b) { return dateTimeToDayCount(a) < dateTimeToDayCount(b); }

double unixToDateTime(double unixSeconds) { return dayCountToDateTime(unixSeconds / 86400.0 - epochOffset); }

double dateTimeToUnix(double value) { return (dateTimeToDayCount(value) + epochOffset) * 86400.0; }

double nowUtc() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return unixToDateTime(static_cast<double>(ms) / 1000.0);
}

double nowLocal() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  std::time_t secs = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&secs, &local);
  return unixToDateTime(static_cast<double>(ms) / 1000.0 + static_cast<double>(local.tm_gmtoff));
}
