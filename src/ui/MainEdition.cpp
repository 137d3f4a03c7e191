// The track and route edition page: one of ten point filters on a copy of the selected
// route or segment, the source and the result side by side, and Apply into the document.
// Its tab stays hidden; the page works whenever it is made the current one.
#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/PointListEdit.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "ui/QtText.h"

namespace {

// What choosing a filter sets: the trackbar's minimum and position, the up-down's range
// and position; n is the point count.
struct TEditionRange {
  int BarMin, BarPos, Min, Max, Pos;
};

TEditionRange editionRange(int index, int n) {
  switch (index) {
    case 0: return {0, 0, 0, n - 2, 0};
    case 1: return {1, 100, 2, n - 1, n - 1};
    case 2: return {2, 100, 2, 100, 100};
    case 3: return {2, 2, 2, 100, 2};
    case 4: return {0, 0, 0, 30000, 0};
    case 5: return {0, 0, 0, 180, 0};
    case 6:
    case 7: return {1, 100, 1, 10000, 10000};
    case 8: return {1, 100, 1, 1000, 1000};
    default: return {1, 5, 1, 60, 5};
  }
}

// The filter's parameter for a trackbar position.
int editionValue(int index, int n, int p) {
  switch (index) {
    case 0: return (n - 2) * p / 100;
    case 1: return (n - 1) * p / 100;
    case 4: return p * 300;
    case 5: return p * 180 / 100;
    case 6:
    case 7: return p * 100;
    case 8: return p * 10;
    default: return p;
  }
}

// The list a view's document holds: its only route, or its first track's segment `which`.
TGPXwptList* editionList(TGPX& gpx, bool route, int which) {
  if (route) return which < gpx.Routes.Count() ? gpx.Routes.At(which) : nullptr;
  if (gpx.Tracks.Count() == 0) return nullptr;
  TGPXtrk* t = gpx.Tracks.At(0);
  return which < t->Count() ? t->At(which) : nullptr;
}

}  // namespace

void TMainForm::BuildEditionPage() {
  TabSheet3 = new QWidget(PageControl1);
  TabSheet3->setObjectName("TabSheet3");
  auto* page = new QVBoxLayout(TabSheet3);
  page->setContentsMargins(0, 0, 0, 0);
  Splitter2 = new QSplitter(Qt::Horizontal, TabSheet3);
  Splitter2->setObjectName("Splitter2");
  page->addWidget(Splitter2, 1);
  for (uint8_t pane : {uint8_t(3), uint8_t(4)}) {
    auto* panel = new QWidget(Splitter2);
    panel->setObjectName(pane == 3 ? "pTRESource" : "pTREDest");
    auto* l = new QVBoxLayout(panel);
    l->setContentsMargins(0, 0, 0, 0);
    auto* image = new TImageView(panel);
    image->setObjectName(pane == 3 ? "TRESrcImage" : "TREDstImage");
    image->setMouseTracking(true);
    l->addWidget(image);
    (pane == 3 ? pTRESource : pTREDest) = panel;
    (pane == 3 ? TRESrcImage : TREDstImage) = image;
    image->OnResize = [this, pane] { RunGuarded(this, [&] { TREImageResize(pane); }); };
    image->OnMouseDown = [this, pane](QMouseEvent* e) {
      const QPoint p = e->position().toPoint();
      RunGuarded(this, [&] { TREImageMouseDown(pane, p.x(), p.y()); });
    };
    image->OnMouseMove = [this, pane](QMouseEvent* e) {
      const QPoint p = e->position().toPoint();
      RunGuarded(this, [&] { TREImageMouseMove(pane, e->buttons(), p.x(), p.y()); });
    };
    image->OnMouseUp = [this, pane](QMouseEvent* e) {
      const QPoint p = e->position().toPoint();
      RunGuarded(this, [&] { TREImageMouseUp(pane, p.x(), p.y()); });
    };
    image->OnDblClick = [this, pane](QMouseEvent*) { RunGuarded(this, [&] { TREImageDblClick(pane); }); };
  }
  pTRESource->setMinimumWidth(50);

  pTRE = new QWidget(TabSheet3);
  pTRE->setObjectName("pTRE");
  page->addWidget(pTRE);
  auto* bottom = new QHBoxLayout(pTRE);
  cbEdition = new QComboBox(pTRE);
  cbEdition->setObjectName("cbEdition");
  for (const std::string& name :
       {_("Remove points before"), _("Remove points after"), _("Remove 1 point every"),
        _("Keep 1 point every"), _("Remove points closer than"), _("Remove points with angle less than"),
        _("3D Douglas-Peucker difference"), _("2D Douglas-Peucker difference"),
        _("3D Meter Douglas-Peucker difference"), _("Reduce Scatter based on speed")})
    cbEdition->addItem(qs(name));
  cbEdition->setMaxVisibleItems(9);
  bottom->addWidget(cbEdition);
  tbEdition = new QSlider(Qt::Horizontal, pTRE);
  tbEdition->setObjectName("tbEdition");
  tbEdition->setRange(0, 100);
  tbEdition->setPageStep(5);
  tbEdition->setTickPosition(QSlider::TicksBelow);
  tbEdition->setTickInterval(10);
  bottom->addWidget(tbEdition, 1);
  udEdition = new QSpinBox(pTRE);
  udEdition->setObjectName("udEdition");
  udEdition->findChild<QLineEdit*>()->setObjectName("eEdition");
  bottom->addWidget(udEdition);
  bApplyEDT = new QPushButton(qs(_("Apply")), pTRE);
  bApplyEDT->setObjectName("bApplyEDT");
  bottom->addWidget(bApplyEDT);

  const int tab = PageControl1->addTab(TabSheet3, qs(_(" Track and route edition ")));
  PageControl1->setTabVisible(tab, false);

  TRESrcDraw = std::make_unique<TGPXDraw>();
  TREDstDraw = std::make_unique<TGPXDraw>();
  TRESrcDraw->ShowPoints = TREDstDraw->ShowPoints = 1;

  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    if (EditionPageActive()) RunGuarded(this, [this] { TabSheet3Show(); });
  });
  connect(cbEdition, &QComboBox::currentIndexChanged, this, [this] { RunGuarded(this, [this] { cbEditionChange(); }); });
  connect(tbEdition, &QSlider::valueChanged, this, [this] { RunGuarded(this, [this] { tbEditionChange(); }); });
  connect(udEdition, &QSpinBox::valueChanged, this,
          [this](int v) { RunGuarded(this, [&] { udEditionChangingEx(v); }); });
  connect(bApplyEDT, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { bApplyEDTClick(); }); });
  // The zoom box works on the edition previews while their page shows.
  connect(tbZoomSelect, &QAction::toggled, this, [this](bool on) {
    if (EditionPageActive()) TRESrcDraw->ToolMode = TREDstDraw->ToolMode = on ? 2 : 1;
  });
}

