// The track editing dialog's pages, previews and filters.
#include "ui/dialogs/TrackEdit.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/PointListEdit.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/ProgramIcons.h"
#include "ui/QtText.h"

namespace {

const TGPXwpt& wpt(const std::unique_ptr<TPoint4D2>& p) { return static_cast<const TGPXwpt&>(*p); }

// Frees the points the predicate picks in one pass: a million-point segment stays fast.
template <class Pred>
void removePoints(TPointList2& list, Pred pick) {
  auto& v = list.Items();
  v.erase(std::remove_if(v.begin(), v.end(), [&](const std::unique_ptr<TPoint4D2>& p) { return pick(wpt(p)); }),
          v.end());
}

constexpr uint32_t kGrey = 0x808080;
constexpr int kThresholdLimit = 100000;

QSlider* slider(QWidget* parent, const char* name, int min, int max, int pos, int tick) {
  auto* s = new QSlider(Qt::Horizontal, parent);
  s->setObjectName(name);
  s->setRange(min, max);
  s->setValue(pos);
  s->setTickPosition(tick > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
  s->setTickInterval(tick);
  return s;
}

// An up-down with its edit, named as the pair.
QSpinBox* upDown(QWidget* parent, const char* name, const char* editName, int min, int max, int pos) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->findChild<QLineEdit*>()->setObjectName(editName);
  s->setRange(min, max);
  s->setValue(pos);
  return s;
}

QGroupBox* radioGroup(QWidget* parent, const char* name, const std::string& caption,
                      std::initializer_list<std::string> items, QButtonGroup*& group) {
  auto* box = new QGroupBox(qs(caption), parent);
  box->setObjectName(name);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  int id = 0;
  for (const std::string& text : items) {
    auto* b = new QRadioButton(qs(text), box);
    layout->addWidget(b);
    group->addButton(b, id++);
  }
  group->button(0)->setChecked(true);
  return box;
}

// A filter page with its heading in bold; its controls go into the layout returned.
QVBoxLayout* newPage(QWidget*& page, const char* name, const std::string& heading) {
  page = new QWidget;
  page->setObjectName(name);
  auto* layout = new QVBoxLayout(page);
  auto* label = new QLabel(qs(heading), page);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  layout->addWidget(label);
  return layout;
}

}  // namespace

TFilterAvailability ScanFilterAvailability(const TPointList2& points) {
  TFilterAvailability a;
  for (const auto& p : points.Items()) {
    const TGPXwptData& d = wpt(p).data();
    a.Fix = a.Fix || !d.fix.empty();
    a.Sat = a.Sat || d.sat < 255;
    a.HDOP = a.HDOP || d.hdop != -1.0;
    a.Times = a.Times && p->Time != 0;
  }
  return a;
}

void TrimPoints(TPointList2& list, int before, int after) {
  auto& v = list.Items();
  if (after >= 0 && after < list.Count()) v.erase(v.begin() + after, v.end());
  if (before > 0) v.erase(v.begin(), v.begin() + std::min(before + 1, list.Count()));
}

std::string PointCountText(int source, int result) {
  return formatInt(source) + " " + _("points filtered to") + " " + formatInt(result) + " " + _("points") + ".";
}

TTrackEditForm::TTrackEditForm(QWidget* parent) : QDialog(parent) {
  // FormCreate: two views, each over a document of one empty track.
  for (auto* doc : {&sourceDoc_, &resultDoc_}) {
    *doc = std::make_unique<TGPX>();
    (*doc)->Tracks.Add(std::make_unique<TGPXtrk>());
  }
  SourceDraw = std::make_unique<TGPXDraw>();
  ResultDraw = std::make_unique<TGPXDraw>();
  SourceDraw->SetGPX(sourceDoc_.get());
  ResultDraw->SetGPX(resultDoc_.get());
  BuildWidgets();
  pcFilter->setCurrentIndex(0);
  MouseOverResult = 0;
}

TTrackEditForm::~TTrackEditForm() = default;

