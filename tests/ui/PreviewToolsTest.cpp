// The preview's tools driven by the mouse as a user drives them: buttons and drop-downs,
// each tool's release with and without Alt, right-click select, the wheel, the keys.
#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include "EditFixture.h"

namespace {

class PreviewTools : public EditFixture {
protected:
  void SetUp() override {
    EditFixture::SetUp();
    home_ = addPoint(gpx_->Waypoints, 45.15, 5.0, 0, 0, "Home");
    addPoint(gpx_->Waypoints, 45.15, 5.07);
    gpx_->Waypoints.Present = true;
    route_ = addRoute("R", 45.0, 8);
    a_ = addTrack("A");
    a1_ = addSegment(a_, 45.05, 8);
    b_ = addTrack("B");
    b1_ = addSegment(b_, 45.10, 8);
    b2_ = addSegment(b_, 45.12, 8);
    load();
  }
  QPoint routePoint(int i) const { return at(*route_->GetPoint(i)); }

  TGPXwpt* home_ = nullptr;
  TGPXrte* route_ = nullptr;
  TGPXtrk *a_ = nullptr, *b_ = nullptr;
  TGPXtrkseg *a1_ = nullptr, *b1_ = nullptr, *b2_ = nullptr;
};

bool customCursor(QWidget* w) { return w->cursor().shape() == Qt::BitmapCursor; }

}  // namespace

TEST_F(PreviewTools, ButtonsAreExclusiveAndTheDropDownsRememberTheirTool) {
  select({route_});
  action("tbCutTrack")->trigger();
  EXPECT_EQ(mode(), 7);
  EXPECT_TRUE(customCursor(image_));
  action("tbBindTrack")->trigger();
  EXPECT_EQ(mode(), 9);
  EXPECT_FALSE(action("tbCutTrack")->isChecked());
  EXPECT_EQ(image_->cursor().shape(), Qt::PointingHandCursor);
  action("tbBindTrack")->trigger();  // the active tool again: back to panning
  EXPECT_EQ(mode(), 1);
  EXPECT_EQ(image_->cursor().shape(), Qt::ArrowCursor);

  action("tbCutTrack")->trigger();
  action("Pickroute1")->trigger();  // a drop-down item releases the check buttons
  EXPECT_EQ(mode(), 4);
  EXPECT_EQ(form_->PickMode, 4);
  EXPECT_FALSE(action("tbCutTrack")->isChecked());
  EXPECT_EQ(action("tbPickDD")->property("imageIndex").toInt(), 8);
  action("tbPickDD")->trigger();
  EXPECT_EQ(mode(), 1);
  action("tbPickDD")->trigger();
  EXPECT_EQ(mode(), 4);

  action("Trim1")->trigger();
  EXPECT_EQ(mode(), 14);
  action("tbCutterDD")->trigger();
  EXPECT_EQ(mode(), 1);
  action("tbZoomSelect")->trigger();
  action("tbCutterDD")->trigger();
  EXPECT_EQ(mode(), 14);
  EXPECT_FALSE(action("tbZoomSelect")->isChecked());

  // Closing the document starts the new preview panning, with no button left down.
  action("tbCutTrack")->trigger();
  form_->ActionCloseCurrentGPXExecute();
  EXPECT_EQ(mode(), 1);
  EXPECT_FALSE(action("tbCutTrack")->isChecked());
  EXPECT_EQ(image_->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(form_->PickMode, 4);  // the drop-downs keep their tools
}

TEST_F(PreviewTools, CutToolSplitsAtTheHoveredPointAndAltKeepsIt) {
  action("tbCutTrack")->trigger();
  hover(routePoint(4));
  EXPECT_EQ(form_->PreviewDraw->CurrentPoint, route_->GetPoint(4));
  EXPECT_EQ(form_->findChild<QLabel*>("StatusPanel0")->text().toStdString(),
            " " + route_->GetPoint(4)->LatLonToStr());
  click(routePoint(4));
  ASSERT_EQ(gpx_->Routes.Count(), 2);
  EXPECT_EQ(route_->Count(), 5);
  TGPXrte* part = gpx_->Routes.At(1);
  EXPECT_EQ(part->name, "R (part 2)");
  EXPECT_EQ(part->Count(), 4);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{part});
  EXPECT_EQ(mode(), 1);
  EXPECT_FALSE(action("tbCutTrack")->isChecked());
  EXPECT_TRUE(form_->GPXModified);

  action("tbCutTrack")->trigger();
  const QPoint p = at(*a1_->GetPoint(3));
  hover(p);
  click(p, Qt::AltModifier);
  ASSERT_EQ(a_->Count(), 2);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{a_->At(1)});
  EXPECT_EQ(mode(), 7);
  EXPECT_TRUE(action("tbCutTrack")->isChecked());
}

