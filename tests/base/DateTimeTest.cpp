// Date-time encoding and decoding, checked against an independent day count.
#include <gtest/gtest.h>

#include <cmath>

#include "base/DateTime.h"

namespace {

// Day number from 1899-12-30 by counting whole years and months: independent of the code under test.
long long slowDayNumber(int y, int m, int d) {
  auto leap = [](int yy) { return (yy % 4 == 0 && yy % 100 != 0) || yy % 400 == 0; };
  static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  long long n = 0;  // days from 0001-01-01
  for (int yy = 1; yy < y; ++yy) n += leap(yy) ? 366 : 365;
  for (int mm = 1; mm < m; ++mm) n += mdays[mm - 1] + (mm == 2 && leap(y));
  n += d - 1;
  return n - 693593;  // 0001-01-01 is day -693593
}

void expectFields(const DateTimeFields& f, int y, int mo, int d, int h, int mi, int s, int ms) {
  EXPECT_EQ(f.year, y);
  EXPECT_EQ(f.month, mo);
  EXPECT_EQ(f.day, d);
  EXPECT_EQ(f.hour, h);
  EXPECT_EQ(f.minute, mi);
  EXPECT_EQ(f.second, s);
  EXPECT_EQ(f.msec, ms);
}

TEST(DateTime, KnownDayNumbers) {
  const struct {
    int y, m, d;
    double value;
  } cases[] = {{1899, 12, 30, 0},  {1899, 12, 31, 1},  {1900, 1, 1, 2},       {1970, 1, 1, 25569},
               {2000, 1, 1, 36526}, {1899, 12, 29, -1}, {1, 1, 1, -693593},   {9999, 12, 31, 2958465},
               {2024, 2, 29, 45351}};
  for (const auto& c : cases) {
    double v = -1e9;
    ASSERT_TRUE(tryEncodeDate(c.y, c.m, c.d, v)) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(v, c.value);
    expectFields(decodeDateTime(c.value), c.y, c.m, c.d, 0, 0, 0, 0);
  }
}

TEST(DateTime, EveryDayOfSampledYearsRoundTrips) {
  const int years[] = {1, 4, 100, 399, 400, 1582, 1600, 1700, 1898, 1899, 1900, 1904, 1970,
                       1999, 2000, 2023, 2024, 2100, 2400, 9998, 9999};
  for (int y : years)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= daysInMonth(y, m); ++d) {
        double v = 0;
        ASSERT_TRUE(tryEncodeDate(y, m, d, v));
        ASSERT_EQ(v, static_cast<double>(slowDayNumber(y, m, d))) << y << "-" << m << "-" << d;
        DateTimeFields f = decodeDateTime(v);
        ASSERT_EQ(f.year * 10000 + f.month * 100 + f.day, y * 10000 + m * 100 + d);
      }
}

TEST(DateTime, EverySecondOfADayRoundTrips) {
  // Both after and before the zero day; the naive split would give hh:mm:(s-1).999 here.
  const int days[][3] = {{2024, 5, 17}, {1899, 12, 30}, {1850, 6, 1}, {9999, 12, 31}};
  for (const auto& day : days)
    for (int s = 0; s < 86400; ++s) {
      const int h = s / 3600, mi = s / 60 % 60, se = s % 60;
      const double v = encodeDateTime(day[0], day[1], day[2], h, mi, se);
      const DateTimeFields f = decodeDateTime(v);
      ASSERT_TRUE(f.year == day[0] && f.month == day[1] && f.day == day[2] && f.hour == h && f.minute == mi &&
                  f.second == se && f.msec == 0)
          << day[0] << " " << s;
    }
}

TEST(DateTime, DecodeRoundsToMillisecondsBeforeSplitting) {
  // A value a hair below a whole second still decodes to that second.
  const double day = encodeDateTime(2024, 5, 16);
  const double v = day + 43205.0 / 86400.0;
  expectFields(decodeDateTime(std::nextafter(v, 0.0)), 2024, 5, 16, 12, 0, 5, 0);
  // Just below midnight rounds up into the next day.
  expectFields(decodeDateTime(day - 1e-10), 2024, 5, 16, 0, 0, 0, 0);
  expectFields(decodeDateTime(encodeDateTime(2024, 5, 16, 23, 59, 59, 999)), 2024, 5, 16, 23, 59, 59, 999);
  expectFields(decodeDateTime(encodeDateTime(2024, 5, 16, 1, 2, 3, 4)), 2024, 5, 16, 1, 2, 3, 4);
}

