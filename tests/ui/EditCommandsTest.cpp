// Command enabling for the states a user meets, and the editing commands: Delete with its
// question, Duplicate, the Edit menu's whole-document edits, Zoom on the selected track.
#include <QMenu>

#include "EditFixture.h"

namespace {

class EditCommands : public EditFixture {};

// The enabled state of these controls, as a string of 0 and 1.
const char* const kControls[] = {"tbDelete",        "tbDuplicate",   "tbBindTrack",
                                 "tbZoomTrack",     "Pickwaypoint1", "Pickroute1",
                                 "Picktrack1",      "Removeemptytracks2", "Createametadatasection1",
                                 "Pickanything1",   "tbZoomFull",    "Deleteinsquare1",
                                 "TrimonlySelected1"};

std::string states(QObject* form) {
  std::string s;
  for (const char* name : kControls) {
    auto* a = form->findChild<QAction*>(name);
    s += a && a->isEnabled() ? '1' : '0';
  }
  return s;
}

}  // namespace

TEST_F(EditCommands, EnablingFollowsDocumentSelectionAndPage) {
  // No document shown yet: nothing at all.
  form_->UpdateCommands(true);
  EXPECT_EQ(states(form_.get()), "0000000000000");

  load();  // an empty document
  EXPECT_EQ(states(form_.get()), "0000000011110");
  TGPXwpt* w = addPoint(gpx_->Waypoints, 45, 5, 0, 0, "W");
  TGPXrte* r = addRoute("R", 45.1, 3);
  TGPXtrk* t = addTrack("T");
  TGPXtrkseg* s = addSegment(t, 45.2, 3);
  gpx_->Metadata.Present = true;
  struct Case {
    const char* name;
    std::vector<TItem*> selection;
    const char* full;
  } cases[] = {
      {"nothing selected", {}, "0000111101110"},
      {"a waypoint", {w}, "1100111101110"},
      {"a route", {r}, "1111111101111"},
      {"a segment", {s}, "1111111101111"},
      {"a track", {t}, "1100111101110"},
      {"the metadata and a segment", {&gpx_->Metadata, s}, "1111111101111"},
  };
  for (const Case& c : cases) {
    gpx_->Selection.Items = c.selection;
    form_->UpdateCommands(true);
    EXPECT_EQ(states(form_.get()), c.full) << c.name;
    // A page without editing: every editing command off.
    form_->UpdateCommands(false);
    EXPECT_EQ(states(form_.get()), "0000000000000") << c.name;
  }
}

// The rest of the table, and the menu items that follow their buttons on every page.
TEST_F(EditCommands, TrackCommandsBoxToolsAndMenuMirrors) {
  const char* const names[] = {"tbCutTrack", "tbZoomIn", "tbZoomOut", "tbZoomSelect", "Trim1",
                               "Movealltracksegintothefirsttrack2", "rasform1pointtracksintowaypoints1",
                               "tbCutSelectedTrack", "tbPlantWayPoint", "tbDeleteTrackPoint",
                               "Deleteinsquareonlyseleted1"};
  auto enabled = [&] {
    std::string s;
    for (const char* n : names) s += action(n)->isEnabled() ? '1' : '0';
    return s;
  };
  auto mirrors = [&] {
    std::string s;
    for (auto [menu, button] : {std::pair{"Undo1", "tbUndo"}, {"ClearGPX1", "tbClearGPX"},
                                {"SaveGPX1", "tbSaveGPX"}, {"SaveGPXas1", "tbSaveGPXAs"}}) {
      EXPECT_EQ(action(menu)->isEnabled(), action(button)->isEnabled()) << menu;
      s += action(menu)->isEnabled() ? '1' : '0';
    }
    const bool exportOn = form_->findChild<QMenu*>("Export1")->menuAction()->isEnabled();
    EXPECT_EQ(exportOn, action("SaveGPXas1")->isEnabled());
    return s;
  };
  form_->UpdateCommands(true);
  EXPECT_EQ(mirrors(), "0000");  // nothing shown yet

  TGPXrte* r = addRoute("R", 45.1, 3);
  load();
  EXPECT_EQ(enabled(), "11111000000");  // no track
  EXPECT_EQ(mirrors(), "0111");         // nothing to undo yet
  select({r});
  EXPECT_EQ(enabled(), "11111001111");
  addSegment(addTrack("T"), 45.2, 3);
  form_->SaveUndoState();
  select({});
  EXPECT_EQ(enabled(), "11111110000");
  EXPECT_EQ(mirrors(), "1111");
  // A page without editing keeps the file commands and undo.
  form_->UpdateCommands(false);
  EXPECT_EQ(enabled(), "00000000000");
  EXPECT_EQ(mirrors(), "1111");
}