TEST_F(PreviewTools, BindToolJoinsTheSelectedSegmentWithTheHoveredOne) {
  // The cut tool leaves a current point in the segment that the bind takes away.
  action("tbCutTrack")->trigger();
  hover(at(*b2_->GetPoint(5)));
  ASSERT_EQ(form_->PreviewDraw->CurrentPoint, b2_->GetPoint(5));
  action("tbCutTrack")->trigger();
  select({b1_});
  action("tbBindTrack")->trigger();
  hover(at(*b2_->GetPoint(2)));
  EXPECT_EQ(gpx_->Selection.Items, (std::vector<TItem*>{b1_, b2_}));
  click(at(*b2_->GetPoint(2)));
  ASSERT_EQ(b_->Count(), 1);
  EXPECT_EQ(b1_->Count(), 16);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{b1_});
  EXPECT_EQ(mode(), 1);
  EXPECT_EQ(form_->PreviewDraw->CurrentPoint, nullptr);
  // The point tools draw the current point while hovering: nothing stale may be left.
  select({home_});
  action("tbPlantWayPoint")->trigger();
  hover(at(*home_));
}

TEST_F(PreviewTools, PlantToolNamesTheNewWaypointUnlessThePointHasAName) {
  route_->GetPoint(5)->edit().name = "Bridge";
  select({route_});
  action("tbPlantWayPoint")->trigger();
  hover(routePoint(2));
  click(routePoint(2), Qt::AltModifier);
  ASSERT_EQ(gpx_->Waypoints.Count(), 3);
  const TGPXwpt* w = gpx_->Waypoints.GetPoint(2);
  EXPECT_EQ(w->data().name, "Waypoint #3");
  EXPECT_EQ(w->data().src, "Waypoint added from a track or route");
  EXPECT_EQ(w->Lon, route_->GetPoint(2)->Lon);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{gpx_->Waypoints.GetPoint(2)});
  EXPECT_EQ(mode(), 10);

  // The new waypoint is now the selection: the tool needs the route again.
  select({route_});
  hover(routePoint(5));
  click(routePoint(5));
  ASSERT_EQ(gpx_->Waypoints.Count(), 4);
  EXPECT_EQ(gpx_->Waypoints.GetPoint(3)->data().name, "Bridge");
  EXPECT_EQ(mode(), 1);
}

TEST_F(PreviewTools, DeletePointToolReleasedTwiceInOnePlaceRemovesOnePoint) {
  select({route_});
  action("tbDeleteTrackPoint")->trigger();
  hover(routePoint(3));
  const TPoint4D2* gone = route_->GetPoint(3);
  click(routePoint(3), Qt::AltModifier);
  EXPECT_EQ(route_->Count(), 7);
  EXPECT_EQ(route_->IndexOf(gone), -1);
  click(routePoint(3), Qt::AltModifier);
  EXPECT_EQ(route_->Count(), 7);
  EXPECT_EQ(mode(), 11);
  form_->UndoList.clear();
}

