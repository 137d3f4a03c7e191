// The item tree: captions for each class, the selection's log line and status panels, label
// editing, the pop-up commands, and nodes selected for a list of items.
#include <QPlainTextEdit>
#include <QTest>

#include "WindowFixture.h"
#include "ui/ImageView.h"
#include "ui/TreeNodes.h"

namespace {

std::string tripGpx() {
  std::string route;
  for (int i = 0; i < 12; ++i) route += "<rtept lat=\"46." + std::to_string(10 + i) + "\" lon=\"6\"/>";
  return "<?xml version=\"1.0\"?>\n"
         "<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
         "<metadata><name>Trip</name></metadata>"
         "<wpt lat=\"45.5\" lon=\"5.25\"><time>2024-05-01T10:20:30Z</time><name>Camp</name></wpt>"
         "<wpt lat=\"45.6\" lon=\"5.3\"/>"
         "<rte><name>A</name>" + route + "</rte><rte/>"
         "<trk><name>T</name>"
         "<trkseg><trkpt lat=\"0\" lon=\"0\"><time>2024-05-01T11:00:00Z</time></trkpt>"
         "<trkpt lat=\"0.01\" lon=\"0\"><time>2024-05-01T12:00:00Z</time></trkpt></trkseg>"
         "<trkseg><trkpt lat=\"0.02\" lon=\"0\"><time>2024-05-01T10:00:00Z</time></trkpt></trkseg>"
         "</trk>"
         "<extensions><x:info xmlns:x=\"urn:x\">hi</x:info></extensions>"
         "</gpx>\n";
}

}  // namespace

class TreeTest : public WindowTest {
protected:
  TMainForm& openTrip() {
    TMainForm& f = form();
    f.show();
    f.OpenGPXFile(write("trip.gpx", tripGpx()));
    return f;
  }
};

TEST_F(TreeTest, CaptionsFollowTheDocument) {
  openTrip();
  EXPECT_EQ(captions(), (std::vector<std::string>{
                            "GPX", "  Metadata", "  Waypoints (2)", "    Camp", "    WayPoint #2", "  Routes (2)",
                            "    A", "    Route #2", "  Tracks (1)", "    T", "      Track Segment #1",
                            "      Track Segment #2", "  Extensions"}));
  EXPECT_TRUE(node("GPX")->isExpanded());
  EXPECT_FALSE(node("Tracks (1)")->isExpanded());
  EXPECT_TRUE(tree()->selectedItems().isEmpty());
  // Only routes, tracks and waypoints can be renamed.
  for (const char* editable : {"Camp", "A", "T"})
    EXPECT_TRUE(node(editable)->flags() & Qt::ItemIsEditable) << editable;
  for (const char* fixed : {"GPX", "Metadata", "Routes (2)", "Track Segment #1"})
    EXPECT_FALSE(node(fixed)->flags() & Qt::ItemIsEditable) << fixed;
}

TEST_F(TreeTest, SelectingANodeLogsItAndFillsThePanels) {
  TMainForm& f = openTrip();
  struct Case {
    const char* node;
    std::string log;
    std::array<std::string, 3> panels;
  } cases[] = {
      {"A", "Route #1 : A ( 12 points)", {"", "12 points", "12.2 km"}},
      {"Route #2", "Route #2 :  ( 0 points)", {"", "0 point", "0.0 m"}},
      {"T", "Track #1 : T ( 2 track segments)", {}},
      {"Track Segment #1", "Track Segment #1 (2 points)", {"1:00:00", "2 points", "1113.2 m => 1.1 km/h"}},
      {"Track Segment #2", "Track Segment #2 (1 point)", {"", "1 point", "0.0 m"}},
      {"Camp", "Waypoint #1 : Camp (45.500000\xC2\xB0 N, 5.250000\xC2\xB0 E) 2024-05-01 10:20:30", {}},
      {"WayPoint #2", "Waypoint #2 :  (45.600000\xC2\xB0 N, 5.300000\xC2\xB0 E)", {}},
      {"Waypoints (2)", "Waypoint list", {}},
      {"Metadata", "Metadata :  Trip", {}},
      {"Routes (2)", "TGPXrteList", {}},
      {"GPX", "TGPX", {}},
  };
  for (const Case& c : cases) {
    select(c.node);
    EXPECT_EQ(lastLog(), c.log) << c.node;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(panel(i).toStdString(), c.panels[i]) << c.node << " panel " << i;
  }
  select("Extensions");
  EXPECT_EQ(lastLog().rfind("Extensions : <x:info", 0), 0u) << lastLog();

  // The selection is the node's item alone; a route or segment becomes the preview's list.
  select("A");
  const TGPXrte* a = f.CurrentGPX->Routes.GetRoute(0);
  ASSERT_EQ(f.CurrentGPX->Selection.Count(), 1);
  EXPECT_EQ(f.CurrentGPX->Selection.At(0), a);
  EXPECT_EQ(f.PreviewDraw->CurrentList, a);
  select("GPX");
  EXPECT_EQ(f.CurrentGPX->Selection.Count(), 0);
}