void TTrackEditForm::BuildWidgets() {
  setObjectName("TrackEditForm");
  setWindowTitle(qs(_("Track edition")));
  resize(960, 580);
  auto* outer = new QVBoxLayout(this);
  auto* top = new QHBoxLayout();
  outer->addLayout(top, 1);

  auto* left = new QVBoxLayout();
  top->addLayout(left, 0);
  pcFilter = new QTabWidget(this);
  pcFilter->setObjectName("pcFilter");
  // At least as wide as the source preview, wider where a translation needs it.
  pcFilter->setMinimumWidth(400);
  // The tabs carry only an image; the hint names the page.
  const std::pair<QWidget*, std::pair<const char*, std::string>> pages[] = {
      {BuildPrecisionPage(), {"filterprecision.svg", _("Filter by precision data")}},
      {BuildEndingPage(), {"filterends.svg", _("Remove ending points")}},
      {BuildReductionPage(), {"filterreduce.svg", _("Point reduction")}},
      {BuildScatterPage(), {"filterscatter.svg", _("Scatter detection")}},
      {BuildAnglePage(), {"filterangle.svg", _("Remove points based on angles")}}};
  for (const auto& [page, tab] : pages) {
    const int i = pcFilter->addTab(page, programIcon(tab.first), QString());
    pcFilter->setTabToolTip(i, qs(tab.second));
  }
  left->addWidget(pcFilter, 1);
  SrcImage = new TImageView(this);
  SrcImage->setObjectName("SrcImage");
  SrcImage->setFixedSize(400, 200);
  left->addWidget(SrcImage);

  DstPanel = new QWidget(this);
  DstPanel->setObjectName("DstPanel");
  DstPanel->installEventFilter(this);
  auto* dst = new QVBoxLayout(DstPanel);
  dst->setContentsMargins(0, 0, 0, 0);
  DstImage = new TImageView(DstPanel);
  DstImage->setObjectName("DstImage");
  DstImage->setMouseTracking(true);
  DstImage->installEventFilter(this);
  dst->addWidget(DstImage);
  top->addWidget(DstPanel, 1);
  DstImage->OnResize = [this] {
    if (!ResultSegment) return;
    ResultDraw->SetSize(DstImage->width(), DstImage->height());
    DrawResult();
  };
  auto at = [](QMouseEvent* e) { return e->position().toPoint(); };
  DstImage->OnMouseDown = [this, at](QMouseEvent* e) {
    RunGuarded(this, [&] { DstImageMouseDown(e->button(), at(e).x(), at(e).y()); });
  };
  DstImage->OnMouseMove = [this, at](QMouseEvent* e) {
    RunGuarded(this, [&] { DstImageMouseMove(e->buttons(), at(e).x(), at(e).y()); });
  };
  DstImage->OnMouseUp = [this, at](QMouseEvent* e) {
    RunGuarded(this, [&] { DstImageMouseUp(e->button(), at(e).x(), at(e).y()); });
  };
  DstImage->OnDblClick = [this](QMouseEvent*) { RunGuarded(this, [this] { DstImageDblClick(); }); };

  auto* bottom = new QHBoxLayout();
  outer->addLayout(bottom);
  lblPointCount = new QLabel("From X to Y points", this);
  lblPointCount->setObjectName("lblPointCount");
  bottom->addWidget(lblPointCount, 1);
  btnApply = new QPushButton(qs(_("Apply")), this);
  btnApply->setObjectName("btnApply");
  Button1 = new QPushButton(qs(_("OK")), this);
  Button1->setObjectName("Button1");
  Button2 = new QPushButton(qs(_("Cancel")), this);
  Button2->setObjectName("Button2");
  for (QPushButton* b : {btnApply, Button1, Button2}) {
    b->setAutoDefault(false);
    bottom->addWidget(b);
  }
  connect(btnApply, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btnApplyClick(); }); });
  connect(Button1, &QPushButton::clicked, this, [this] { done(1); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
  connect(pcFilter, &QTabWidget::currentChanged, this, [this] { RunGuarded(this, [this] { PageChanged(); }); });
}

QWidget* TTrackEditForm::BuildPrecisionPage() {
  QVBoxLayout* l = newPage(TabSheet1, "TabSheet1", _("Filter by precision data"));
  auto* grid = new QHBoxLayout();
  l->addLayout(grid);
  auto column = [&](QCheckBox*& check, const char* name, const std::string& caption) {
    auto* c = new QVBoxLayout();
    grid->addLayout(c);
    check = new QCheckBox(qs(caption), TabSheet1);
    check->setObjectName(name);
    check->setEnabled(false);
    c->addWidget(check);
    return c;
  };
  auto run = [this] { RunGuarded(this, [this] { ApplyPrecisionFilter(); }); };
  QVBoxLayout* c = column(cbFix, "cbFix", _("Fix"));
  rgFix = radioGroup(TabSheet1, "rgFix", "",
                     {_("none"), _("2d"), _("3d"), _("dgps"), _("pps"), _("unavailable")}, fixGroup_);
  c->addWidget(rgFix);
  c->addStretch();
  c = column(cbSat, "cbSat", _("Satellite in view"));
  rgSat = radioGroup(TabSheet1, "rgSat", "", {_("less than"), _("unavailable")}, satGroup_);
  c->addWidget(rgSat);
  udSat = upDown(TabSheet1, "udSat", "edtSat", 0, 255, 0);
  c->addWidget(udSat);
  c->addStretch();
  c = column(cbHDOP, "cbHDOP", _("HDOP"));
  rgHDOP = radioGroup(TabSheet1, "rgHDOP", "", {_("greater than"), _("unavailable")}, hdopGroup_);
  c->addWidget(rgHDOP);
  udHDOP = new QDoubleSpinBox(TabSheet1);
  udHDOP->setObjectName("udHDOP");
  udHDOP->findChild<QLineEdit*>()->setObjectName("edtHDOP");
  udHDOP->setRange(0, 999);
  udHDOP->setDecimals(1);
  c->addWidget(udHDOP);
  c->addStretch();
  for (QGroupBox* g : {rgFix, rgSat, rgHDOP}) g->setEnabled(false);
  udSat->setEnabled(false);
  udHDOP->setEnabled(false);
  for (QCheckBox* b : {cbFix, cbSat, cbHDOP}) connect(b, &QCheckBox::toggled, this, run);
  for (QButtonGroup* g : {fixGroup_, satGroup_, hdopGroup_}) connect(g, &QButtonGroup::idClicked, this, run);
  connect(udSat, &QSpinBox::valueChanged, this, run);
  connect(udHDOP, &QDoubleSpinBox::valueChanged, this, run);
  l->addStretch();
  return TabSheet1;
}

QWidget* TTrackEditForm::BuildEndingPage() {
  QVBoxLayout* l = newPage(TabSheet2, "TabSheet2", _("Remove ending points"));
  auto limit = [&](const std::string& caption, QSlider*& bar, const char* barName, QSpinBox*& ud,
                   const char* udName, const char* editName, QPushButton*& select, const char* selectName,
                   QLabel*& label, const char* labelName, bool before) {
    l->addWidget(new QLabel(qs(caption), TabSheet2));
    bar = slider(TabSheet2, barName, 0, 1, 0, 0);
    l->addWidget(bar);
    auto* row = new QHBoxLayout();
    l->addLayout(row);
    ud = upDown(TabSheet2, udName, editName, 0, 1, 0);
    // The up-down only shows the number: trimming follows the trackbar.
    ud->setReadOnly(true);
    ud->setButtonSymbols(QAbstractSpinBox::NoButtons);
    row->addWidget(ud);
    select = new QPushButton(qs(_("Select")), TabSheet2);
    select->setObjectName(selectName);
    select->setAutoDefault(false);
    row->addWidget(select);
    label = new QLabel(TabSheet2);
    label->setObjectName(labelName);
    row->addWidget(label, 1);
    QSpinBox* shown = ud;
    connect(bar, &QSlider::valueChanged, this, [this, shown](int v) {
      shown->setValue(v);
      RunGuarded(this, [this] { ApplyTrim(); });
    });
    connect(select, &QPushButton::clicked, this, [this, before] { RunGuarded(this, [&] { SelectClick(before); }); });
  };
  limit(_("Remove points before :"), tbBefore, "tbBefore", udBefore, "udBefore", "edtBefore", btnSelectBefore,
        "btnSelectBefore", lblBefore, "lblBefore", true);
  limit(_("Remove points after :"), tbAfter, "tbAfter", udAfter, "udAfter", "edtAfter", btnSelectAfter,
        "btnSelectAfter", lblAfter, "lblAfter", false);
  l->addStretch();
  return TabSheet2;
}

QWidget* TTrackEditForm::BuildReductionPage() {
  QVBoxLayout* l = newPage(TabSheet3, "TabSheet3", _("Point reduction"));
  rgDouglasPeucker = radioGroup(TabSheet3, "rgDouglasPeucker", _("Douglas-Peucker method"),
                                {"2D", "3D", "3D Meter"}, methodGroup_);
  l->addWidget(rgDouglasPeucker);
  l->addWidget(new QLabel(qs(_("Thresold")), TabSheet3));
  tbThreshold = slider(TabSheet3, "tbThreshold", 1, 1000, 1, 100);
  l->addWidget(tbThreshold);
  l->addWidget(new QLabel(qs(_("Multiplier")), TabSheet3));
  tbMultiplier = slider(TabSheet3, "tbMultiplier", 1, 10000, 1, 500);
  l->addWidget(tbMultiplier);
  lblValue = new QLabel(qs(_("Value")), TabSheet3);
  lblValue->setObjectName("lblValue");
  l->addWidget(lblValue);
  btnLimitDPThreshold = new QPushButton(qs(_("Limit Threshold")), TabSheet3);
  btnLimitDPThreshold->setObjectName("btnLimitDPThreshold");
  btnLimitDPThreshold->setVisible(false);
  l->addWidget(btnLimitDPThreshold);
  auto run = [this] { RunGuarded(this, [this] { rgDouglasPeuckerClick(); }); };
  connect(methodGroup_, &QButtonGroup::idClicked, this, run);
  connect(tbThreshold, &QSlider::valueChanged, this, run);
  connect(tbMultiplier, &QSlider::valueChanged, this, run);
  connect(btnLimitDPThreshold, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { btnLimitDPThresholdClick(); }); });
  l->addStretch();
  return TabSheet3;
}

