// NGT lines: the '|' field splitter and the point-line reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/DateTime.h"
#include "formats/NGTLine.h"
#include "formats/TextLines.h"
#include "model/GPX.h"

namespace {

using Fields = std::vector<std::string>;

TEST(NGTSplit, FieldsQuotesBlanksAndTheTrailingBar) {
  const struct {
    const char* line;
    Fields fields;
  } cases[] = {
      {"a|b|c", {"a", "b", "c"}},
      {"  a | b |c  ", {"a", "b", "c"}},
      {"a||c", {"a", "", "c"}},
      {"a|b|", {"a", "b", ""}},
      {"|", {"", ""}},
      {"", {}},
      {"   \t", {}},
      {"a b|c", {"a", "b", "c"}},                  // a blank splits an unquoted field
      {"\"a b|c\"|d", {"a b|c", "d"}},            // quotes keep blanks and bars
      {"\"say \"\"hi\"\"\"|x", {"say \"hi\"", "x"}},
      {"\"open|x", {"open|x"}},                    // an unterminated quote runs to the end
      {"\"q\"r|s", {"q", "r", "s"}},               // text after a closing quote is a new field
      {"a\tb", {"a", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitNGTFields(c.line), c.fields) << c.line;
}

TEST(NGTParseLine, PointLinesAndEverythingElse) {
  const std::string base = "GPSMap|Trace|Trc5|0.5|0.25|x|123.5|x|x|x|";
  const struct {
    std::string line;
    NGTLineKind kind;
    double time;
  } cases[] = {
      {base + "0|x|1.5|x|x", NGTLineKind::Point, encodeDateTime(2000, 9, 27, 12)},
      {base + "2|x|0|x|x", NGTLineKind::SegmentStart, 0},
      {base + "junk|x|0|x|x", NGTLineKind::Point, 0},
      {"gpsmap|Trace|Trc5|0.5|0.25|x|123.5|x|x|x|0|x|0|x|x", NGTLineKind::Other, 0},
      {base + "0|x|0|x", NGTLineKind::Other, 0},              // 14 fields
      {base + "0|x|0|x x|y", NGTLineKind::Other, 0},          // a blank adds a field
      {"GPSMap|Trace|Trc4|0.5|0.25|x|1|x|x|x|0|x|0|x|x", NGTLineKind::Other, 0},
  };
  for (const auto& c : cases) {
    TGPXwpt p;
    EXPECT_EQ(parseNGTLine(c.line, p), c.kind) << c.line;
    if (c.kind == NGTLineKind::Other) continue;
    EXPECT_DOUBLE_EQ(p.Lon, 90);
    EXPECT_DOUBLE_EQ(p.Lat, 45);
    EXPECT_DOUBLE_EQ(p.Ele, 123.5);
    EXPECT_DOUBLE_EQ(p.Time, c.time) << c.line;
    EXPECT_FALSE(p.HasData());
  }
}

}  // namespace

namespace {

TEST(TextLines, SplitsAtEveryKindOfLineEnd) {
  const struct {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r\n\r\nc", {"a", "b", "", "c"}},
      {"\n", {""}},
      {"\xEF\xBB\xBFx\n", {"x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitTextLines(c.text), c.lines) << c.text;
}

}  // namespace