TEST_F(TreeTest, RenamingRefusesAnEmptyNameAndTakesAnUndoCopyOtherwise) {
  TMainForm& f = openTrip();
  QTreeWidgetItem* a = node("A");
  a->setText(0, "");  // what the label editor commits
  EXPECT_EQ(lastLog(), "Empty name is not allowed");
  EXPECT_EQ(a->text(0), "A");
  EXPECT_EQ(f.CurrentGPX->Routes.GetRoute(0)->name, "A");
  EXPECT_TRUE(f.UndoList.empty());
  EXPECT_FALSE(f.GPXModified);

  a->setText(0, "Ridge");
  EXPECT_EQ(f.CurrentGPX->Routes.GetRoute(0)->name, "Ridge");
  EXPECT_EQ(f.UndoList.size(), 1u);
  EXPECT_EQ(f.UndoList.back()->Routes.GetRoute(0)->name, "A");
  EXPECT_TRUE(f.GPXModified);
}

TEST_F(TreeTest, SortByDateKeepsTheExpandedPath) {
  TMainForm& f = openTrip();
  select("T");
  f.findChild<QAction*>("Sortbydate1")->trigger();
  EXPECT_TRUE(node("Tracks (1)")->isExpanded());
  EXPECT_TRUE(node("T")->isExpanded());
  EXPECT_FALSE(node("Routes (2)")->isExpanded());
  EXPECT_TRUE(tree()->selectedItems().isEmpty());
  const TGPXtrk* t = f.CurrentGPX->Tracks.GetTrack(0);
  EXPECT_EQ(t->GetSegment(0)->Count(), 1);  // the 10:00 segment comes first now
  EXPECT_EQ(f.UndoList.size(), 1u);
  EXPECT_TRUE(f.GPXModified);

  select("Waypoints (2)");
  f.findChild<QAction*>("Sortbydate1")->trigger();
  // The waypoint without a time sorts first.
  EXPECT_EQ(f.CurrentGPX->Waypoints.GetPoint(1)->data().name, "Camp");
  EXPECT_TRUE(node("Waypoints (2)")->isExpanded());
}

TEST_F(TreeTest, BindAllSegmentsLeavesNoReferenceToTheMergedOnes) {
  TMainForm& f = openTrip();
  // The 11:00 segment sorts after the 10:00 one and is merged into it.
  select("Track Segment #1");
  const TGPXtrkseg* merged = f.CurrentGPX->Tracks.GetTrack(0)->GetSegment(0);
  EXPECT_EQ(f.PreviewDraw->CurrentList, merged);
  select("T");
  f.findChild<QAction*>("Bindalltracksegments1")->trigger();
  const TGPXtrk* t = f.CurrentGPX->Tracks.GetTrack(0);
  ASSERT_EQ(t->Count(), 1);
  EXPECT_EQ(t->GetSegment(0)->Count(), 3);
  EXPECT_EQ(f.CurrentGPX->Selection.Count(), 1);
  EXPECT_EQ(f.CurrentGPX->Selection.At(0), t->GetSegment(0));
  // The merged segment is gone from everything that pointed at it.
  EXPECT_EQ(f.PreviewDraw->CurrentList, nullptr);
  EXPECT_EQ(f.Retired.Count(), 0);
  EXPECT_EQ(captions().size(), 12u);
}