QWidget* TTrackEditForm::BuildScatterPage() {
  QVBoxLayout* l = newPage(TabSheet4, "TabSheet4", _("Scatter detection"));
  l->addWidget(new QLabel(qs(_("Speed")), TabSheet4));
  tbScatterSpeed = slider(TabSheet4, "tbScatterSpeed", 0, 10, 0, 1);
  l->addWidget(tbScatterSpeed);
  connect(tbScatterSpeed, &QSlider::valueChanged, this,
          [this] { RunGuarded(this, [this] { tbScatterSpeedChange(); }); });
  l->addStretch();
  return TabSheet4;
}

QWidget* TTrackEditForm::BuildAnglePage() {
  QVBoxLayout* l = newPage(TabSheet5, "TabSheet5", _("Remove points based on angles"));
  l->addWidget(new QLabel(qs(_("Remove angle less than")), TabSheet5));
  tbAngleLess = slider(TabSheet5, "tbAngleLess", 1, 180, 1, 10);
  l->addWidget(tbAngleLess);
  udAngleLess = upDown(TabSheet5, "udAngleLess", "edtAngleLess", 1, 180, 1);
  l->addWidget(udAngleLess);
  // The two stay equal; either one's change runs the filter once.
  connect(tbAngleLess, &QSlider::valueChanged, this, [this](int v) {
    if (udAngleLess->value() != v) udAngleLess->setValue(v);
    else RunGuarded(this, [this] { ApplyAngleFilter(); });
  });
  connect(udAngleLess, &QSpinBox::valueChanged, this, [this](int v) {
    if (tbAngleLess->value() != v) tbAngleLess->setValue(v);
    else RunGuarded(this, [this] { ApplyAngleFilter(); });
  });
  l->addStretch();
  return TabSheet5;
}

