// The track editing dialog: trimming with both limits, filter availability, the count text,
// the dialog driven as a user does from Edit track points, and the hidden edition page.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include "EditFixture.h"
#include "ui/dialogs/TrackEdit.h"

namespace {

// Ten points whose latitude is their index.
void tenPoints(TGPXtrkseg& s) {
  for (int i = 0; i < 10; ++i) {
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = i;
    s.AddPoint(std::move(p));
  }
}

}  // namespace

TEST(TrackEditTrim, BothLimitsActOnTheChosenPoints) {
  struct Case {
    int before, after, first, count;
  } cases[] = {{0, 10, 0, 10}, {1, 10, 2, 8}, {0, 9, 0, 9}, {0, 1, 0, 1}, {2, 10, 3, 7},
               {0, 7, 0, 7},   {2, 7, 3, 4},  {5, 3, 0, 0}, {8, 10, 9, 1}};
  for (const Case& c : cases) {
    TGPXtrkseg s;
    tenPoints(s);
    TrimPoints(s, c.before, c.after);
    ASSERT_EQ(s.Count(), c.count) << c.before << " " << c.after;
    if (c.count) EXPECT_EQ(s.First()->Lat, c.first) << c.before << " " << c.after;
  }
}

// Translations are longer than the English captions: the pages widen rather than cut them.
TEST(TrackEditTrim, LongerCaptionsAreShownWhole) {
  TTrackEditForm d;
  const auto buttons = d.findChild<QTabWidget*>("pcFilter")->findChildren<QAbstractButton*>();
  for (QAbstractButton* b : buttons) b->setText(b->text() + " (nicht verfügbar)");
  d.show();
  QApplication::processEvents();
  for (QAbstractButton* b : buttons)
    if (b->isVisible()) EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
}

TEST(TrackEditTrim, AvailabilityAndCountText) {
  struct Case {
    const char* name;
    std::function<void(TGPXwpt&)> set;  // applied to the second point
    bool fix, sat, hdop, times;
  } cases[] = {
      {"plain points with times", [](TGPXwpt&) {}, false, false, false, true},
      {"one point without time", [](TGPXwpt& p) { p.Time = 0; }, false, false, false, false},
      {"a fix", [](TGPXwpt& p) { p.edit().fix = "3d"; }, true, false, false, true},
      {"a satellite count of 0", [](TGPXwpt& p) { p.edit().sat = 0; }, false, true, false, true},
      {"an HDOP of 0", [](TGPXwpt& p) { p.edit().hdop = 0; }, false, false, true, true},
  };
  for (const Case& c : cases) {
    TGPXtrkseg s;
    tenPoints(s);
    for (int i = 0; i < s.Count(); ++i) s.GetPoint(i)->Time = 45000 + i;
    c.set(*s.GetPoint(1));
    const TFilterAvailability a = ScanFilterAvailability(s);
    EXPECT_EQ(std::vector<bool>({a.Fix, a.Sat, a.HDOP, a.Times}), std::vector<bool>({c.fix, c.sat, c.hdop, c.times}))
        << c.name;
  }
  EXPECT_TRUE(ScanFilterAvailability(TGPXtrkseg()).Times);
  EXPECT_EQ(PointCountText(120, 45), "120 points filtered to 45 points.");
}

