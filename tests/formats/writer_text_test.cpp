// Escaping, numbers and times as the GPX writer puts them into files.
#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "formats/GPXText.h"

namespace {

struct EscapeCase {
  const char* input;
  XmlTextKind kind;
  const char* expected;
};

TEST(WriterText, EscapesForEachPlaceAndDropsWhatNoParserReads) {
  const EscapeCase cases[] = {
      {"a & b < c > d", XmlTextKind::Element, "a &amp; b &lt; c &gt; d"},
      {"say \"hi\" 'x'", XmlTextKind::Element, "say \"hi\" 'x'"},
      {"say \"hi\" & 'x'", XmlTextKind::Attribute, "say &quot;hi&quot; &amp; 'x'"},
      {"https://x.org/?a=1&b=2", XmlTextKind::Attribute, "https://x.org/?a=1&amp;b=2"},
      {"<a x=\"1\">&amp;</a>", XmlTextKind::Raw, "<a x=\"1\">&amp;</a>"},
      {"&amp;", XmlTextKind::Element, "&amp;amp;"},
      // Control characters other than TAB, LF, CR are dropped everywhere.
      {"a\x01" "b\x1F" "c\td\ne\rf\x7F", XmlTextKind::Element, "abc\td\ne\rf\x7F"},
      {"a\x0B" "b", XmlTextKind::Raw, "ab"},
      {"a\x1B" "b", XmlTextKind::Attribute, "ab"},
      // UTF-8 passes; broken sequences become U+FFFD.
      {"K\xC3\xB6ln 45\xC2\xB0 \xF0\x9F\x9A\xB2", XmlTextKind::Element,
       "K\xC3\xB6ln 45\xC2\xB0 \xF0\x9F\x9A\xB2"},
      {"caf\xE9!", XmlTextKind::Element, "caf\xEF\xBF\xBD!"},
      {"\xC3", XmlTextKind::Element, "\xEF\xBF\xBD"},
      {"\xC0\xAF", XmlTextKind::Element, "\xEF\xBF\xBD\xEF\xBF\xBD"},       // overlong
      {"\xED\xA0\x80", XmlTextKind::Raw, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
      {"\xEF\xBF\xBF", XmlTextKind::Element, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // U+FFFF
      {"", XmlTextKind::Element, ""},
  };
  for (const auto& c : cases) {
    std::string out = "prefix:";
    appendXMLText(out, c.input, c.kind);
    EXPECT_EQ(out, std::string("prefix:") + c.expected) << c.input;
  }
  EXPECT_EQ(XMLise("a & b < c"), "a &amp; b &lt; c");
}

TEST(WriterText, NumbersAreShortestPlainDecimals) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {45.5, "45.5"},
      {-3, "-3"},
      {0.000123, "0.000123"},
      {0.1 + 0.2, "0.3"},
      {52.123456789012345, "52.1234567890123"},
      {1e-5, "0.00001"},
      {-1.5e-7, "-0.00000015"},
      {1.25e-10, "0.000000000125"},
      {1.5e20, "150000000000000000000"},
      {-1e15, "-1000000000000000"},
      {123456789012345678.0, "123456789012346000"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(formatGPXNumber(value), expected) << value;
}

TEST(WriterText, TimesKeepTheirOwnFieldsAndMilliseconds) {
  const double ms = 1.0 / 86400000;
  const std::pair<double, const char*> cases[] = {
      {encodeDateTime(2008, 12, 17, 7, 30, 5), "2008-12-17T07:30:05Z"},
      {encodeDateTime(2008, 12, 17, 7, 30, 5, 999), "2008-12-17T07:30:05.999Z"},
      {encodeDateTime(2008, 12, 17, 23, 59, 59, 999), "2008-12-17T23:59:59.999Z"},
      {encodeDateTime(2019, 1, 1, 12, 38, 13, 200), "2019-01-01T12:38:13.200Z"},
      // Rounded to the millisecond: a hair off a whole second keeps the short form.
      {encodeDateTime(2019, 1, 1, 12, 38, 13) + 0.4 * ms, "2019-01-01T12:38:13Z"},
      {encodeDateTime(2019, 1, 1, 12, 38, 13, 999) + 0.6 * ms, "2019-01-01T12:38:14Z"},
      {encodeDateTime(1, 1, 1), "0001-01-01T00:00:00Z"},
      {encodeDateTime(2024, 2, 29, 12), "2024-02-29T12:00:00Z"},
      // Whole seconds that are not exact in binary still show the right second.
      {encodeDateTime(2020, 1, 1) + 59.0 / 86400, "2020-01-01T00:00:59Z"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(DateTimeToGPXTime(value), expected);
}

}  // namespace
