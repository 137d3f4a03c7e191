// The statistics graph in the window: the graph chosen for the list selected in the tree,
// the mouse over it, the pop-up's point, range and value commands, the status texts, the
// tabs that follow the point, and the graph picture.
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidgetItemIterator>
#include <fstream>

#include "EditFixture.h"
#include "FakeBrowser.h"
#include "ui/TreeNodes.h"
#include "views/PictureFiles.h"

namespace {

class Graph : public EditFixture {
protected:
  // A track "T" with one segment of n points 0.01 degree apart northwards, named P0, P1, ...,
  // with these elevations; timed one a minute when `timed`.
  TGPXtrkseg* track(const std::vector<double>& eles, bool timed = false) {
    TGPXtrkseg* s = addSegment(addTrack("T"), 45, 0);
    for (size_t i = 0; i < eles.size(); ++i)
      addPoint(*s, 45 + 0.01 * i, 5, eles[i], timed ? 45000 + i / 1440.0 : 0, "P" + std::to_string(i));
    return s;
  }
  void show(TItem* item) {
    load();
    for (QTreeWidgetItemIterator it(form_->findChild<QTreeWidget*>("tvItems")); *it; ++it)
      if (treeNodeObject(*it) == item) form_->findChild<QTreeWidget*>("tvItems")->setCurrentItem(*it);
  }
  // Frees the tracks as an edit would: through the release of the references to them.
  void clearTracks() {
    form_->Retired.AddAll(gpx_->Tracks.ExtractAll());
    form_->ReleaseStaleReferences();
  }
  TImageView* graphImage() { return form_->findChild<TImageView*>("GPXStatImage"); }
  TGPXStat& g() { return *form_->GPXStat; }
  int xOf(int k) { return g().Points.GetItem(k)->X; }
  void graphMouse(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(x, 10), QPointF(graphImage()->mapToGlobal(QPoint(x, 10))), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(graphImage(), &e);
  }
  void hoverGraph(int k) { graphMouse(QEvent::MouseMove, xOf(k), Qt::NoButton, Qt::NoButton); }
  void selectRange(int a, int b) {
    graphMouse(QEvent::MouseButtonPress, xOf(a), Qt::LeftButton, Qt::LeftButton);
    graphMouse(QEvent::MouseMove, xOf(b), Qt::NoButton, Qt::LeftButton);
    graphMouse(QEvent::MouseButtonRelease, xOf(b), Qt::LeftButton, Qt::NoButton);
  }
  void popupAndRun(const char* name) {
    form_->pmAltitudePopup();
    QAction* a = action(name);
    ASSERT_TRUE(a->isEnabled()) << name;
    a->trigger();
  }
  static std::vector<double> lats(const TGPXwptList& list) {
    std::vector<double> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(std::round((list.GetPoint(i)->Lat - 45) * 100));
    return v;
  }
  QString panelText(int i) { return form_->findChild<QLabel*>(QString("StatusPanel%1").arg(i))->text(); }
};

}  // namespace

TEST_F(Graph, ChosenByTheListsFirstPoint) {
  struct Case { const char* checked; double ele; bool timed; uint8_t mode; const char* nowChecked; };
  const Case cases[] = {{"miStatGraphAltitude", 10, true, 1, "miStatGraphAltitude"},
                        {"miStatGraphAltitude", 0, true, 3, "miStatGraphSpeed"},
                        {"miStatGraphAltitude", 0, false, 5, "miStatGraphAngle"},
                        {"miStatGraphDistance", 10, false, 7, "miStatGraphDistance"},
                        {"miStatGraphSatellitesused", 10, true, 0, "miStatGraphSatellitesused"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.checked);
    clearTracks();
    TGPXtrkseg* s = track({k.ele, 20, 15}, k.timed);
    action(k.checked)->setChecked(true);
    show(s);
    EXPECT_EQ(g().Mode, k.mode);
    EXPECT_EQ(g().Points.SourceList, k.mode ? s : nullptr);
    EXPECT_TRUE(action(k.nowChecked)->isChecked());
  }
}