TEST(DateTime, BeforeTheZeroDayTheFractionRunsForward) {
  EXPECT_EQ(encodeDateTime(1899, 12, 29, 6), -1.25);
  expectFields(decodeDateTime(-1.25), 1899, 12, 29, 6, 0, 0, 0);
  expectFields(decodeDateTime(-0.5), 1899, 12, 30, 12, 0, 0, 0);
  // 1899-12-29 a hair before midnight rounds up into 1899-12-30, not back into the 28th.
  expectFields(decodeDateTime(-1.9999999999), 1899, 12, 30, 0, 0, 0, 0);
  expectFields(decodeDateTime(encodeDateTime(1850, 6, 1, 23, 59, 59, 999)), 1850, 6, 1, 23, 59, 59, 999);
  expectFields(decodeDateTime(encodeDateTime(1850, 6, 1) - 0.9999999999), 1850, 6, 2, 0, 0, 0, 0);
  EXPECT_EQ(unixToDateTime(dateTimeToUnix(-1.25)), -1.25);
  EXPECT_DOUBLE_EQ(dateTimeToUnix(-1.25), (-0.75 - 25569) * 86400.0);
}

TEST(DateTime, InvalidFieldsAreRefused) {
  const DateTimeFields cases[] = {
      {2024, 13, 1, 0, 0, 0, 0}, {2024, 0, 1, 0, 0, 0, 0},  {2024, 2, 30, 0, 0, 0, 0}, {2023, 2, 29, 0, 0, 0, 0},
      {1900, 2, 29, 0, 0, 0, 0}, {2024, 4, 31, 0, 0, 0, 0}, {2024, 1, 0, 0, 0, 0, 0},  {2024, 1, 1, 24, 0, 0, 0},
      {2024, 1, 1, 0, 60, 0, 0}, {2024, 1, 1, 0, 0, 60, 0}, {2024, 1, 1, 0, 0, 0, 1000}, {2024, 1, 1, -1, 0, 0, 0},
      {0, 1, 1, 0, 0, 0, 0},     {10000, 1, 1, 0, 0, 0, 0},
  };
  for (const auto& f : cases) {
    double v = 42;
    EXPECT_FALSE(tryEncodeDateTime(f, v)) << f.year << "-" << f.month << "-" << f.day << " " << f.hour;
    EXPECT_EQ(v, 42);
    EXPECT_EQ(encodeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, f.msec), 0);
  }
  double v = 0;
  EXPECT_TRUE(tryEncodeDate(2000, 2, 29, v));
  EXPECT_FALSE(tryEncodeTime(24, 0, 0, 0, v));
}

TEST(DateTime, DayOfWeekAndUnixTime) {
  EXPECT_EQ(isoDayOfWeek(0), 6);                             // 1899-12-30, Saturday
  EXPECT_EQ(isoDayOfWeek(encodeDateTime(2024, 5, 17, 23)), 5);  // Friday
  EXPECT_EQ(isoDayOfWeek(encodeDateTime(2024, 5, 20)), 1);      // Monday
  EXPECT_EQ(isoDayOfWeek(encodeDateTime(1, 1, 1)), 1);          // Monday, proleptic
  EXPECT_EQ(unixToDateTime(0), 25569);
  EXPECT_EQ(dateTimeToUnix(25569.5), 43200);
  expectFields(decodeDateTime(unixToDateTime(1700000000)), 2023, 11, 14, 22, 13, 20, 0);
  const double now = nowUtc();
  EXPECT_GT(now, encodeDateTime(2020, 1, 1));
  EXPECT_LT(std::fabs(nowLocal() - now), 1.0);  // zones are within a day of UTC
}

TEST(DateTime, NonFiniteAndHugeValuesDecodeAsNone) {
  expectFields(decodeDateTime(NAN), 1899, 12, 30, 0, 0, 0, 0);
  expectFields(decodeDateTime(1e300), 1899, 12, 30, 0, 0, 0, 0);
}

}  // namespace