TEST_F(TreeTest, MoveToANewTrackTakesTheSegmentAlong) {
  TMainForm& f = openTrip();
  select("Track Segment #2");
  TGPXtrkseg* seg = f.CurrentGPX->Tracks.GetTrack(0)->GetSegment(1);
  f.findChild<QAction*>("MovetoanewTrack1")->trigger();
  ASSERT_EQ(f.CurrentGPX->Tracks.Count(), 2);
  const TGPXtrk* moved = f.CurrentGPX->Tracks.GetTrack(1);
  EXPECT_EQ(moved->name, "New track");
  EXPECT_EQ(moved->GetSegment(0), seg);
  EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(0)->Count(), 1);
  EXPECT_EQ(f.CurrentGPX->Selection.At(0), seg);
}

TEST_F(TreeTest, EveryEditLeavesTheCommandsAsTheDocumentIs) {
  TMainForm& f = openTrip();
  f.AskYesNo = [](QWidget*, const QString&) { return true; };
  auto enabled = [&](const char* name) { return f.findChild<QAction*>(name)->isEnabled(); };
  auto undoable = [&] { return enabled("tbUndo") && enabled("Undo1"); };
  const char* const selectionTools[] = {"tbDelete", "tbDuplicate", "tbBindTrack", "tbPlantWayPoint",
                                        "tbCutSelectedTrack", "tbZoomTrack", "tbDeleteTrackPoint"};

  select("A");
  EXPECT_TRUE(enabled("tbBindTrack") && !undoable());
  f.findChild<QAction*>("Delete1")->trigger();
  ASSERT_EQ(f.CurrentGPX->Routes.Count(), 1);
  EXPECT_TRUE(undoable());
  // Nothing is selected any more: no tool may act on a selection.
  for (const char* name : selectionTools) EXPECT_FALSE(enabled(name)) << name;
  f.findChild<QAction*>("ActionUndo")->trigger();
  EXPECT_EQ(f.CurrentGPX->Routes.Count(), 2);
  EXPECT_FALSE(undoable());

  select("T");
  f.findChild<QAction*>("tbDuplicate")->trigger();
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 2);
  EXPECT_TRUE(undoable());
  f.findChild<QAction*>("ActionUndo")->trigger();

  select("Track Segment #2");
  f.findChild<QAction*>("MovetoanewTrack1")->trigger();
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 2);
  EXPECT_TRUE(undoable());
  EXPECT_TRUE(enabled("tbBindTrack"));  // the moved segment stays selected
  f.findChild<QAction*>("ActionUndo")->trigger();
  EXPECT_FALSE(undoable());

  // A rename keeps the tree as it is, and still leaves something to undo.
  node("Camp")->setText(0, "Base");
  EXPECT_TRUE(undoable());
}

TEST_F(TreeTest, SelectTreeNodesShowsItemsWithoutRunningTheSelectionChange) {
  TMainForm& f = openTrip();
  const size_t lines = log().size();
  TGPXrte* a = f.CurrentGPX->Routes.GetRoute(0);
  TGPXtrkseg* seg = f.CurrentGPX->Tracks.GetTrack(0)->GetSegment(0);
  f.SelectTreeNodes({a, nullptr, seg});
  EXPECT_EQ(log().size(), lines);
  EXPECT_TRUE(node("A")->isSelected());
  EXPECT_TRUE(node("Track Segment #1")->isSelected());
  EXPECT_EQ(tree()->selectedItems().size(), 2);
  EXPECT_TRUE(node("T")->isExpanded());
  EXPECT_EQ(tree()->currentItem(), node("Track Segment #1"));
}

