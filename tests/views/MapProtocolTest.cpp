// Reading the map page's status texts: whole texts or nothing.
#include <gtest/gtest.h>

#include "views/MapProtocol.h"

TEST(MapProtocol, BoundsReadWholeOrLeaveTheBoxNotValid) {
  const struct {
    const char* text;
    bool valid;
    double s, w, n, e;
  } cases[] = {
      {"Bounds ((44.99, 4.98), (45.02, 5.03))", true, 44.99, 4.98, 45.02, 5.03},
      {"Bounds ((5, -6), (7, 1E-7))", true, 5, -6, 7, 1e-7},  // one-digit numbers read
      // A view wider than the world, or across the date line, reaches beyond 180 degrees.
      {"Bounds ((-66.51326044311186, -219.375), (81.1203884499, 230.625))", true, -66.51326044311186, -219.375,
       81.1203884499, 230.625},
      {"Bounds ((, 4), (5, 6))", false, 1, 2, 3, 4},
      {"Bounds ((4x, 4), (5, 6))", false, 1, 2, 3, 4},        // nothing half-written
      {"Bounds ((44, 4), (45, 6)", false, 1, 2, 3, 4},
      {"Bounds (44, 4), (45, 6))", false, 1, 2, 3, 4},
  };
  for (const auto& c : cases) {
    TBBox box;
    box.MinLat = 1, box.MinLon = 2, box.MaxLat = 3, box.MaxLon = 4, box.Valid = true;
    EXPECT_EQ(parseMapBounds(c.text, box), c.valid) << c.text;
    EXPECT_EQ(box.Valid, c.valid) << c.text;
    EXPECT_EQ(box.MinLat, c.s) << c.text;
    EXPECT_EQ(box.MinLon, c.w) << c.text;
    EXPECT_EQ(box.MaxLat, c.n) << c.text;
    EXPECT_EQ(box.MaxLon, c.e) << c.text;
  }
}

TEST(MapProtocol, MarkerIndexAndPosition) {
  const struct {
    const char* text;
    int index;
    const char* rest;
  } cases[] = {
      {"Move 45.5, 6.25 <3>", 3, "Move 45.5, 6.25 "}, {"Move 1, 2 <>", -1, "Move 1, 2 "},
      {"Move 1, 2 <-1>", -1, "Move 1, 2 "},         {"Move 1, 2 < 1>", -1, "Move 1, 2 "},
      {"Move 1, 2 <1", -1, "Move 1, 2 <1"},         {"Move 1, 2 >1<", -1, "Move 1, 2 >1"},
      {"Move 1, 2 <99999999999>", -1, "Move 1, 2 "},
  };
  for (const auto& c : cases) {
    std::string s = c.text;
    EXPECT_EQ(cutMarkerIndex(s), c.index) << c.text;
    EXPECT_EQ(s, c.rest) << c.text;
  }
  TMapPosition p;
  ASSERT_TRUE(parseMapPosition(afterFirstBlank("Click  45.5 , -6.25 "), p));
  EXPECT_EQ(p.LatText, "45.5");
  EXPECT_EQ(p.LonText, "-6.25");
  EXPECT_EQ(p.Lon, -6.25);
  for (const char* bad : {"Click 45.5", "Click 45.5, ", "Click , 6", "Click 4e, 6", "Click"})
    EXPECT_FALSE(parseMapPosition(afterFirstBlank(bad), p)) << bad;
}

TEST(MapProtocol, ScriptStringsCannotEndEarly) {
  EXPECT_EQ(scriptStringLiteral("a\"b\\c\r\n</script>\xE2\x80\xA8"),
            "\"a\\\"b\\\\c\\r\\n\\x3C/script>\\u2028\"");
}