void TTrackEditForm::SetSegments(std::unique_ptr<TGPXtrkseg> source, std::unique_ptr<TGPXtrkseg> result) {
  ClearSegments();
  TGPXtrk& srcTrack = *sourceDoc_->Tracks.At(0);
  TGPXtrk& dstTrack = *resultDoc_->Tracks.At(0);
  if (source) SourceSegment = srcTrack.Add(std::move(source));
  if (result) ResultSegment = dstTrack.Add(std::move(result));
  resultChanged_ = true;
}

void TTrackEditForm::ClearSegments() {
  SourceDraw->CurrentPoint = ResultDraw->CurrentPoint = nullptr;
  sourceDoc_->Selection.Clear();
  resultDoc_->Selection.Clear();
  sourceDoc_->Tracks.At(0)->FreeAll();
  resultDoc_->Tracks.At(0)->FreeAll();
  SourceSegment = ResultSegment = nullptr;
}

void TTrackEditForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded(this, [this] { FormShow(); });
}

void TTrackEditForm::reject() { done(2); }

void TTrackEditForm::ShowInView(TGPXDraw& view, TImageView* image, TGPXtrkseg* segment) {
  if (!segment) return;
  view.Canvas = &image->canvas();
  view.SetSize(image->width(), image->height());
  view.GPX->Tracks.Present = true;
  view.FitAll(true, false);
  view.Messages.clear();
  view.Draw();
  image->update();
}