TEST_F(TreeTest, OnlyTheUsersChoiceChangesTheSelection) {
  TMainForm& f = openTrip();
  f.activateWindow();
  QApplication::setActiveWindow(&f);
  auto* logPane = f.findChild<QPlainTextEdit*>("mLog");
  const std::vector<TItem*> a{f.CurrentGPX->Routes.GetRoute(0)};
  const std::vector<TItem*> b{f.CurrentGPX->Routes.GetRoute(1)};
  auto selection = [&] { return f.CurrentGPX->Selection.Items; };
  auto focusAwayAndBack = [&] {
    logPane->setFocus();
    tree()->setFocus();
    QApplication::processEvents();
  };

  // A preview tool picked the route and the tree was rebuilt: no node is current. The
  // focus coming back, or an arrow opening a list, makes one current, but chooses nothing.
  logPane->setFocus();
  f.CurrentGPX->Selection.Add(a.front());
  f.RefreshTree();
  QTreeWidgetItem* tracks = node("Tracks (1)");
  const QRect row = tree()->visualItemRect(tracks);
  QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(row.left() - tree()->indentation() / 2, row.center().y()));
  QApplication::processEvents();
  EXPECT_TRUE(tracks->isExpanded());
  EXPECT_TRUE(tree()->hasFocus());
  EXPECT_EQ(selection(), a);
  focusAwayAndBack();
  EXPECT_EQ(selection(), a);
  EXPECT_NE(lastLog(), "TGPX");

  // The user's own click and keys still choose.
  node("Routes (2)")->setExpanded(true);
  QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    tree()->visualItemRect(node("Route #2")).center());
  EXPECT_EQ(selection(), b);
  focusAwayAndBack();
  EXPECT_EQ(selection(), b);
  QTest::keyClick(tree(), Qt::Key_Up);
  EXPECT_EQ(selection(), a);
  EXPECT_EQ(lastLog(), "Route #1 : A ( 12 points)");
}

TEST_F(TreeTest, AMultipleSelectionHoldsSiblingsOnly) {
  openTrip();
  node("Routes (2)")->setExpanded(true);
  auto click = [this](const char* caption, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, modifiers,
                      tree()->visualItemRect(node(caption)).center());
    QApplication::processEvents();
  };
  auto selected = [this] {
    std::vector<std::string> out;
    for (QTreeWidgetItemIterator it(tree(), QTreeWidgetItemIterator::Selected); *it; ++it)
      out.push_back((*it)->text(0).toStdString());
    return out;
  };
  click("Waypoints (2)", Qt::NoModifier);
  click("Routes (2)", Qt::ControlModifier);
  EXPECT_EQ(selected(), (std::vector<std::string>{"Waypoints (2)", "Routes (2)"}));
  // A node of another level starts the selection anew.
  click("A", Qt::ControlModifier);
  EXPECT_EQ(selected(), (std::vector<std::string>{"A"}));
  click("Route #2", Qt::ControlModifier);
  EXPECT_EQ(selected(), (std::vector<std::string>{"A", "Route #2"}));
  // A range across levels keeps the clicked node's siblings.
  click("Metadata", Qt::ShiftModifier);
  EXPECT_EQ(selected(), (std::vector<std::string>{"Metadata", "Waypoints (2)", "Routes (2)"}));
  // A key that extends the selection onto a child keeps the child's level.
  click("Route #2", Qt::NoModifier);
  QTest::keyClick(tree(), Qt::Key_Up, Qt::ShiftModifier);
  QTest::keyClick(tree(), Qt::Key_Up, Qt::ShiftModifier);
  QApplication::processEvents();
  EXPECT_EQ(tree()->currentItem(), node("Routes (2)"));
  EXPECT_EQ(selected(), (std::vector<std::string>{"Routes (2)"}));
}

TEST_F(TreeTest, ASelectedNodeShowsTheSameImage) {
  QPixmap drawn(16, 16);
  drawn.fill(Qt::red);
  for (bool hidden : {false, true}) {
    const QIcon icon = treeIconFrom(QIcon(drawn), hidden);
    EXPECT_EQ(icon.pixmap(16, 16, QIcon::Selected).toImage(), icon.pixmap(16, 16, QIcon::Normal).toImage())
        << hidden;
  }
  EXPECT_NE(treeIconFrom(QIcon(drawn), true).pixmap(16, 16).toImage(), drawn.toImage());
}

TEST_F(TreeTest, ThePreviewHighlightsOnlyWhatIsSelected) {
  TMainForm& f = openTrip();
  ::Canvas& canvas = f.findChild<TImageView*>("GPXImage")->canvas();
  node("T")->setExpanded(true);
  // A selected track highlights nothing; every other change of node redraws what is left.
  for (auto [caption, lit] : {std::pair{"A", true}, {"T", false}, {"Camp", true}, {"Metadata", false},
                              {"Track Segment #1", true}, {"GPX", false}, {"A", true}, {"Routes (2)", false}}) {
    select(caption);
    bool found = false;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) found |= canvas.GetPixel(x, y) == f.PreviewDraw->Options.SelectionColor;
    EXPECT_EQ(found, lit) << caption;
  }
}
