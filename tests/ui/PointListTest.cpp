// The point list page: the cell texts, collapsed columns, which selections enable the page,
// a row's click, and a grid that never outlives its list.
#include <QDialog>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "EditFixture.h"
#include "base/DateTime.h"

namespace {

class PointList : public EditFixture {
protected:
  QTableView* grid() const { return form_->findChild<QTableView*>("sgPointList"); }
  QWidget* page() const { return form_->findChild<QWidget*>("TabSheet2"); }
  void showPage() { form_->findChild<QTabWidget*>("PageControl1")->setCurrentWidget(page()); }
  std::string cell(int row, int column) const {
    return grid()->model()->index(row, column).data().toString().toStdString();
  }
  std::string header(int column) const {
    return grid()->model()->headerData(column, Qt::Horizontal).toString().toStdString();
  }
  // The columns wider than 0, as a string of 0 and 1.
  std::string shown() const {
    std::string s;
    for (int c = 0; c < grid()->model()->columnCount(); ++c) s += grid()->columnWidth(c) > 0 ? '1' : '0';
    return s;
  }
};

}  // namespace

TEST_F(PointList, EveryFieldHasItsColumn) {
  TGPXtrkseg* s = addSegment(addTrack("T"), 45, 1);
  TGPXwpt* p = addPoint(*s, -45.5, -5.25, 123.45, encodeDateTime(2024, 5, 1, 10, 20, 30));
  TGPXwptData& d = p->edit();
  d.magvar = 1.25, d.geoidheight = 48.04, d.sat = 7, d.hdop = 1.05, d.vdop = 2, d.pdop = -2.25;
  d.ageofdgpsdata = 3.5, d.dgpsid = 12;
  d.name = "P1", d.cmt = "c", d.desc = "d", d.src = "s", d.link.href = "http://x/", d.sym = "Flag";
  d.type = "T", d.fix = "3d", d.extensions = "<x:e>v</x:e>";
  load();
  select({s});
  showPage();
  ASSERT_EQ(grid()->model()->columnCount(), 22);
  ASSERT_EQ(grid()->model()->rowCount(), 2);
  const std::pair<const char*, const char*> expected[] = {
      {"#", "2"}, {"Latitude", "45.500000\xC2\xB0 S"}, {"Longitude", "5.250000\xC2\xB0 W"},
      {"Altitude", "123.5 m"}, {"Time", "2024-05-01 10:20:30"}, {"magvar", "1.3"}, {"geoidheight", "48.0"},
      {"name", "P1"}, {"cmt", "c"}, {"desc", "d"}, {"src", "s"}, {"link", "http://x/"}, {"sym", "Flag"},
      {"wtype", "T"}, {"fix", "3d"}, {"sat", "7"}, {"hdop", "1.1"}, {"vdop", "2.0"}, {"pdop", "-2.3"},
      {"ageofdgpsdata", "3.5"}, {"dgpsid", "12"}, {"extensions", "<x:e>v</x:e>"}};
  for (int c = 0; c < 22; ++c) {
    EXPECT_EQ(header(c), expected[c].first) << c;
    EXPECT_EQ(cell(1, c), expected[c].second) << c;
  }
  // The first point has a position only: its other cells stay empty.
  EXPECT_EQ(cell(0, 3), "");
  EXPECT_EQ(cell(0, 15), "");
  EXPECT_EQ(shown(), std::string(22, '1'));
  // A filled column is as wide as its widest text plus 4 pixels.
  const QFontMetrics fm(grid()->font());
  int widest = 0;
  for (const std::string& text : {header(1), cell(0, 1), cell(1, 1)})
    widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(text)));
  EXPECT_EQ(grid()->columnWidth(1), widest + 4);
  EXPECT_EQ(grid()->rowHeight(0), fm.height() + 4);
}

TEST_F(PointList, ColumnsNoPointFillsCollapse) {
  TGPXtrk* t = addTrack("T");
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> eleTime;
    const char* shown;
  } cases[] = {
      {"positions and times", {{0, 45000.5}, {0, 45000.6}}, "1110100000000000000000"},
      {"one elevation", {{0, 0}, {12, 0}}, "1111000000000000000000"},
      {"positions only", {{0, 0}}, "1110000000000000000000"},
      {"no point", {}, "1000000000000000000000"},
  };
  for (const Case& c : cases) {
    TGPXtrkseg* s = t->Add(std::make_unique<TGPXtrkseg>());
    for (auto [ele, time] : c.eleTime) addPoint(*s, 45, 5, ele, time);
    form_->FillPointList(s, grid());
    EXPECT_EQ(shown(), c.shown) << c.name;
  }
}