void TTrackEditForm::FormShow() {
  // A pick left unfinished at the last closing ends here.
  ResultDraw->ToolMode = 1;
  DstImage->unsetCursor();
  btnSelectBefore->setEnabled(true);
  btnSelectAfter->setEnabled(true);
  ShowInView(*SourceDraw, SrcImage, SourceSegment);
  ShowInView(*ResultDraw, DstImage, ResultSegment);
  UpdateFilterAvailability();
  UpdateCountLabel();
  // The active page shows itself again: its ranges follow the new source.
  if (PageActive(TabSheet2)) TabSheet2Show();
}

bool TTrackEditForm::PageActive(QWidget* page) const { return pcFilter->currentWidget() == page; }

void TTrackEditForm::PageChanged() {
  UpdateFilterAvailability();
  if (PageActive(TabSheet2)) TabSheet2Show();
}

void TTrackEditForm::ResetResult() {
  if (!SourceSegment) return;
  // A result still equal to the source needs no new copy.
  if (resultChanged_ || !ResultSegment) {
    ResultDraw->CurrentPoint = nullptr;
    resultDoc_->Selection.Clear();
    TGPXtrk& track = *resultDoc_->Tracks.At(0);
    track.FreeAll();
    auto copy = std::make_unique<TGPXtrkseg>();
    copy->Assign(*SourceSegment);
    ResultSegment = track.Add(std::move(copy));
  }
  resultChanged_ = true;  // the caller filters it now
}

void TTrackEditForm::AcceptResult() {
  if (!ResultSegment) return;
  SourceDraw->CurrentPoint = nullptr;
  sourceDoc_->Selection.Clear();
  TGPXtrk& track = *sourceDoc_->Tracks.At(0);
  track.FreeAll();
  auto copy = std::make_unique<TGPXtrkseg>();
  copy->Assign(*ResultSegment);
  SourceSegment = track.Add(std::move(copy));
  resultChanged_ = false;
}

void TTrackEditForm::UpdateFilterAvailability() {
  const TFilterAvailability a =
      SourceSegment ? ScanFilterAvailability(*SourceSegment) : TFilterAvailability{};
  auto set = [](QCheckBox* check, std::initializer_list<QWidget*> others, bool on) {
    check->setEnabled(on);
    if (!on) {
      const QSignalBlocker block(check);
      check->setChecked(false);
    }
    for (QWidget* w : others) w->setEnabled(on);
  };
  set(cbFix, {rgFix}, a.Fix);
  set(cbSat, {rgSat, udSat}, a.Sat);
  set(cbHDOP, {rgHDOP, udHDOP}, a.HDOP);
  tbScatterSpeed->setEnabled(a.Times);
  btnApply->setEnabled(PageActive(TabSheet1) && (a.Fix || a.Sat || a.HDOP));
}