TEST_F(Graph, RangeCommands) {
  struct Case { const char* command; std::vector<double> kept, copy; };
  const Case cases[] = {{"imSelectionTrim", {1, 2, 3}, {}},
                        {"imSelectionDelete", {0, 4, 5}, {}},
                        {"imSelectionCopyToNew", {0, 1, 2, 3, 4, 5}, {1, 2, 3}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.command);
    clearTracks();
    TGPXtrkseg* s = track({10, 30, 20, 40, 15, 25});
    show(s);
    selectRange(3, 1);  // right to left
    ASSERT_EQ(g().SelActive, 1);
    popupAndRun(k.command);
    EXPECT_EQ(lats(*s), k.kept);
    TGPXtrk* t = gpx_->Tracks.At(0);
    ASSERT_EQ(t->Count(), k.copy.empty() ? 1 : 2);
    if (!k.copy.empty()) {
      EXPECT_EQ(lats(*t->At(1)), k.copy);
      EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{t->At(1)});
    }
    EXPECT_EQ(form_->UndoList.size(), 1u);
    form_->UndoList.clear();
    // The graph shows what is left, or the copy now selected, and holds nothing freed.
    EXPECT_EQ(g().Points.Count(), (k.copy.empty() ? s : t->At(1))->Count());
    EXPECT_EQ(form_->CurrentGraphPoint, nullptr);
  }
  // A route's copy is named so and follows it.
  clearTracks();
  TGPXrte* r = addRoute("R", 45, 5);
  show(r);
  selectRange(1, 2);
  form_->pmAltitudePopup();
  EXPECT_EQ(action("imSelectionCopyToNew")->text().toStdString(), "Copy to a new route");
  action("imSelectionCopyToNew")->trigger();
  ASSERT_EQ(gpx_->Routes.Count(), 2);
  EXPECT_EQ(gpx_->Routes.At(1)->name, "R (copy)");
  EXPECT_EQ(gpx_->Routes.At(1)->Count(), 2);
  EXPECT_EQ(logLines().back(), "From 1 To 2");
}

TEST_F(Graph, PointAndValueCommands) {
  struct Case { const char* command; int at; std::vector<double> kept; };
  const Case cases[] = {{"Delete2", 2, {0, 1, 3, 4, 5, 6}},
                        {"imValueDeleteBelow", 2, {1, 2, 3, 5, 6}},  // 30 and more; 30 itself stays
                        {"imValueDeleteAbove", 2, {0, 2, 4, 5}},
                        {"Cuthere1", 3, {0, 1, 2, 3}},
                        {"Properties2", 1, {0, 1, 2, 3, 4, 5, 6}},
                        {"Plantawaypoint1", 4, {0, 1, 2, 3, 4, 5, 6}}};
  form_->ShowDialog = [](QDialog*) { return int(QDialog::Accepted); };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.command);
    clearTracks();
    gpx_->Waypoints.FreeAll();
    form_->UndoList.clear();
    TGPXtrkseg* s = track({10, 35, 30, 40, 15, 30, 50});
    show(s);
    hoverGraph(k.at);
    graphMouse(QEvent::MouseButtonPress, xOf(k.at), Qt::LeftButton, Qt::LeftButton);
    graphMouse(QEvent::MouseButtonRelease, xOf(k.at), Qt::LeftButton, Qt::NoButton);  // a click, no move
    ASSERT_NE(form_->CurrentGraphPoint, nullptr);
    popupAndRun(k.command);
    EXPECT_EQ(lats(*s), k.kept);
    EXPECT_EQ(form_->UndoList.size(), 1u);
    // A deleted point, or one replaced by its edited copy, is no longer the preview's.
    const std::string command = k.command;
    EXPECT_EQ(form_->PreviewDraw->CurrentPoint == nullptr, command == "Delete2" || command == "Properties2");
    // The graph and the tree show what the next command acts on: after a cut, the part after it.
    EXPECT_EQ(g().Points.SourceList, command == "Cuthere1" ? gpx_->Selection.At(0) : s);
    const auto picked = form_->findChild<QTreeWidget*>("tvItems")->selectedItems();
    ASSERT_EQ(picked.size(), gpx_->Selection.Count());
    EXPECT_EQ(treeNodeObject(picked.at(0)), static_cast<const void*>(gpx_->Selection.At(0)));
    // The status bar counts the list the command selects anew (Delete point selects nothing).
    if (command != "Delete2") {
      EXPECT_EQ(panelText(1).toStdString(),
                std::to_string(static_cast<TGPXwptList*>(gpx_->Selection.At(0))->Count()) + " points");
    }
  }
  // The cut left a second segment; the planted waypoint copies the point.
  ASSERT_EQ(gpx_->Waypoints.Count(), 1);
  EXPECT_EQ(gpx_->Waypoints.GetPoint(0)->data().name, "P4");
  EXPECT_EQ(gpx_->Waypoints.GetPoint(0)->Ele, 15);
}

TEST_F(Graph, DeletePointOnlyFromTheListThatHoldsIt) {
  TGPXtrkseg* s = track({10, 20, 30});
  TGPXrte* r = addRoute("R", 46, 3);
  show(s);
  hoverGraph(1);
  select({r});  // the graph still shows the segment
  form_->pmAltitudePopup();
  action("Delete2")->trigger();
  EXPECT_EQ(s->Count(), 3);
  EXPECT_EQ(r->Count(), 3);
  EXPECT_TRUE(form_->UndoList.empty());
  // From the list itself, down to one point: nothing left to plot, the graph is cleared.
  select({s});
  for (int i = 0; i < 2; ++i) {
    hoverGraph(0);
    popupAndRun("Delete2");
  }
  EXPECT_EQ(s->Count(), 1);
  EXPECT_EQ(g().Points.SourceList, nullptr);
}