TEST_F(PreviewTools, BoxToolsDeleteOrKeepThePointsOfTheBox) {
  struct Case {
    const char* item;
    bool selectA1;
    int route, a1, b1, waypoints;
  } cases[] = {
      {"Deleteinsquare1", false, 5, 5, 8, 2},
      {"Deleteinsquareonlyseleted1", true, 8, 5, 8, 2},
      {"Trim1", false, 3, 3, 0, 0},
      {"TrimonlySelected1", true, 8, 3, 8, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    TearDown();
    SetUp();
    if (c.selectA1) select({a1_});
    action(c.item)->trigger();
    // A box around the second to fourth points of the route and of the first segment.
    const QPoint from = (routePoint(1) + routePoint(2)) / 2 + QPoint(0, 10);
    const QPoint to = (at(*a1_->GetPoint(4)) + at(*a1_->GetPoint(5))) / 2 - QPoint(0, 10);
    drag(from, to);
    EXPECT_EQ(gpx_->Routes.Count() ? route_->Count() : 0, c.route);
    const bool a1Left = gpx_->Tracks.Count() && gpx_->Tracks.At(0) == a_;
    EXPECT_EQ(a1Left ? a1_->Count() : 0, c.a1);
    EXPECT_EQ(gpx_->Tracks.FindTrackOfSegment(b1_) ? b1_->Count() : 0, c.b1);
    EXPECT_EQ(gpx_->Waypoints.Count(), c.waypoints);
    EXPECT_EQ(gpx_->Selection.Count(), 0);
    EXPECT_EQ(mode(), 1);
  }
}

TEST_F(PreviewTools, ZoomBoxAndPan) {
  const TBBox before = form_->PreviewDraw->ViewBox;
  action("tbZoomSelect")->trigger();
  click(routePoint(2));  // a box of no size
  EXPECT_EQ(form_->PreviewDraw->ViewBox.MinLon, before.MinLon);
  EXPECT_EQ(form_->PreviewDraw->ViewBox.Scale, before.Scale);
  EXPECT_EQ(mode(), 1);
  EXPECT_FALSE(action("tbZoomSelect")->isChecked());

  action("tbZoomSelect")->trigger();
  drag(routePoint(1) + QPoint(0, 30), routePoint(3) - QPoint(0, 30));
  EXPECT_GT(form_->PreviewDraw->ViewBox.Scale, before.Scale * 2);

  const double minLon = form_->PreviewDraw->ViewBox.MinLon;
  drag(QPoint(300, 200), QPoint(250, 200));  // panning: the map follows the mouse
  EXPECT_GT(form_->PreviewDraw->ViewBox.MinLon, minLon);
  mouse(QEvent::MouseButtonDblClick, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(form_->PreviewDraw->ViewBox.Scale, before.Scale);  // all in sight again
}

TEST_F(PreviewTools, RightClickSelectsAndEndsTheToolAsAPick) {
  action("tbCutTrack")->trigger();
  click(at(*home_), Qt::NoModifier, Qt::RightButton);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{home_});
  EXPECT_EQ(mode(), 1);
  EXPECT_TRUE(action("tbCutTrack")->isChecked());  // the button is left as it was
  EXPECT_TRUE(form_->UndoList.empty() && !form_->GPXModified);

  form_->PreviewDraw->Options.RightClickSelects = 0;
  select({});
  action("tbCutTrack")->trigger();  // up again
  click(at(*home_), Qt::NoModifier, Qt::RightButton);
  EXPECT_EQ(gpx_->Selection.Count(), 0);
  EXPECT_EQ(mode(), 1);
}

TEST_F(PreviewTools, BoxCutOfTheShownRouteLeavesNothingPointingIntoIt) {
  const QPoint p0 = routePoint(0), p3 = routePoint(3), p7 = routePoint(7);
  select({route_});
  action("tbCutSelectedTrack")->trigger();
  hover(p3);
  ASSERT_EQ(form_->PreviewDraw->CurrentPoint, route_->GetPoint(3));
  form_->PreviewDraw->CurrentList = route_;
  action("Deleteinsquare1")->trigger();
  drag(p0 + QPoint(-10, 10), p7 + QPoint(10, -10));
  EXPECT_EQ(gpx_->Routes.Count(), 0);
  EXPECT_EQ(form_->PreviewDraw->CurrentPoint, nullptr);
  EXPECT_EQ(form_->PreviewDraw->CurrentList, nullptr);
  // Hovering with the point tools draws the current point: there must be none left.
  action("tbDeleteTrackPoint")->trigger();
  hover(p3);
  click(p3);
  EXPECT_EQ(form_->PreviewDraw->CurrentPoint, nullptr);
}

TEST_F(PreviewTools, WheelZoomsThePaneTheMouseWasLastOver) {
  auto wheel = [this](QWidget* over, int delta) {
    const QPoint pos(over->width() / 2, over->height() / 2);
    QWheelEvent e(QPointF(pos), QPointF(over->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &e);
  };
  const double scale = form_->PreviewDraw->ViewBox.Scale;
  hover(QPoint(100, 100));
  EXPECT_EQ(form_->ActivePane, 1);
  wheel(image_, 120);
  const double zoomed = form_->PreviewDraw->ViewBox.Scale;
  EXPECT_GT(zoomed, scale);
  wheel(image_, -120);
  EXPECT_LT(form_->PreviewDraw->ViewBox.Scale, zoomed);

  // Over the tree the wheel scrolls the tree.
  auto* tree = form_->findChild<QTreeWidget*>("tvItems");
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(tree, &enter);
  EXPECT_EQ(form_->ActivePane, 0);
  const double now = form_->PreviewDraw->ViewBox.Scale;
  wheel(tree->viewport(), 120);
  EXPECT_EQ(form_->PreviewDraw->ViewBox.Scale, now);
}

TEST_F(PreviewTools, KeysClickTheirButtonsOnlyWhenTheButtonMayBeClicked) {
  form_->activateWindow();
  QApplication::setActiveWindow(form_.get());
  auto* tree = form_->findChild<QTreeWidget*>("tvItems");
  tree->setFocus();
  select({});
  QTest::keyClick(tree, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(mode(), 1);  // nothing to bind
  select({route_});
  QTest::keyClick(tree, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(mode(), 9);
  EXPECT_TRUE(action("tbBindTrack")->isChecked());
  QTest::keyClick(tree, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(mode(), 8);
  QTest::keyClick(tree, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(mode(), 14);
  EXPECT_FALSE(action("tbCutSelectedTrack")->isChecked());
  EXPECT_EQ(logLines(), std::vector<std::string>{"Keep inside box (Ctrl+Alt+Y)"});

  QTest::keyClick(tree, Qt::Key_Delete);
  EXPECT_EQ(questions_, std::vector<std::string>{"Are you sure that you want to delete the selected route \"R\" ?"});
  EXPECT_EQ(gpx_->Routes.Count(), 0);

  // Del in a label being edited edits the label.
  questions_.clear();
  select({home_});
  auto* node = new QTreeWidgetItem(tree->topLevelItem(0), QStringList{"Home"});
  node->setFlags(node->flags() | Qt::ItemIsEditable);
  tree->editItem(node);
  QApplication::processEvents();
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(editor, nullptr);
  ASSERT_NE(editor, tree);
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(gpx_->Waypoints.Count(), 2);
}