void TTrackEditForm::UpdateCountLabel() {
  lblPointCount->setText(qs(PointCountText(SourceSegment ? SourceSegment->Count() : 0,
                                           ResultSegment ? ResultSegment->Count() : 0)));
}

void TTrackEditForm::DrawResult() {
  if (!ResultDraw->Canvas) return;
  ResultDraw->Draw();
  DstImage->update();
}

void TTrackEditForm::ApplyPrecisionFilter() {
  if (!PageActive(TabSheet1) || !SourceSegment) return;
  ResetResult();
  if (cbFix->isChecked()) {
    static const char* const fixes[] = {"none", "2d", "3d", "dgps", "pps", ""};
    const std::string fix = fixes[std::clamp(fixGroup_->checkedId(), 0, 5)];
    removePoints(*ResultSegment, [&](const TGPXwpt& p) { return p.data().fix == fix; });
  }
  if (cbSat->isChecked()) {
    const int n = satGroup_->checkedId() == 1 ? 255 : udSat->value();
    if (n != 255)
      removePoints(*ResultSegment, [&](const TGPXwpt& p) { return p.data().sat < n; });
    else
      removePoints(*ResultSegment, [](const TGPXwpt& p) { return p.data().sat == 255; });
  }
  if (cbHDOP->isChecked()) {
    const double h = hdopGroup_->checkedId() == 1 ? -1.0 : udHDOP->value();
    if (h == -1.0)
      removePoints(*ResultSegment, [](const TGPXwpt& p) { return p.data().hdop == -1.0; });
    else
      removePoints(*ResultSegment, [&](const TGPXwpt& p) { return p.data().hdop > h; });
  }
  DrawResult();
  UpdateCountLabel();
}

void TTrackEditForm::TabSheet2Show() {
  const int count = SourceSegment ? SourceSegment->Count() : 0;
  const int tick = count / 20;
  {
    const QSignalBlocker b1(tbBefore), b2(tbAfter);
    tbBefore->setRange(0, std::max(0, count - 2));
    for (QSlider* bar : {tbBefore, tbAfter})
      bar->setTickPosition(tick > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
    tbBefore->setTickInterval(tick);
    tbBefore->setValue(0);
    udBefore->setRange(0, std::max(0, count - 2));
    udBefore->setValue(0);
    tbAfter->setRange(1, std::max(1, count));
    tbAfter->setTickInterval(tick);
    tbAfter->setValue(count);
    udAfter->setRange(1, std::max(1, count));
    udAfter->setValue(count);
  }
  ApplyTrim();
}

void TTrackEditForm::ApplyTrim() {
  if (!PageActive(TabSheet2) || !SourceSegment) return;
  ResetResult();
  TrimPoints(*ResultSegment, tbBefore->value(), tbAfter->value());
  SetLimitLabel(lblBefore, ResultSegment->First(), false);
  SetLimitLabel(lblAfter, ResultSegment->Last(), false);
  DrawResult();
  UpdateCountLabel();
  btnApply->setEnabled(true);
}

void TTrackEditForm::SetLimitLabel(QLabel* label, const TPoint4D2* point, bool candidate) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText,
               candidate ? palette().color(QPalette::Disabled, QPalette::WindowText)
                         : palette().color(QPalette::WindowText));
  label->setPalette(pal);
  label->setText(point ? qs(point->TimeToStr()) : QString());
}

void TTrackEditForm::SelectClick(bool before) {
  SelectBefore = before ? 1 : 0;
  ResultDraw->ToolMode = 7;
  (before ? btnSelectBefore : btnSelectAfter)->setEnabled(false);
  DstImage->setCursor(Qt::CrossCursor);
}

void TTrackEditForm::DstImageMouseDown(Qt::MouseButton button, int X, int Y) {
  if (button != Qt::LeftButton || !ResultSegment) return;
  ResultDraw->SaveSnapshot();
  ResultDraw->AnchorX = X;
  ResultDraw->AnchorY = Y;
}

