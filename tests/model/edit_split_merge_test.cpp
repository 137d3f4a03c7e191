// Splitting routes and segments, merging them, and finding the owners of points and segments.
#include <gtest/gtest.h>

#include "edit_helpers.h"

namespace {

struct SplitCase {
  int count, at;
  bool splits;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, RouteKeepsUpToThePointAndTheCopyFollowsIt) {
  const SplitCase c = GetParam();
  TGPX doc;
  addRoute(doc, numbered(2, 100));
  TGPXrte* r = addRoute(doc, numbered(c.count));
  r->name = "R";
  addRoute(doc, numbered(2, 200));
  TPoint4D2* pt = r->GetPoint(c.at);
  RetiredItems retired;
  TGPXrte* part = doc.Routes.SplitRoute(r, pt, retired);
  if (!c.splits) {
    EXPECT_EQ(part, nullptr);
    EXPECT_EQ(r->Count(), c.count);
    EXPECT_EQ(doc.Routes.Count(), 3);
    return;
  }
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(doc.Routes.IndexOf(part), 2);
  EXPECT_EQ(r->Count(), c.at + 1);
  EXPECT_EQ(r->Last(), pt);
  EXPECT_EQ(part->Count(), c.count - c.at);
  EXPECT_EQ(part->First()->Lat, c.at);
  EXPECT_NE(part->First(), pt) << "the second part holds copies";
  EXPECT_EQ(part->name, "R (part 2)");
  EXPECT_EQ(retired.Count(), c.count - c.at - 1);
}

TEST_P(SplitTest, SegmentSplitsAlikeAndKeepsExtensions) {
  const SplitCase c = GetParam();
  TGPX doc;
  TGPXtrk* t = addTrack(doc);
  TGPXtrkseg* s = addSegment(*t, numbered(c.count));
  s->extensions = "<x/>";
  addSegment(*t, numbered(1));
  RetiredItems retired;
  TGPXtrkseg* part = t->SplitSegment(s, s->GetPoint(c.at), retired);
  ASSERT_EQ(part != nullptr, c.splits);
  if (!part) return;
  EXPECT_EQ(t->IndexOf(part), 1);
  EXPECT_EQ(part->extensions, "<x/>");
  EXPECT_EQ(s->Count() + part->Count(), c.count + 1);
}

INSTANTIATE_TEST_SUITE_P(Edit, SplitTest,
                         ::testing::Values(SplitCase{10, 3, true}, SplitCase{10, 7, true},
                                           SplitCase{10, 2, false}, SplitCase{10, 8, false},
                                           SplitCase{6, 3, true}, SplitCase{5, 3, false}));

TEST(Split, PointOrListOutsideTheOwnerChangesNothing) {
  TGPX doc;
  TGPXrte* r = addRoute(doc, numbered(10));
  TGPXrte stray;
  fill(stray, numbered(10));
  RetiredItems retired;
  EXPECT_EQ(doc.Routes.SplitRoute(r, stray.GetPoint(4), retired), nullptr);
  EXPECT_EQ(doc.Routes.SplitRoute(&stray, stray.GetPoint(4), retired), nullptr);
  EXPECT_EQ(r->Count(), 10);
  EXPECT_EQ(retired.Count(), 0);
}

struct MergeCase {
  const char* what;
  std::vector<Pt> a, b;
  bool aFirstInList;
  std::vector<double> expected;
};

// Points named by latitude; equal latitude means equal position (lon and ele stay 0).
const MergeCase kRouteMerges[] = {
    {"shared junction", {{1}, {2}}, {{2}, {3}}, false, {1, 2, 3}},
    {"b starts later", {{1, 0, 0, 10}, {2, 0, 0, 11}}, {{5, 0, 0, 12}, {6}}, false, {1, 2, 5, 6}},
    {"a stands first", {{1}, {2}}, {{5}, {6}}, true, {1, 2, 5, 6}},
    {"b goes in front", {{1}, {2}}, {{5}, {6}}, false, {5, 6, 1, 2}},
    {"b ends where a starts", {{1}, {2}}, {{5}, {1}}, false, {5, 1, 2}},
    {"empty a", {}, {{5}, {6}}, false, {5, 6}},
    {"empty b", {{1}, {2}}, {}, false, {1, 2}},
    {"both empty", {}, {}, true, {}},
};

TEST(Merge, RoutesJoinAndTheSecondLeavesTheList) {
  for (const MergeCase& c : kRouteMerges) {
    SCOPED_TRACE(c.what);
    TGPX doc;
    TGPXrte *a, *b;
    if (c.aFirstInList) {
      a = addRoute(doc, c.a);
      b = addRoute(doc, c.b);
    } else {
      b = addRoute(doc, c.b);
      a = addRoute(doc, c.a);
    }
    RetiredItems retired;
    EXPECT_EQ(doc.Routes.MergeRoutes(a, b, retired), a);
    EXPECT_EQ(lats(*a), c.expected);
    EXPECT_EQ(doc.Routes.Count(), 1);
    EXPECT_TRUE(retired.Contains(b));
  }
}

TEST(Merge, SegmentsIgnoreTheirPositions) {
  for (const MergeCase& c : kRouteMerges) {
    SCOPED_TRACE(c.what);
    TGPX doc;
    TGPXtrk* t = addTrack(doc);
    TGPXtrkseg* a = addSegment(*t, c.a);
    TGPXtrkseg* b = addSegment(*t, c.b);
    RetiredItems retired;
    EXPECT_EQ(doc.Tracks.MergeSegments(a, b, retired), a);
    std::vector<double> expected = c.expected;
    if (std::string(c.what) == "a stands first") expected = {5, 6, 1, 2};
    EXPECT_EQ(lats(*a), expected);
    EXPECT_EQ(t->Count(), 1);
    EXPECT_TRUE(retired.Contains(b));
  }
}

TEST(Merge, OnlySegmentTakesItsTrackAlong) {
  TGPX doc;
  TGPXtrkseg* a = addSegment(*addTrack(doc), numbered(2));
  TGPXtrk* lone = addTrack(doc);
  TGPXtrkseg* b = addSegment(*lone, numbered(2, 10));
  RetiredItems retired;
  EXPECT_EQ(doc.Tracks.MergeSegments(a, b, retired), a);
  EXPECT_EQ(doc.Tracks.Count(), 1);
  EXPECT_TRUE(retired.Contains(lone));
  EXPECT_EQ(lone->First(), b) << "the retired track still holds the segment";
}

TEST(Merge, RefusesSelfAndStrangers) {
  TGPX doc;
  TGPXrte* a = addRoute(doc, numbered(2));
  TGPXtrkseg* s = addSegment(*addTrack(doc), numbered(2));
  TGPXrte strayRoute;
  TGPXtrkseg straySeg;
  RetiredItems retired;
  EXPECT_EQ(doc.Routes.MergeRoutes(a, a, retired), nullptr);
  EXPECT_EQ(doc.Routes.MergeRoutes(a, &strayRoute, retired), nullptr);
  EXPECT_EQ(doc.Routes.MergeRoutes(nullptr, a, retired), nullptr);
  EXPECT_EQ(doc.Tracks.MergeSegments(s, s, retired), nullptr);
  EXPECT_EQ(doc.Tracks.MergeSegments(s, &straySeg, retired), nullptr);
  EXPECT_EQ(a->Count(), 2);
  EXPECT_EQ(s->Count(), 2);
  EXPECT_EQ(retired.Count(), 0);
}

TEST(Merge, SelectionDecidesKindAndSurvivor) {
  TGPX doc;
  TGPXrte* r1 = addRoute(doc, numbered(2));
  TGPXrte* r2 = addRoute(doc, numbered(2, 10));
  TGPXtrk* t = addTrack(doc);
  TGPXtrkseg* s1 = addSegment(*t, numbered(2));
  TGPXtrkseg* s2 = addSegment(*t, numbered(2, 10));
  RetiredItems retired;
  const struct {
    std::vector<TItem*> sel;
    bool merges;
  } cases[] = {{{r1}, false}, {{r1, s1}, false}, {{s1, r1}, false},
               {{r1, nullptr}, false}, {{r1, r2, s1}, false}, {{&doc.Waypoints, r1}, false}};
  for (const auto& c : cases) {
    doc.Selection.Items = c.sel;
    EXPECT_EQ(doc.MergeSelection(retired), nullptr);
  }
  doc.Selection.Items = {r2, r1};
  EXPECT_EQ(doc.MergeSelection(retired), r2);
  EXPECT_EQ(doc.Routes.Count(), 1);
  doc.Selection.Items = {s2, s1};
  EXPECT_EQ(doc.MergeSelection(retired), s2);
  EXPECT_EQ(t->Count(), 1);
  EXPECT_EQ(retired.Count(), 2);
}

TEST(Find, FirstOwnerInDocumentOrderOrNone) {
  TGPX doc;
  TGPXrte* r = addRoute(doc, numbered(2));
  TGPXtrk* t = addTrack(doc);
  TGPXtrkseg* s = addSegment(*t, numbered(1));
  TGPXwpt stray;
  EXPECT_EQ(doc.FindPointOwner(r->GetPoint(0)), r);
  EXPECT_EQ(doc.FindPointOwner(s->GetPoint(0)), s);
  EXPECT_EQ(doc.FindPointOwner(&stray), nullptr);
  EXPECT_EQ(doc.Tracks.FindTrackOfSegment(s), t);
}

}  // namespace
