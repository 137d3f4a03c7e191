// Deep copies: equal values, nothing shared with the source, the asymmetric field rules.
#include <gtest/gtest.h>

#include <set>

#include "edit_helpers.h"

namespace {

// Every heap address a document's item tree owns (items and the points' field blocks).
std::set<const void*> ownedAddresses(const TGPX& doc) {
  std::set<const void*> out;
  auto points = [&out](const TGPXwptList& list) {
    out.insert(&list);
    for (const auto& p : list.Items()) {
      out.insert(p.get());
      const auto* w = static_cast<const TGPXwpt*>(p.get());
      if (w->HasData()) out.insert(&w->data());
    }
  };
  points(doc.Waypoints);
  for (const auto& r : doc.Routes.Items()) points(*r);
  for (const auto& t : doc.Tracks.Items()) {
    out.insert(t.get());
    for (const auto& s : t->Items()) points(*s);
  }
  return out;
}

TGPX& richDocument(TGPX& doc) {
  doc.Creator = "tester";
  doc.Metadata.Present = true;
  doc.Metadata.name = "meta";
  doc.Metadata.author.Present = true;
  doc.Metadata.author.email.id = "me";
  doc.Metadata.bounds.maxlat = 5;
  doc.Extension.Text = "<x/>";
  fill(doc.Waypoints, {{1, 2, 3, 44000}, {4, 5, 6}});
  doc.Waypoints.GetPoint(0)->edit().name = "wp";
  doc.Waypoints.GetPoint(0)->edit().link.href = "http://a";
  doc.Waypoints.Present = true;
  TGPXrte* r = addRoute(doc, numbered(3));
  r->name = "route";
  r->GetPoint(1)->edit().sat = 9;
  doc.Routes.Present = true;
  TGPXtrk* t = addTrack(doc);
  t->name = "track";
  t->Visible = false;
  addSegment(*t, numbered(2))->extensions = "<e/>";
  addSegment(*t, numbered(4, 10));
  doc.Tracks.Present = true;
  doc.Selection.Add(r);
  doc.Visible = false;
  return doc;
}

TEST(DeepCopy, DocumentCopyHasEqualValuesAndSharesNothing) {
  TGPX src;
  richDocument(src);
  TGPX copy;
  copy.Assign(src);

  EXPECT_EQ(copy.Creator, "tester");
  EXPECT_TRUE(copy.Visible) << "Visible is not copied";
  EXPECT_EQ(copy.Selection.Count(), 0);
  EXPECT_EQ(copy.Metadata.author.email.id, "me");
  EXPECT_EQ(copy.Metadata.bounds.maxlat, 5);
  EXPECT_EQ(copy.Extension.Text, "<x/>");
  ASSERT_EQ(copy.Waypoints.Count(), 2);
  EXPECT_TRUE(copy.Waypoints.Present);
  EXPECT_EQ(copy.Waypoints.GetPoint(0)->data().name, "wp");
  EXPECT_EQ(copy.Waypoints.GetPoint(0)->data().link.href, "http://a");
  ASSERT_EQ(copy.Routes.Count(), 1);
  EXPECT_EQ(copy.Routes.GetRoute(0)->name, "route");
  EXPECT_EQ(copy.Routes.GetRoute(0)->GetPoint(1)->data().sat, 9);
  ASSERT_EQ(copy.Tracks.Count(), 1);
  const TGPXtrk* t = copy.Tracks.GetTrack(0);
  EXPECT_EQ(t->name, "track");
  EXPECT_TRUE(t->Visible) << "a track's Visible is not copied";
  ASSERT_EQ(t->Count(), 2);
  EXPECT_EQ(t->GetSegment(0)->extensions, "<e/>");
  EXPECT_EQ(lats(*t->GetSegment(1)), (std::vector<double>{10, 11, 12, 13}));

  const auto a = ownedAddresses(src), b = ownedAddresses(copy);
  for (const void* p : b) EXPECT_EQ(a.count(p), 0u) << "copy shares " << p;
  EXPECT_EQ(a.size(), b.size());

  // Changing the copy leaves the source alone.
  copy.Waypoints.GetPoint(0)->edit().name = "changed";
  EXPECT_EQ(src.Waypoints.GetPoint(0)->data().name, "wp");
}

TEST(DeepCopy, PointCopyKeepsMarkAndVisibleAndDropsStaleFields) {
  TGPXwpt src;
  src.Lat = 1;
  src.Mark = 3;
  src.Visible = false;
  TGPXwpt dst;
  dst.Mark = 7;
  dst.edit().name = "old";
  dst.Assign(src);
  EXPECT_EQ(dst.Lat, 1);
  EXPECT_EQ(dst.Mark, 7);
  EXPECT_TRUE(dst.Visible);
  EXPECT_EQ(dst.data().name, "") << "a source without GPX fields clears the target's";
}

TEST(DeepCopy, RouteReplacesItsPointsButSegmentsAndListsAppend) {
  TGPXrte src, dst;
  fill(src, numbered(2, 100));
  src.Present = true;
  fill(dst, numbered(3));
  dst.Visible = false;
  dst.Assign(src);
  EXPECT_EQ(lats(dst), (std::vector<double>{100, 101}));
  EXPECT_FALSE(dst.Present);
  EXPECT_FALSE(dst.Visible);

  dst.Assign(dst);  // a copy onto itself must not lose the points
  EXPECT_EQ(dst.Count(), 2);

  TGPXwptList list;
  fill(list, numbered(1, 50));
  list.Assign(src);
  EXPECT_EQ(lats(list), (std::vector<double>{50, 100, 101}));

  TGPXtrk t1, t2;
  addSegment(t1, numbered(1));
  addSegment(t2, numbered(1));
  t2.Assign(t1);
  EXPECT_EQ(t2.Count(), 2);
}

}  // namespace