void TTrackEditForm::DstImageMouseMove(Qt::MouseButtons buttons, int X, int Y) {
  MouseOverResult = 1;
  TGPXDraw& v = *ResultDraw;
  if (!ResultSegment || !v.Canvas) return;
  v.MouseX = X;
  v.MouseY = Y;
  if (v.ToolMode == 7) {
    if (!SourceSegment) return;
    ResetResult();
    resultChanged_ = false;  // the pick only looks at the source's points
    v.SelectNearestPoint(v.PointAtPixel(X, Y));
    resultDoc_->Selection.Clear();
    v.Draw();
    if (const TPoint4D2* p = v.CurrentPoint) {
      const int i = ResultSegment->IndexOf(p);
      if (SelectBefore)
        v.DrawPointListRange(ResultSegment, 0, i, kGrey);
      else
        v.DrawPointListRange(ResultSegment, i, ResultSegment->Count() - 1, kGrey);
      v.DrawPoint(p, v.Options.CutPointColor, 5);
      if (!buttons) SetLimitLabel(SelectBefore ? lblBefore : lblAfter, p, true);
    }
    DstImage->update();
    return;
  }
  if ((buttons & Qt::LeftButton) && v.ToolMode == 1 && (v.AnchorX != 0 || v.AnchorY != 0)) {
    v.PanTo(X, Y);
    DrawResult();
  }
}

void TTrackEditForm::DstImageMouseUp(Qt::MouseButton, int, int) {
  TGPXDraw& v = *ResultDraw;
  v.AnchorX = v.AnchorY = 0;
  if (v.ToolMode != 7) {
    if (ResultSegment && v.Canvas) DrawResult();
    return;
  }
  v.ToolMode = 1;
  DstImage->unsetCursor();
  if (!ResultSegment) return;
  const int last = ResultSegment->Count() - 1;
  int i = v.CurrentPoint ? ResultSegment->IndexOf(v.CurrentPoint) : -1;
  {
    const QSignalBlocker b1(tbBefore), b2(tbAfter);
    if (SelectBefore) {
      if (i < 1) i = 0;
      tbBefore->setValue(std::max(i - 1, tbBefore->minimum()));
      udBefore->setValue(tbBefore->value());
      btnSelectBefore->setEnabled(true);
    } else {
      if (i < 0 || i > last) i = last;
      tbAfter->setValue(i + 1);
      udAfter->setValue(tbAfter->value());
      btnSelectAfter->setEnabled(true);
    }
  }
  // The pick left the result untrimmed: trim again even when the position stayed.
  v.CurrentPoint = nullptr;
  ApplyTrim();
}

void TTrackEditForm::DstImageDblClick() {
  if (!ResultSegment || !ResultDraw->Canvas) return;
  ResultDraw->FitAll(true, true);
  ResultDraw->Messages.clear();
  DrawResult();
}

bool TTrackEditForm::DstImageMouseWheel(int delta, const QPoint& at) {
  // A sideways wheel has no vertical turn: it is not a zoom.
  if (!MouseOverResult || delta == 0 || !ResultSegment || !ResultDraw->Canvas) return false;
  if (delta < 1)
    ResultDraw->WheelZoomOut({at.x(), at.y()});
  else
    ResultDraw->WheelZoomIn({at.x(), at.y()});
  DrawResult();
  return true;
}

