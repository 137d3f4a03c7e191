// ISO 8601 texts against a calendar computed here independently of the date-time helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "formats/GPXFile.h"

namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar (era arithmetic).
long long civilDays(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

double expected(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  double day = double(civilDays(y, unsigned(mo), unsigned(d)) - civilDays(1899, 12, 30));
  return day + ((h * 60.0 + mi) * 60.0 + s + ms / 1000.0) / 86400.0;
}

struct Case {
  const char* text;
  double want;
};

class ISO8601Forms : public ::testing::TestWithParam<Case> {};

TEST_P(ISO8601Forms, GivesUtcDateTime) {
  const Case& c = GetParam();
  double got = TGPXFile::ISO8601ToDateTime(c.text);
  EXPECT_NEAR(got, c.want, 1e-9) << c.text;  // 1e-9 days is well under a millisecond
}

const double kDec17At0730 = expected(2008, 12, 17, 7, 30);

INSTANTIATE_TEST_SUITE_P(
    Forms, ISO8601Forms,
    ::testing::Values(
        Case{"2008-12-17T07:30:00Z", kDec17At0730}, Case{"20081217T073000Z", kDec17At0730},
        Case{"2008-12-17 07:30", kDec17At0730}, Case{"  2008-12-17T07:30:00Z \n", kDec17At0730},
        Case{"2008-12-17", expected(2008, 12, 17)}, Case{"2008-352", expected(2008, 12, 17)},
        Case{"2008-352T07:30Z", kDec17At0730}, Case{"2008-W51-3", expected(2008, 12, 17)},
        Case{"2008W513T0730", kDec17At0730},
        // Week 1 of 2009 starts on Monday 29 December 2008; 2009 has 53 weeks.
        Case{"2009-W01-1", expected(2008, 12, 29)}, Case{"2009-W53-7", expected(2010, 1, 3)},
        Case{"2008-12-17T07:30:00.5Z", expected(2008, 12, 17, 7, 30, 0, 500)},
        Case{"2008-12-17T07:30:00,5Z", expected(2008, 12, 17, 7, 30, 0, 500)},
        Case{"2008-12-17T07:30:00.123456Z", expected(2008, 12, 17, 7, 30, 0, 123)},
        // However many digits a fraction has.
        Case{"2008-12-17T07:30:00.1234567890123456789012345678901234567890123456789012345678901234567890Z",
             expected(2008, 12, 17, 7, 30, 0, 123)},
        Case{"2008-12-17T07.5", kDec17At0730}, Case{"2008-12-17T07:30.5", expected(2008, 12, 17, 7, 30, 30)},
        Case{"2008-12-17T09:30:00+02:00", kDec17At0730}, Case{"2008-12-17T05:30-02:00", kDec17At0730},
        Case{"2008-12-17T09:30:00+0200", kDec17At0730}, Case{"2008-12-17T08:30:00+01", kDec17At0730},
        // The zone carries the time over midnight and the year end.
        Case{"2009-01-01T01:00:00+02:00", expected(2008, 12, 31, 23)},
        Case{"2008-12-31T23:00:00-02:00", expected(2009, 1, 1, 1)},
        Case{"2008-02-29T12:00:00Z", expected(2008, 2, 29, 12)}, Case{"2000-02-29", expected(2000, 2, 29)},
        // Before 1899-12-30 the time of day is a positive fraction below the negative day.
        Case{"1899-12-29T06:00:00Z", -1.25}, Case{"1899-12-30T01:00:00+02:00", -1 - 23 / 24.0},
        // Too short, or no valid calendar date or clock time: no time.
        Case{"", 0}, Case{"2008-12", 0}, Case{"2008-13-01", 0}, Case{"2008-02-30", 0}, Case{"2009-02-29", 0},
        Case{"1900-02-29", 0}, Case{"2008-12-17T24:00:00Z", 0}, Case{"2008-12-17T07:60:00Z", 0},
        Case{"2008-12-17T07:30:00+24:00", 0}, Case{"2008-000T00:00", 0}, Case{"2008-367T00:00", 0},
        Case{"2008-W53-1", 0}, Case{"2008-W51-8", 0}, Case{"0000-01-01T00:00", 0},
        // A fraction holds digits only; a signed or five-digit year, a leap second and a
        // time shifted out of the years 1 to 9999 are no time either.
        Case{"2020-01-01T12:.5e300Z", 0}, Case{"2020-01-01T12:00:00.1e87Z", 0}, Case{"2020-01-01T12.5x", 0},
        Case{"+2020-01-01T00:00:00Z", 0}, Case{"10000-01-01T00:00:00Z", 0}, Case{"2016-12-31T23:59:60Z", 0},
        Case{"9999-12-31T23:00:00-05:00", 0}, Case{"0001-01-01T01:00:00+05:00", 0},
        Case{"9999-12-31T23:59:59.999Z", expected(9999, 12, 31, 23, 59, 59, 999)}));

}  // namespace