bool TMainForm::EditionPageActive() const { return TabSheet3 && PageControl1->currentWidget() == TabSheet3; }

void TMainForm::EditionSelectionChanged() {
  if (EditionPageActive()) TabSheet3Show();
}

void TMainForm::TabSheet3Show() {
  TabSheet3->setEnabled(false);
  SetStatusText(1, "");
  UpdateCommands(false);
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (sel.Count() != 1) return;
  TItem* item = sel.At(0);
  if (item->Is(ItemKind::Rte))
    EditionIsRoute = true;
  else if (item->Is(ItemKind::Trkseg))
    EditionIsRoute = false;
  else
    return;

  auto prepare = [this](std::unique_ptr<TGPX>& doc, TGPXDraw& view, TImageView* image) {
    view.SetGPX(nullptr);
    if (doc)
      doc->Clear();
    else
      doc = std::make_unique<TGPX>();
    view.Options.Assign(PreviewDraw->Options);
    view.SetGPX(doc.get());
    view.Canvas = &image->canvas();
    view.SetSize(image->width(), image->height());
  };
  auto show = [](TGPXDraw& view, TImageView* image) {
    view.FitAll(true, false);
    view.Messages.clear();
    view.Draw();
    image->update();
  };

  prepare(TRESrcGPX, *TRESrcDraw, TRESrcImage);
  TabSheet3->setEnabled(true);
  if (EditionIsRoute) {
    auto copy = std::make_unique<TGPXrte>();
    copy->Assign(*static_cast<TGPXrte*>(item));
    TRESrcGPX->Routes.Add(std::move(copy));
    TRESrcGPX->Routes.Present = true;
  } else {
    auto copy = std::make_unique<TGPXtrkseg>();
    copy->Assign(*static_cast<TGPXtrkseg*>(item));
    TRESrcGPX->Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::move(copy));
    TRESrcGPX->Tracks.Present = true;
  }
  TRESrcDraw->CurrentList = editionList(*TRESrcGPX, EditionIsRoute, 0);
  EditionPointCount = TRESrcDraw->CurrentList->Count();
  show(*TRESrcDraw, TRESrcImage);

  prepare(TREDstGPX, *TREDstDraw, TREDstImage);
  TREDstGPX->Assign(*TRESrcGPX);
  TREDstDraw->CurrentList = editionList(*TREDstGPX, EditionIsRoute, 0);
  show(*TREDstDraw, TREDstImage);

  {
    const QSignalBlocker block(cbEdition);
    cbEdition->setCurrentIndex(0);
  }
  cbEditionChange();
}