bool TTrackEditForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DstPanel) {
    if (event->type() == QEvent::Enter) MouseOverResult = 1;
    if (event->type() == QEvent::Leave) MouseOverResult = 0;
  } else if (watched == DstImage && event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    bool used = false;
    RunGuarded(this, [&] { used = DstImageMouseWheel(wheel->angleDelta().y(), wheel->position().toPoint()); });
    if (used) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TTrackEditForm::RunDouglasPeucker(int threshold) {
  switch (methodGroup_->checkedId()) {
    case 1:
      DouglasPeucker3D(*ResultSegment, threshold);
      break;
    case 2:
      DouglasPeuckerMetric(*ResultSegment, threshold);
      break;
    default:
      DouglasPeucker2D(*ResultSegment, threshold);
      break;
  }
}

void TTrackEditForm::rgDouglasPeuckerClick() {
  if (!PageActive(TabSheet3) || !SourceSegment) return;
  ResetResult();
  const int t = tbThreshold->value() * tbMultiplier->value();
  lblValue->setText(qs(formatInt(t)));
  // A filter that fails shows what it had done so far.
  try {
    RunDouglasPeucker(t);
  } catch (const std::exception&) {
  }
  DrawResult();
  UpdateCountLabel();
}

void TTrackEditForm::tbScatterSpeedChange() {
  if (!PageActive(TabSheet4) || !SourceSegment) return;
  ResetResult();
  RemoveScatter(*ResultSegment, tbScatterSpeed->value());
  DrawResult();
  UpdateCountLabel();
}

void TTrackEditForm::ApplyAngleFilter() {
  if (!PageActive(TabSheet5) || !SourceSegment) return;
  ResetResult();
  FilterAngle(*ResultSegment, tbAngleLess->value());
  DrawResult();
  UpdateCountLabel();
  btnApply->setEnabled(true);
}

void TTrackEditForm::btnApplyClick() {
  AcceptResult();
  btnApply->setEnabled(false);
  FormShow();
}

void TTrackEditForm::btnLimitDPThresholdClick() {
  if (!PageActive(TabSheet3) || !SourceSegment) return;
  btnLimitDPThreshold->setEnabled(false);
  const bool metric = methodGroup_->checkedId() == 2;
  // The count after the method with threshold t; -1 when the filter fails.
  auto countWith = [this](int t) {
    ResetResult();
    try {
      RunDouglasPeucker(t);
    } catch (const std::exception&) {
      return -1;
    }
    return ResultSegment->Count();
  };
  const int c1 = countWith(1);
  int lower = 1;
  for (int t = 1; t <= kThresholdLimit; ++t) {
    DrawThresholdSearch(t, kThresholdLimit, t);
    const int c = countWith(t);
    if (c < 0) {
      lower = t - 1;
      break;
    }
    if (metric ? c < c1 : c > c1) {
      lower = t;
      break;
    }
  }
  int upper = kThresholdLimit;
  for (int t = lower; t <= kThresholdLimit; ++t) {
    DrawThresholdSearch(lower, t, t);
    const int c = countWith(t);
    if (c < 0) {
      upper = t - 1;
      break;
    }
    if (metric ? c < 3 : c >= SourceSegment->Count()) {
      upper = t;
      break;
    }
  }
  DrawThresholdSearch(lower, upper, upper);
  btnLimitDPThreshold->setText(qs(formatInt(lower) + "/" + formatInt(upper)));
  btnLimitDPThreshold->setEnabled(true);
  tbMultiplier->setValue(1);
  tbMultiplier->setEnabled(false);
  const int min = std::max(lower, 1) - 1, max = upper + 1;
  tbThreshold->setRange(min, max);
  tbThreshold->setTickInterval(std::max(1, (max - min) / 10));
  tbThreshold->setValue(min);
}

void TTrackEditForm::DrawThresholdSearch(int lower, int upper, int current) {
  Canvas& c = DstImage->canvas();
  const int left = 20, right = c.Width() - 20, top = c.Height() / 2 - 20, bottom = top + 40;
  if (right <= left) return;
  auto x = [&](int value) { return left + static_cast<int>(static_cast<double>(value) / 99999 * (right - left)); };
  c.Brush = {0xFFFFFF, TBrushStyle::Solid};
  c.FillRect({left, top, right, bottom});
  c.Brush.Color = 0x0000FF;
  c.FillRect({left, top, x(lower), bottom});
  c.FillRect({x(upper), top, right, bottom});
  c.Pen = {0x008000, 1, TPenMode::Copy};
  c.MoveTo(x(current), top);
  c.LineTo(x(current), bottom);
  c.Pen.Color = 0x000000;
  const TPoint frame[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
  c.Polyline(frame, 5);
  // Painted at once: the search dispatches no window events while it runs.
  DstImage->repaint();
}