TEST_F(PointList, OneSuitableItemEnablesThePage) {
  TGPXwpt* w = addPoint(gpx_->Waypoints, 46, 6, 0, 0, "W");
  addPoint(gpx_->Waypoints, 46.1, 6);
  gpx_->Waypoints.Present = true;
  TGPXrte* r = addRoute("R", 45, 3);
  TGPXtrk* one = addTrack("one");
  TGPXtrkseg* s = addSegment(one, 45.1, 4);
  TGPXtrk* two = addTrack("two");
  addSegment(two, 45.2, 5);
  addSegment(two, 45.3, 6);
  load();
  showPage();
  struct Case {
    const char* name;
    std::vector<TItem*> selection;
    bool enabled;
    TGPXwptList* list;  // the list shown afterwards
  } cases[] = {
      {"a route", {r}, true, r},
      {"nothing", {}, false, r},
      {"a track of one segment", {one}, true, s},
      {"a track of two segments", {two}, false, s},
      {"a waypoint", {w}, true, &gpx_->Waypoints},
      {"the metadata keeps the grid", {&gpx_->Metadata}, true, &gpx_->Waypoints},
      {"two items", {r, s}, false, &gpx_->Waypoints},
      {"a track point keeps its segment", {s->GetPoint(2)}, true, s},
  };
  for (const Case& c : cases) {
    gpx_->Selection.Items = c.selection;
    form_->TabSheet2Show();
    EXPECT_EQ(page()->isEnabled(), c.enabled) << c.name;
    EXPECT_EQ(form_->PointGridList, c.list) << c.name;
    EXPECT_EQ(grid()->model()->rowCount(), c.list->Count()) << c.name;
  }
  // A node chosen in the tree while the page shows fills it.
  for (QTreeWidgetItemIterator it(form_->findChild<QTreeWidget*>("tvItems")); *it; ++it)
    if ((*it)->text(0) == "R") form_->findChild<QTreeWidget*>("tvItems")->setCurrentItem(*it);
  EXPECT_EQ(form_->PointGridList, r);
}

TEST_F(PointList, ARowClickSelectsItsPoint) {
  TGPXtrkseg* s = addSegment(addTrack("T"), 45, 4);
  load();
  select({s});
  showPage();
  const QRect cellRect = grid()->visualRect(grid()->model()->index(2, 1));
  QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellRect.center());
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{s->GetPoint(2)});
  // A row reached with the keyboard is the point Delete takes.
  TGPXwpt* kept = s->GetPoint(2);
  QTest::keyClick(grid(), Qt::Key_Up);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{s->GetPoint(1)});
  // Delete takes the point away; the page shows its list again.
  action("tbDelete")->trigger();
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{s});
  EXPECT_EQ(grid()->model()->rowCount(), 3);
  EXPECT_EQ(s->GetPoint(1), kept);
}

TEST_F(PointList, TheGridGoesWithItsList) {
  struct Case {
    const char* name;
    std::function<void(TMainForm&)> change;
  } cases[] = {
      {"Close", [](TMainForm& f) { f.ActionCloseCurrentGPXExecute(); }},
      {"Undo", [](TMainForm& f) { f.SaveUndoState(), f.UndoLast(); }},
      {"Delete", [](TMainForm& f) { f.tbDeleteClick(); }},
  };
  for (const Case& c : cases) {
    gpx_ = form_->CurrentGPX.get();
    gpx_->Selection.Clear();
    TGPXtrkseg* s = addSegment(addTrack("T"), 45, 4);
    load();
    form_->GPXModified = false;
    select({s});
    form_->TabSheet2Show();
    ASSERT_EQ(form_->PointGridList, s) << c.name;
    c.change(*form_);
    EXPECT_EQ(form_->PointGridList, nullptr) << c.name;
    EXPECT_EQ(grid()->model()->rowCount(), 0) << c.name;
  }
}

TEST_F(PointList, ADoubleClickEditsThePointInItsList) {
  TGPXtrkseg* s = addSegment(addTrack("T"), 45, 4);
  load();
  select({s});
  showPage();
  for (const int result : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
    form_->ShowDialog = [result](QDialog*) { return result; };
    TGPXwpt* before = s->GetPoint(1);
    const QPoint at = grid()->visualRect(grid()->model()->index(1, 2)).center();
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
    const bool ok = result == QDialog::Accepted;
    // On OK a copy took the point's place and the list is selected and shown again.
    EXPECT_EQ(s->GetPoint(1) != before, ok);
    EXPECT_EQ(form_->UndoList.size(), ok ? 1u : 0u);
    EXPECT_EQ(gpx_->Selection.Items, ok ? std::vector<TItem*>{s} : std::vector<TItem*>{before});
    EXPECT_EQ(form_->PointGridList, s);
    EXPECT_EQ(grid()->model()->rowCount(), 4);
  }
}

TEST_F(PointList, EditingCommandsFollowThePage) {
  TGPXtrkseg* s = addSegment(addTrack("T"), 45, 4);
  load();
  select({s});
  auto* pages = form_->findChild<QTabWidget*>("PageControl1");
  for (auto [name, editing] : {std::pair{"TabSheet2", true}, {"TabSheet3", false}, {"TabSheet1", true}}) {
    pages->setCurrentWidget(form_->findChild<QWidget*>(name));
    EXPECT_EQ(action("tbDelete")->isEnabled(), editing) << name;
  }
}

TEST_F(PointList, TheGraphsPointIsTheHighlightedRow) {
  TGPXtrkseg* s = addSegment(addTrack("T"), 45, 0);
  for (int i = 0; i < 4; ++i) addPoint(*s, 45 + 0.01 * i, 5, 10.0 * (i + 1));
  load();
  select({s});
  form_->PreviewDraw->CurrentList = s;
  form_->UpdateStatGraph();
  showPage();
  auto* image = form_->findChild<QWidget*>("GPXStatImage");
  const QPoint at(form_->GPXStat->Points.GetItem(2)->X, 10);
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(image->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(image, &move);
  ASSERT_EQ(grid()->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(grid()->selectionModel()->selectedRows().first().row(), 2);
}