void TMainForm::cbEditionChange() {
  const int index = cbEdition->currentIndex();
  const TEditionRange r = editionRange(index, EditionPointCount);
  {
    const QSignalBlocker b1(tbEdition), b2(udEdition);
    tbEdition->setMinimum(r.BarMin);
    tbEdition->setValue(r.BarPos);
    udEdition->setRange(r.Min, r.Max);
    udEdition->setValue(r.Pos);
  }
  PreviewEdition(udEdition->value());
}

void TMainForm::tbEditionChange() {
  const int value = editionValue(cbEdition->currentIndex(), EditionPointCount, tbEdition->value());
  // Outside the up-down's range the change is refused, not pulled to the nearest end.
  if (value < udEdition->minimum() || value > udEdition->maximum()) return;
  udEdition->setValue(value);
}

void TMainForm::udEditionChangingEx(int value) {
  if (value >= udEdition->minimum() && value <= udEdition->maximum()) PreviewEdition(value);
}

void TMainForm::ApplyEditionFilter(TGPXwptList* List, int FilterIndex, int Value) {
  if (!List) return;
  // The points the cutting filters unlink belong to the page's own copy: they go at once.
  switch (FilterIndex) {
    case 0: DeletePointsBefore(*List, Value); break;
    case 1: DeletePointsAfter(*List, Value); break;
    case 2: DeleteEveryNthPoint(*List, Value); break;
    case 3: KeepEveryNthPoint(*List, Value); break;
    case 4: FilterMinDistance(*List, Value); break;
    case 5: FilterAngle(*List, Value); break;
    case 6: DouglasPeucker3D(*List, Value); break;
    case 7: DouglasPeucker2D(*List, Value); break;
    case 8: DouglasPeuckerMetric(*List, Value); break;
    case 9: RemoveScatter(*List, Value); break;
    default: break;
  }
}

void TMainForm::PreviewEdition(int Value) {
  if (!TRESrcGPX || !TREDstGPX || !TRESrcDraw->CurrentList || !TREDstDraw->CurrentList) return;
  TGPXwptList* src = TRESrcDraw->CurrentList;
  TGPXwptList* dst = TREDstDraw->CurrentList;
  TREDstDraw->CurrentPoint = nullptr;
  dst->FreeAll();
  dst->AppendCopies(*src);
  ApplyEditionFilter(dst, cbEdition->currentIndex(), Value);
  if (TREDstDraw->Options.TREResetZoom) {
    TREDstDraw->FitAll(true, false);
    TREDstDraw->Messages.clear();
  }
  TREDstDraw->Draw();
  TREDstImage->update();

  // The result drawn in the selection colour over the source.
  TGPX& s = *TRESrcGPX;
  s.Selection.Clear();
  TRESrcDraw->CurrentPoint = nullptr;
  if (EditionIsRoute) {
    if (s.Routes.Count() > 1) s.Routes.Remove(1);
    auto copy = std::make_unique<TGPXrte>();
    copy->Assign(*static_cast<TGPXrte*>(dst));
    s.Selection.Add(s.Routes.Add(std::move(copy)));
  } else {
    TGPXtrk* t = s.Tracks.At(0);
    if (t->Count() > 1) t->Remove(1);
    auto copy = std::make_unique<TGPXtrkseg>();
    copy->Assign(*static_cast<TGPXtrkseg*>(dst));
    s.Selection.Add(t->Add(std::move(copy)));
  }
  TRESrcDraw->Draw();
  TRESrcImage->update();
  SetStatusText(2, "From " + formatInt(src->Count()) + " to " + formatInt(dst->Count()) + " points");
}