TEST_F(EditCommands, DeleteAsksFirstAndLeavesTheLastPointsListSelected) {
  TGPXwpt* home = addPoint(gpx_->Waypoints, 45, 5, 0, 0, "Home");
  TGPXrte* r = addRoute("R", 45.1, 4);
  TGPXtrk* t = addTrack("T");
  TGPXtrkseg* s1 = addSegment(t, 45.2, 3);
  addSegment(t, 45.3, 3);
  load();
  TPoint4D2* routePoint = r->GetPoint(1);
  select({home, routePoint, s1, &gpx_->Metadata});

  answerYes_ = false;
  action("tbDelete")->trigger();
  EXPECT_EQ(questions_, std::vector<std::string>{"Are you sure that you want to delete the selected point \"Home\" ?"});
  EXPECT_EQ(gpx_->Waypoints.Count(), 1);
  EXPECT_FALSE(form_->GPXModified);

  answerYes_ = true;
  action("tbDelete")->trigger();
  EXPECT_EQ(gpx_->Waypoints.Count(), 0);
  EXPECT_EQ(r->Count(), 3);
  EXPECT_EQ(t->Count(), 1);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{r});
  EXPECT_EQ(logLines(), std::vector<std::string>{"Unknown Data type (TGPXmetadata)"});
  EXPECT_TRUE(form_->GPXModified);
  EXPECT_FALSE(action("tbDelete")->isEnabled());

  // The last point's list deleted as well: nothing is left selected.
  questions_.clear();
  TGPXwpt* unnamed = addPoint(gpx_->Waypoints, 45, 5);
  select({unnamed, r->GetPoint(0), r});
  action("tbDelete")->trigger();
  EXPECT_EQ(questions_, std::vector<std::string>{"Are you sure that you want to delete the selected point ?"});
  EXPECT_EQ(gpx_->Routes.Count(), 0);
  EXPECT_EQ(gpx_->Selection.Count(), 0);

  // Without the question for a track; a track and its own segment go together.
  questions_.clear();
  form_->PreviewDraw->Options.AskBeforeDelete = 0;
  select({t->At(0), t});
  action("tbDelete")->trigger();
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(gpx_->Tracks.Count(), 0);
}

TEST_F(EditCommands, DuplicateInsertsTheCopyAfterItsSourceAndEndsTheTool) {
  TGPXrte* r = addRoute("R", 45.0, 3);
  addRoute("S", 45.1, 3);
  TGPXtrk* t = addTrack("T");
  TGPXtrkseg* s = addSegment(t, 45.2, 3);
  addSegment(t, 45.3, 2);
  addPoint(gpx_->Waypoints, 45, 5, 0, 0, "W");
  load();

  select({r});
  action("tbCutSelectedTrack")->trigger();
  ASSERT_EQ(mode(), 8);
  action("tbDuplicate")->trigger();
  EXPECT_EQ(mode(), 1);
  EXPECT_FALSE(action("tbCutSelectedTrack")->isChecked());
  ASSERT_EQ(gpx_->Routes.Count(), 3);
  EXPECT_EQ(gpx_->Routes.At(1)->name, "R (copy)");
  EXPECT_EQ(gpx_->Routes.At(1)->Count(), 3);
  EXPECT_EQ(gpx_->Routes.At(2)->name, "S");
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{r});

  select({s});
  action("tbDuplicate")->trigger();
  ASSERT_EQ(t->Count(), 3);
  EXPECT_NE(t->At(1), s);  // the copy, right after the segment
  EXPECT_EQ(t->At(1)->Count(), 3);
  EXPECT_EQ(t->At(2)->Count(), 2);

  // A route point chosen in the point grid becomes a waypoint at the head of the list.
  r->GetPoint(2)->edit().name = "P";
  select({r->GetPoint(2)});
  action("tbDuplicate")->trigger();
  ASSERT_EQ(gpx_->Waypoints.Count(), 2);
  EXPECT_EQ(gpx_->Waypoints.GetPoint(0)->data().name, "P (copy)");
  EXPECT_EQ(gpx_->Waypoints.GetPoint(1)->data().name, "W");
  EXPECT_EQ(r->Count(), 3);
}

