// Date-times as days since 1899-12-30 (0 = none), the fraction being the time of day, UTC.
#pragma once
#include <string>

struct DateTimeFields {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, msec = 0;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// Encoding fails (returns false, `out` untouched) on fields out of range:
// month 13, day 31 of a 30-day month, 29 February of a common year, hour 24, minute 60,
// second 60, msec 1000. Years 1 .. 9999.
bool tryEncodeDate(int year, int month, int day, double& out);
bool tryEncodeTime(int hour, int minute, int second, int msec, double& out);
bool tryEncodeDateTime(const DateTimeFields& f, double& out);
// Same, giving 0 (none) on invalid fields.
double encodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                      int msec = 0);

// Rounds to whole milliseconds before splitting: splitting the raw double loses a second
// on about half of all whole-second times.
DateTimeFields decodeDateTime(double value);

// Whether the date-time, rounded to milliseconds, falls in the years 1 to 9999: the only
// ones a file's four-digit year can write and read back as the same time.
bool isInYearRange(double value);

// 1 = Monday .. 7 = Sunday.
int isoDayOfWeek(double value);

// The current time, UTC.
double nowUtc();
// The current time, local.
double nowLocal();

// Date-time <-> a plain day count whose fraction always runs forward in time, for
// arithmetic across the zero day; the two differ only before 1899-12-30 (-1.25, that is
// 1899-12-29 06:00, is day count -0.75).
double dateTimeToDayCount(double value);
double dayCountToDateTime(double dayCount);
// The same for a time that is moved rather than read: one landing on 1899-12-30
// 00:00:00.000, which reads as no time, is put one millisecond later, the least a file keeps.
double movedDayCountToDateTime(double dayCount);

// Arithmetic and order of date-times, all on the day count.
// Days from `from` to `to` (negative when `to` is earlier).
double daysBetween(double from, double to);
bool isEarlier(double a, double b);

// Seconds since 1970-01-01 UTC <-> date-time.
double unixToDateTime(double unixSeconds);
double dateTimeToUnix(double value);
