// Encoded polylines: number forms, levels of the simplification, and what a peer decoder reads.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "../formats/format_test_helpers.h"
#include "ViewFixtures.h"
#include "base/NumberText.h"
#include "views/GPolyLine.h"

namespace {

const TGPolyLine kEnc(0.00001);

TEST(PolyLine, NumbersAndLevelsEncodeAsTheMapScriptReadsThem) {
  struct Case {
    int32_t v;
    bool isSigned;
    const char* text;
  } cases[] = {
      {0, true, "?"},  {1, true, "A"},  {-1, true, "@"},  {16, true, "_@"}, {-17998321, true, "`~oia@"},
      {17, false, "P"}, {2, false, "A"}, {19, false, "R"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.isSigned ? TGPolyLine::EncodeSignedNumber(c.v) : TGPolyLine::EncodeNumber(c.v), c.text) << c.v;
}

TEST(PolyLine, LevelsAndDistancesFollowTheBreaks) {
  const std::pair<double, int> levels[] = {{0.00001, 0}, {0.000015, 17}, {0.00002, 16}, {1.3, 1}, {1.31072, 0}, {50, 0}};
  for (auto [d, level] : levels) EXPECT_EQ(kEnc.ComputeLevel(d), level) << d;
  struct {
    TPoint4D2 p, a, b;
    double d;
  } dists[] = {
      {at(3, 4), at(0, 0), at(0, 0), 5},    // both ends on one spot
      {at(-3, -4), at(0, 0), at(0, 2), 5},  // before the first end
      {at(3, 6), at(0, 0), at(0, 2), 5},    // beyond the last end
      {at(2, 1), at(0, 0), at(0, 2), 2},    // beside the segment
  };
  for (const auto& c : dists) EXPECT_DOUBLE_EQ(TGPolyLine::Distance(c.p, c.a, c.b), c.d);
}

TEST(PolyLine, SimplificationWritesLevelsIntoMarks) {
  struct Case {
    const char* name;
    std::vector<LatLon> pts;
    std::vector<int> marks;
    std::string points, levels;
  } cases[] = {
      {"empty", {}, {}, "", ""},
      {"one point", {{45, 6}}, {17}, "_atqG_{rc@", "P"},
      {"two points", {{0, 0}, {2, 2}}, {17, 17}, "??_seK_seK", "PP"},
      {"straight line", {{0, 0}, {1, 1}, {2, 2}}, {17, 255, 17}, "??_seK_seK", "PP"},
      {"two degrees off", {{0, 0}, {2, 1}, {0, 2}}, {17, 19, 17}, "??_seK_ibE~reK_ibE", "PRP"},
      // Both interior points lie 1 degree off the ends' line: the first one splits.
      {"tie", {{0, 0}, {1, 1}, {1, 3}, {0, 4}}, {17, 18, 17, 17}, "??_ibE_ibE?_seK~hbE_ibE", "PQPP"},
  };
  for (Case& c : cases) {
    TGPXtrkseg seg;
    for (auto [lat, lon] : c.pts) addPoint(seg, lat, lon);
    kEnc.DPEncode(seg);
    std::vector<int> marks;
    for (int i = 0; i < seg.Count(); ++i) marks.push_back(seg.At(i)->Mark);
    EXPECT_EQ(marks, c.marks) << c.name;
    EXPECT_EQ(kEnc.CreateEncodings(seg), c.points) << c.name;
    EXPECT_EQ(kEnc.EncodeLevels(seg), c.levels) << c.name;
  }
}

TEST(PolyLine, HalvesRoundToEvenAndTheSumKeepsTheRoundedPosition) {
  TGPXtrkseg seg;
  addPoint(seg, 0.015625, 0.046875);  // 1562.5 and 4687.5 hundred-thousandths
  addPoint(seg, 0.046875, 0.015625);
  kEnc.DPEncode(seg);
  const std::string expected = TGPolyLine::EncodeSignedNumber(1562) + TGPolyLine::EncodeSignedNumber(4688) +
                               TGPolyLine::EncodeSignedNumber(3126) + TGPolyLine::EncodeSignedNumber(-3126);
  EXPECT_EQ(kEnc.CreateEncodings(seg), expected);
}

// The Debian python3-polyline decoder reads back what a long random walk encodes to.
TEST(PolyLine, PeerDecoderReadsTheKeptPoints) {
  std::string out;
  if (!programExists("/usr/bin/python3") || runCommand("/usr/bin/python3 -c 'import polyline' 2>&1", out) != 0)
    GTEST_SKIP() << "python3-polyline is not installed";
  std::mt19937 rng(14);
  std::normal_distribution<double> step(0.0, 0.0002);
  TGPXtrkseg seg;
  double lat = 45, lon = 6;
  for (int i = 0; i < 60000; ++i) {
    addPoint(seg, lat, lon);
    lat += step(rng);
    lon += step(rng) * (i % 1000 < 500 ? 1 : 40);  // calm stretches and wild ones
  }
  kEnc.DPEncode(seg);
  std::vector<const TPoint4D2*> kept;
  for (int i = 0; i < seg.Count(); ++i)
    if (i == 0 || i == seg.Count() - 1 || seg.At(i)->Mark != TGPolyLine::kNoLevel) kept.push_back(seg.At(i));
  ASSERT_LT(kept.size(), size_t(seg.Count()));
  ASSERT_EQ(kEnc.EncodeLevels(seg).size(), kept.size());

  // The page's doubled backslashes come undone as the script reads its string.
  const std::string text = kEnc.CreateEncodings(seg);
  std::string raw;
  for (size_t i = 0; i < text.size(); ++i) {
    raw.push_back(text[i]);
    if (text[i] == '\\') {
      ASSERT_EQ(text[++i], '\\') << "lone backslash at " << i;
    }
  }
  ASSERT_NE(raw.find('\\'), std::string::npos) << "the walk should meet a backslash";
  const std::string file = ::testing::TempDir() + "corvantel-polyline-points.txt";
  writeWholeFile(file, raw);
  ASSERT_EQ(runCommand("/usr/bin/python3 -c 'import polyline,sys\nfor a, b in polyline.decode(open(sys.argv[1]).read()): "
                       "print(repr(a), repr(b))' " + file,
                       out),
            0)
      << out;
  std::istringstream lines(out);
  std::string a, b;
  size_t n = 0;
  for (; lines >> a >> b; ++n) {
    ASSERT_LT(n, kept.size());
    double dlat = 0, dlon = 0;
    ASSERT_TRUE(parseFloatStrict(a, dlat) && parseFloatStrict(b, dlon)) << a << " " << b;
    ASSERT_NEAR(dlat, kept[n]->Lat, 0.5e-5) << "point " << n;
    ASSERT_NEAR(dlon, kept[n]->Lon, 0.5e-5) << "point " << n;
  }
  EXPECT_EQ(n, kept.size());
}

}  // namespace