TEST_F(EditCommands, MergeAllTracksMovesEverySegmentIntoTheFirst) {
  TGPXtrk* a = addTrack("A");
  TGPXtrkseg* a1 = addSegment(a, 45.0, 2);
  TGPXtrk* b = addTrack("B");
  TGPXtrkseg* b1 = addSegment(b, 45.1, 2);
  TGPXtrkseg* b2 = addSegment(b, 45.2, 2);
  TGPXtrk* c = addTrack("C");
  TGPXtrkseg* c1 = addSegment(c, 45.3, 2);
  TGPXtrkseg* c2 = addSegment(c, 45.4, 2);
  load();
  form_->PreviewDraw->CurrentList = c2;
  action("Movealltracksegintothefirsttrack2")->trigger();
  ASSERT_EQ(gpx_->Tracks.Count(), 1);
  std::vector<TGPXtrkseg*> order;
  for (auto& seg : a->Items()) order.push_back(seg.get());
  EXPECT_EQ(order, (std::vector<TGPXtrkseg*>{a1, c2, c1, b2, b1}));
  EXPECT_EQ(form_->PreviewDraw->CurrentList, c2);  // the segment itself moved
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{&gpx_->Tracks});
  EXPECT_TRUE(form_->GPXModified);
  EXPECT_TRUE(form_->UndoList.empty());

  form_->GPXModified = false;
  action("Movealltracksegintothefirsttrack2")->trigger();  // one track: nothing to merge
  EXPECT_FALSE(form_->GPXModified);
}

TEST_F(EditCommands, RemoveEmptyTracksAndTransformOnePlaceSegments) {
  TGPXtrk* day = addTrack("Day 1");
  addSegment(day, 45.0, 3);
  TGPXtrkseg* still = day->Add(std::make_unique<TGPXtrkseg>());
  for (double time : {1.0, 2.0, 3.0}) addPoint(*still, 45.5, 5.5, 100, time);
  TGPXtrkseg* climb = day->Add(std::make_unique<TGPXtrkseg>());
  addPoint(*climb, 45.6, 5.6, 100);
  addPoint(*climb, 45.6, 5.6, 110);
  TGPXtrk* single = addTrack("Single");
  addPoint(*single->Add(std::make_unique<TGPXtrkseg>()), 46, 6, 0, 0, "Summit");
  TGPXtrk* empty = addTrack("Empty");
  empty->Add(std::make_unique<TGPXtrkseg>());
  for (int i = 0; i < 2; ++i) addPoint(gpx_->Waypoints, 44, 4);
  load();

  action("rasform1pointtracksintowaypoints1")->trigger();
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            "Deleting trackseg #1 from Single, adding waypoint Summit",
                            "Deleting trackseg #2 from Day 1, adding waypoint WayPoint #4"}));
  ASSERT_EQ(gpx_->Waypoints.Count(), 4);
  const TGPXwpt* w = gpx_->Waypoints.GetPoint(3);
  EXPECT_EQ(w->data().src, "Converted from a track");
  EXPECT_EQ(w->Time, 1.0);
  EXPECT_EQ(gpx_->Waypoints.GetPoint(2)->data().src, "");  // a named point keeps its fields
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{gpx_->Waypoints.GetPoint(3)});
  EXPECT_EQ(day->Count(), 2);
  EXPECT_EQ(day->At(1), climb);
  EXPECT_EQ(single->Count(), 0);  // tracks left empty stay until asked

  action("Removeemptytracks2")->trigger();
  ASSERT_EQ(gpx_->Tracks.Count(), 1);
  EXPECT_EQ(gpx_->Tracks.At(0), day);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{&gpx_->Tracks});
}

TEST_F(EditCommands, MetadataSectionAndZoomOnTheSelectedTrack) {
  TGPXrte* r = addRoute("R", 45.0, 3);
  for (int i = 0; i < 3; ++i) r->GetPoint(i)->Lat += 0.01 * i;
  addRoute("Far", 47.0, 3);
  load();
  ASSERT_TRUE(action("Createametadatasection1")->isEnabled());
  action("Createametadatasection1")->trigger();
  EXPECT_TRUE(gpx_->Metadata.Present);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{&gpx_->Metadata});
  form_->UpdateCommands(true);
  EXPECT_FALSE(action("Createametadatasection1")->isEnabled());

  const double scale = form_->PreviewDraw->ViewBox.Scale;
  select({r});
  action("tbZoomTrack")->trigger();
  EXPECT_GT(form_->PreviewDraw->ViewBox.Scale, scale * 10);
  EXPECT_TRUE(form_->PreviewDraw->IsPointVisible(*r->GetPoint(1)));
}