class TrackEdit : public EditFixture {
protected:
  // A track of one ten-point segment, selected; the dialog is driven by `drive`, whose
  // answer ends it.
  TGPXtrkseg* openSegment() {
    segment_ = addSegment(addTrack("T"), 45, 10);
    // A slant: the previews need some extent both ways.
    for (int i = 0; i < 10; ++i) {
      segment_->GetPoint(i)->Lat += 0.005 * i;
      segment_->GetPoint(i)->Time = 45000 + i / 1440.0;
    }
    load();
    select({segment_});
    form_->ShowDialog = [this](QDialog* d) {
      dialog_ = static_cast<TTrackEditForm*>(d);
      d->show();
      QApplication::processEvents();
      const int answer = drive();
      d->hide();
      return answer;
    };
    return segment_;
  }
  template <class T>
  T* child(const char* name) {
    auto* w = dialog_->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  std::string countText() { return child<QLabel>("lblPointCount")->text().toStdString(); }
  void page(int index) { child<QTabWidget>("pcFilter")->setCurrentIndex(index); }
  // A pick on the result preview: Select, a move over point `index`, the release there.
  void pick(const char* button, int index) {
    child<QPushButton>(button)->click();
    auto* image = child<TImageView>("DstImage");
    const TPoint4D2& p = *dialog_->SourceSegment->GetPoint(index);
    const QPoint at(dialog_->ResultDraw->PointToX(p), dialog_->ResultDraw->PointToY(p));
    for (auto [type, button] : {std::pair{QEvent::MouseMove, Qt::NoButton}, {QEvent::MouseButtonRelease, Qt::LeftButton}}) {
      QMouseEvent e(type, QPointF(at), QPointF(image->mapToGlobal(at)), button, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(image, &e);
    }
  }

  std::function<int()> drive = [] { return 2; };
  TTrackEditForm* dialog_ = nullptr;
  TGPXtrkseg* segment_ = nullptr;
};

TEST_F(TrackEdit, PicksTrimBothEndsAndOkIsOneUndoStep) {
  openSegment();
  drive = [this] {
    EXPECT_EQ(countText(), "10 points filtered to 10 points.");
    page(1);
    EXPECT_EQ(child<QSlider>("tbBefore")->maximum(), 8);
    EXPECT_EQ(child<QSlider>("tbAfter")->value(), 10);
    pick("btnSelectBefore", 3);
    EXPECT_EQ(child<QSlider>("tbBefore")->value(), 2);
    EXPECT_TRUE(child<QPushButton>("btnSelectBefore")->isEnabled());
    pick("btnSelectAfter", 6);
    EXPECT_EQ(child<QSlider>("tbAfter")->value(), 7);
    EXPECT_EQ(countText(), "10 points filtered to 4 points.");
    EXPECT_EQ(dialog_->ResultSegment->First()->Lon, segment_->GetPoint(3)->Lon);
    EXPECT_FALSE(child<QLabel>("lblBefore")->text().isEmpty());
    // Picking the second point keeps the first one.
    pick("btnSelectBefore", 1);
    EXPECT_EQ(child<QSlider>("tbBefore")->value(), 0);
    EXPECT_EQ(countText(), "10 points filtered to 7 points.");
    pick("btnSelectBefore", 0);  // the position stays: the trim runs all the same
    EXPECT_EQ(dialog_->ResultSegment->Count(), 7);
    return 1;
  };
  form_->findChild<QTabWidget*>("PageControl1")->setCurrentWidget(form_->findChild<QWidget*>("TabSheet2"));
  form_->Edittrackpoints1Click();
  EXPECT_EQ(form_->findChild<QTableView*>("sgPointList")->model()->rowCount(), 7);  // the successor
  ASSERT_EQ(form_->UndoList.size(), 1u);
  EXPECT_TRUE(form_->GPXModified);
  TGPXtrkseg* now = gpx_->Tracks.At(0)->At(0);
  EXPECT_EQ(now->Count(), 7);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{now});
  EXPECT_EQ(form_->findChild<QLabel*>("StatusPanel1")->text(), "7 points");
  EXPECT_EQ(form_->UndoList[0]->Tracks.At(0)->At(0)->Count(), 10);
}

TEST_F(TrackEdit, SlidersFilterLiveAndCancelLeavesTheDocument) {
  openSegment();
  segment_->GetPoint(4)->Lat += 0.05;  // one corner for the reductions to keep
  segment_->GetPoint(2)->edit().sat = 3;
  drive = [this] {
    // Precision: only the satellite filter is offered, and Apply with it.
    page(0);
    EXPECT_FALSE(child<QCheckBox>("cbFix")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>("cbSat")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("btnApply")->isEnabled());
    child<QCheckBox>("cbSat")->setChecked(true);
    child<QSpinBox>("udSat")->setValue(4);
    EXPECT_EQ(countText(), "10 points filtered to 9 points.");
    child<QPushButton>("btnApply")->click();
    EXPECT_EQ(dialog_->SourceSegment->Count(), 9);
    // Douglas-Peucker: the result follows the sliders, Apply stays off.
    page(2);
    child<QSlider>("tbThreshold")->setValue(2);
    EXPECT_EQ(countText(), "9 points filtered to 2 points.");
    EXPECT_EQ(child<QLabel>("lblValue")->text(), "2");
    child<QSlider>("tbMultiplier")->setValue(10000);
    EXPECT_EQ(countText(), "9 points filtered to 5 points.");
    EXPECT_FALSE(child<QPushButton>("btnApply")->isEnabled());
    // Angles: the trackbar and the up-down stay equal.
    page(4);
    child<QSpinBox>("udAngleLess")->setValue(170);
    EXPECT_EQ(child<QSlider>("tbAngleLess")->value(), 170);
    EXPECT_TRUE(child<QPushButton>("btnApply")->isEnabled());
    // The wheel zooms the result preview; a sideways turn does nothing.
    EXPECT_FALSE(dialog_->DstImageMouseWheel(0, {10, 10}));
    dialog_->MouseOverResult = 1;
    EXPECT_TRUE(dialog_->DstImageMouseWheel(120, {10, 10}));
    return 2;
  };
  form_->Edittrackpoints1Click();
  EXPECT_TRUE(form_->UndoList.empty());
  EXPECT_FALSE(form_->GPXModified);
  EXPECT_EQ(gpx_->Tracks.At(0)->At(0), segment_);
  EXPECT_EQ(segment_->Count(), 10);
  EXPECT_EQ(dialog_->SourceSegment, nullptr);
}

TEST_F(TrackEdit, NeedsOneSegmentAndTheButtonsFollowTheSelection) {
  TGPXwpt* w = addPoint(gpx_->Waypoints, 45, 5);
  openSegment();
  int shown = 0;
  form_->ShowDialog = [&](QDialog*) { return ++shown, 2; };
  EXPECT_TRUE(action("Edittrackpoints1")->isEnabled());
  EXPECT_TRUE(action("tbFilter")->isEnabled());
  select({w});
  EXPECT_FALSE(action("tbFilter")->isEnabled());
  form_->tbFilterClick();
  EXPECT_EQ(logLines(), std::vector<std::string>{"No track segment selected"});
  select({});
  form_->Edittrackpoints1Click();
  EXPECT_EQ(logLines().size(), 1u);
  EXPECT_EQ(shown, 0);
}

TEST_F(TrackEdit, EditionPageRangesValuesAndApply) {
  TGPXrte* r = addRoute("R", 45, 102);
  for (int i = 0; i < r->Count(); ++i) r->GetPoint(i)->Lat += 0.001 * i;
  load();
  select({r});
  form_->PreviewDraw->CurrentList = r;
  auto* pages = form_->findChild<QTabWidget*>("PageControl1");
  auto* tab = form_->findChild<QWidget*>("TabSheet3");
  EXPECT_FALSE(pages->isTabVisible(pages->indexOf(tab)));
  pages->setCurrentWidget(tab);
  auto* combo = form_->findChild<QComboBox*>("cbEdition");
  auto* bar = form_->findChild<QSlider*>("tbEdition");
  auto* ud = form_->findChild<QSpinBox*>("udEdition");
  struct Case {
    int index, barMin, barPos, min, max, pos, p, value;
  } cases[] = {{0, 0, 0, 0, 100, 0, 50, 50},          {1, 1, 100, 2, 101, 101, 50, 50},
               {3, 2, 2, 2, 100, 2, 7, 7},            {4, 0, 0, 0, 30000, 0, 3, 900},
               {5, 0, 0, 0, 180, 0, 33, 59},          {8, 1, 100, 1, 1000, 1000, 7, 70},
               {9, 1, 5, 1, 60, 5, 9, 9},             {9, 1, 5, 1, 60, 5, 80, 5}};  // 80: refused
  for (const Case& c : cases) {
    if (combo->currentIndex() == c.index) combo->setCurrentIndex(0);  // chosen anew
    combo->setCurrentIndex(c.index);
    EXPECT_EQ(std::vector<int>({bar->minimum(), bar->value(), ud->minimum(), ud->maximum(), ud->value()}),
              std::vector<int>({c.barMin, c.barPos, c.min, c.max, c.pos}))
        << c.index;
    bar->setValue(c.p);
    EXPECT_EQ(ud->value(), c.value) << c.index;
  }
  combo->setCurrentIndex(0);
  bar->setValue(50);
  auto* panel = form_->findChild<QLabel*>("StatusPanel2");
  EXPECT_EQ(panel->text(), "From 102 to 52 points");
  // The wheel over an edition preview zooms it.
  form_->ActivePane = 4;
  const double before = form_->TREDstDraw->ViewBox.Scale;
  EXPECT_TRUE(form_->FormMouseWheel(120, form_->findChild<QWidget*>("TREDstImage")->mapToGlobal(QPoint(5, 5))));
  EXPECT_GT(form_->TREDstDraw->ViewBox.Scale, before);
  form_->findChild<QPushButton*>("bApplyEDT")->click();
  EXPECT_EQ(form_->UndoList.size(), 1u);
  EXPECT_TRUE(form_->GPXModified);
  ASSERT_EQ(gpx_->Routes.Count(), 1);
  EXPECT_EQ(gpx_->Routes.At(0)->Count(), 52);
  EXPECT_EQ(gpx_->Routes.At(0)->name, "R");
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{gpx_->Routes.At(0)});
}