void TMainForm::bApplyEDTClick() {
  if (!TRESrcGPX || !TREDstGPX || !TRESrcDraw->CurrentList || !TREDstDraw->CurrentList ||
      !PreviewDraw->CurrentList)
    return;
  SetStatusText(2, "");
  TGPX& gpx = *CurrentGPX;
  TGPXwptList* current = PreviewDraw->CurrentList;
  TGPXwptList* filtered = nullptr;
  // The result replaces the list in the document as one undo step: until now it lived
  // only in the page's copy and was lost at shut-down.
  if (current->Is(ItemKind::Rte)) {
    const int i = gpx.Routes.IndexOf(static_cast<TGPXrte*>(current));
    const int from = TREDstGPX->Routes.IndexOf(static_cast<TGPXrte*>(TREDstDraw->CurrentList));
    if (i < 0 || from < 0) return;
    SaveUndoState();
    Retired.Add(gpx.Routes.Extract(i));
    filtered = gpx.Routes.Add(TREDstGPX->Routes.Extract(from));
  } else if (current->Is(ItemKind::Trkseg)) {
    auto* segment = static_cast<TGPXtrkseg*>(current);
    TGPXtrk* track = gpx.Tracks.FindTrackOfSegment(segment);
    TGPXtrk* holder = TREDstGPX->Tracks.Count() > 0 ? TREDstGPX->Tracks.At(0) : nullptr;
    const int from = holder ? holder->IndexOf(static_cast<TGPXtrkseg*>(TREDstDraw->CurrentList)) : -1;
    if (!track || from < 0) return;
    SaveUndoState();
    Retired.Add(track->Extract(track->IndexOf(segment)));
    filtered = track->Add(holder->Extract(from));
  } else {
    RefreshTree();
    SelectTreeNodes(gpx.Selection.Items);
    TabSheet3Show();
    UpdateStatGraphAfterEdit();
    return;
  }
  TREDstDraw->CurrentList = nullptr;
  GPXModified = true;
  gpx.Selection.Clear();
  gpx.Selection.Add(filtered);
  RefreshTree();
  ReleaseStaleReferences();
  PreviewDraw->CurrentList = filtered;
  SelectTreeNodes(gpx.Selection.Items);
  DrawPreview();
  TabSheet3Show();
  UpdateStatGraphAfterEdit();
}

void TMainForm::TREImageMouseDown(uint8_t pane, int X, int Y) {
  TGPXDraw& v = TREDraw(pane);
  v.SaveSnapshot();
  v.AnchorX = X;
  v.AnchorY = Y;
}

void TMainForm::TREImageMouseMove(uint8_t pane, Qt::MouseButtons buttons, int X, int Y) {
  ActivePane = pane;
  TGPXDraw& v = TREDraw(pane);
  v.MouseX = X;
  v.MouseY = Y;
  if (!v.GPX || !v.Canvas) return;
  SetStatusText(0, " " + v.PointAtPixel(X, Y).LatLonToStr());
  if (!(buttons & Qt::LeftButton)) return;
  if (v.ToolMode == 1) {
    v.PanTo(X, Y);
    v.Draw();
  } else if (v.ToolMode == 2) {
    v.DrawRubberBand(X, Y, 0x0000FF);
  }
  TREImage(pane)->update();
}

void TMainForm::TREImageMouseUp(uint8_t pane, int X, int Y) {
  TGPXDraw& v = TREDraw(pane);
  if (!v.GPX || !v.Canvas) return;
  if (v.ToolMode == 2) {
    v.ZoomToDragRect(X, Y);
    TRESrcDraw->ToolMode = TREDstDraw->ToolMode = 1;
    TREImage(pane)->unsetCursor();
    tbZoomSelect->setChecked(false);
    v.Draw();
  } else if (v.ToolMode != 1) {
    v.ToolMode = 1;
    v.Draw();
  }
  TREImage(pane)->update();
  if (v.GPX->Selection.Count() > 0) tbDelete->setEnabled(true);
}

void TMainForm::TREImageDblClick(uint8_t pane) {
  TGPXDraw& v = TREDraw(pane);
  if (!v.GPX || !v.Canvas) return;
  v.FitAll(true, true);
  v.Messages.clear();
  v.Draw();
  TREImage(pane)->update();
}

void TMainForm::TREImageResize(uint8_t pane) {
  TGPXDraw& v = TREDraw(pane);
  if (!v.GPX || !v.Canvas) return;
  v.SetSize(TREImage(pane)->width(), TREImage(pane)->height());
  v.Draw();
}

bool TMainForm::TREImageMouseWheel(uint8_t pane, int delta, const QPoint& globalPos) {
  TGPXDraw& v = TREDraw(pane);
  if (delta == 0 || !v.GPX || !v.Canvas) return false;
  const QPoint at = TREImage(pane)->mapFromGlobal(globalPos);
  if (delta > 0)
    v.WheelZoomIn({at.x(), at.y()});
  else
    v.WheelZoomOut({at.x(), at.y()});
  v.Draw();
  TREImage(pane)->update();
  return true;
}