TEST_F(Graph, UndoAndCloseLeaveNothingStale) {
  for (const char* command : {"tbUndo", "tbClearGPX"}) {
    SCOPED_TRACE(command);
    gpx_ = form_->CurrentGPX.get();
    TGPXtrkseg* s = track({10, 20, 30, 25});
    show(s);
    hoverGraph(1);
    popupAndRun("Delete2");
    hoverGraph(1);
    ASSERT_NE(form_->CurrentGraphPoint, nullptr);
    action(command)->trigger();
    EXPECT_EQ(g().Points.SourceList, nullptr);
    EXPECT_EQ(form_->CurrentGraphPoint, nullptr);
    form_->pmAltitudePopup();
    EXPECT_FALSE(action("Delete2")->isEnabled());
  }
}

TEST_F(Graph, StatusTextsOfThePointUnderTheMouse) {
  struct Case { std::function<void(TStatOptions&)> flags; const char* description; };
  const Case cases[] = {
      {[](TStatOptions&) {}, "P2 Altitude : 30.0 m  P2"},
      {[](TStatOptions& o) { o.name = false; o.Index = o.Distance = o.ParentName = o.altitude = true; },
       "P2 Altitude : 30.0 m  Altitude : 30.0 m Index : 2 Distance : 1113.2m (part of T)"},
  };
  TGPXtrkseg* s = track({10, 20, 30, 40});
  show(s);
  for (const Case& k : cases) {
    form_->StatOptions = TStatOptions();
    k.flags(form_->StatOptions);
    hoverGraph(2);
    EXPECT_EQ(panelText(1).toStdString(), "Point 2");
    EXPECT_EQ(panelText(2).toStdString(), k.description);
  }
  // The preview's point tools describe the point they pick, with no graph value.
  form_->StatOptions = TStatOptions();
  form_->PreviewDraw->ToolMode = 7;
  hover(at(*s->GetPoint(3)));
  EXPECT_EQ(panelText(2).toStdString(), "P3");
}

TEST_F(Graph, TabsFollowThePointAndChooseFullCommands) {
  FakeBrowserScope browser;
  auto* pages = form_->findChild<QTabWidget*>("PageControl1");
  auto* list = pages->findChild<QWidget*>("TabSheet2");
  std::vector<int> rows;
  form_->SelectPointListRow = [&](int i) { rows.push_back(i); };
  TGPXtrkseg* s = track({10, 20, 30, 40});
  show(s);
  pages->setCurrentWidget(list);
  EXPECT_TRUE(action("tbZoomIn")->isEnabled());
  hoverGraph(2);
  pages->setCurrentWidget(pages->findChild<QWidget*>("TabSheet4"));
  EXPECT_FALSE(action("tbZoomIn")->isEnabled());
  ASSERT_TRUE(browser.made);
  hoverGraph(1);  // the page is not ready yet
  form_->MapPageReady = true;
  hoverGraph(3);
  EXPECT_EQ(rows, std::vector<int>{2});
  EXPECT_EQ(browser.made->Scripts, std::vector<std::string>{"MoveGreenMarker(45.03, 5);"});
}

TEST_F(Graph, SavePictureWritesWhatTheImageHolds) {
  const std::string file = (dir_ / ("Graph-" + DateTimeToFileStamp(45000.5) + ".jpg")).string();
  for (bool drawn : {true, false}) {
    std::filesystem::remove(file);
    clearTracks();
    if (drawn) show(track({10, 20, 30}));
    form_->pmAltitudePopup();
    action("Savepicture1")->trigger();
    EXPECT_TRUE(std::filesystem::file_size(file) > 100) << drawn;
    EXPECT_EQ(logLines().back(), "Snapshot saved as " + file);
  }
}

TEST_F(Graph, ZoomByWheelAndSelectionThenWholeAgain) {
  TGPXtrkseg* s = track({10, 35, 30, 40, 15, 30, 50, 20, 25, 45, 5});
  show(s);
  form_->ActivePane = 2;
  EXPECT_TRUE(form_->FormMouseWheel(120, graphImage()->mapToGlobal(QPoint(xOf(5), 10))));
  EXPECT_EQ(std::make_pair(g().FirstIndex, g().LastIndex), std::make_pair(1, 9));
  form_->GPXStatImageDblClick();
  EXPECT_EQ(std::make_pair(g().FirstIndex, g().LastIndex), std::make_pair(0, 10));
  selectRange(2, 6);
  popupAndRun("imSelectionZoomGraph");
  EXPECT_EQ(std::make_pair(g().FirstIndex, g().LastIndex), std::make_pair(2, 6));
  hoverGraph(1);  // the plotted point 1 is the list's point 3
  EXPECT_EQ(panelText(1).toStdString(), "Point 3");
}
