// The statistics graph in the bottom pane: its pane and image, choosing and drawing the graph
// of the preview's current list, the mouse over it (hairlines, range selection, the point
// followed in the preview, the point list and the map), the wheel zoom, the status texts,
// and the tab switch that updates the commands.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "views/GraphTexts.h"

namespace {

// Where a point is in its list: the graph knows it already, the list search is the fallback.
int indexInList(const TPointList2& list, const TPoint4D2* point, int hint) {
  if (hint >= 0 && hint < list.Count() && list.GetPoint(hint) == point) return hint;
  return list.IndexOf(point);
}

}  // namespace

void TMainForm::BuildGraphPane() {
  GPXStat = std::make_unique<TGPXStat>();
  GPXStat->Options.Assign(StatOptions);
  auto* bottom = new QVBoxLayout(BottomPanel);
  bottom->setContentsMargins(0, 0, 0, 0);
  BottomLeftPanel = new QWidget(BottomPanel);
  BottomLeftPanel->setObjectName("BottomLeftPanel");
  bottom->addWidget(BottomLeftPanel);
  auto* pane = new QVBoxLayout(BottomLeftPanel);
  pane->setContentsMargins(0, 0, 0, 0);
  GPXStatImage = new TImageView(BottomLeftPanel);
  GPXStatImage->setObjectName("GPXStatImage");
  GPXStatImage->setCursor(Qt::CrossCursor);
  GPXStatImage->setMouseTracking(true);
  GPXStatImage->setContextMenuPolicy(Qt::PreventContextMenu);
  pane->addWidget(GPXStatImage);
  GPXStat->Canvas = &GPXStatImage->canvas();
  GPXStatImage->OnResize = [this] { RunGuarded(this, [this] { BottomLeftPanelResize(); }); };
  GPXStatImage->OnMouseDown = [this](QMouseEvent* e) {
    RunGuarded(this, [&] {
      if (e->button() == Qt::RightButton) {
        pmAltitudePopup();
        pmAltitude->popup(e->globalPosition().toPoint());
        return;
      }
      GPXStatImageMouseDown(e->buttons(), e->position().toPoint().x());
    });
  };
  GPXStatImage->OnMouseMove = [this](QMouseEvent* e) {
    RunGuarded(this, [&] { GPXStatImageMouseMove(e->buttons(), e->position().toPoint().x(), e->position().toPoint().y()); });
  };
  GPXStatImage->OnMouseUp = [this](QMouseEvent* e) {
    RunGuarded(this, [&] { GPXStatImageMouseUp(e->button(), e->position().toPoint().x()); });
  };
  GPXStatImage->OnDblClick = [this](QMouseEvent*) { RunGuarded(this, [this] { GPXStatImageDblClick(); }); };
  BuildGraphMenu();

  // The graph points into the document: a list or point that an edit took away empties it.
  ReferenceChecks.push_back([this](const TDocumentIndex& index) {
    TGPXwptList* list = GPXStat->Points.SourceList;
    bool stale = list && !index.Holds(list);
    if (list && !stale) {
      auto& items = GPXStat->Points.Items();
      const int first = GPXStat->FirstIndex;
      stale = first + static_cast<int>(items.size()) > list->Count();
      for (size_t k = 0; k < items.size() && !stale; ++k)
        stale = items[k].Source != list->GetPoint(first + static_cast<int>(k));
    }
    if (stale) ClearStatGraph();
  });

  if (tbGMapScreenShot) {
    tbGMapScreenShot->setVisible(true);
    connect(tbGMapScreenShot, &QAction::triggered, this, [this] { RunGuarded(this, [this] { tbGMapScreenShotClick(); }); });
  }

  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int) {
    RunGuarded(this, [this] {
      const std::string tab = CurrentTabName();
      if (tab == "TabSheet1")
        TabSheet1Show();
      else
        UpdateCommands(tab == "TabSheet2");
    });
  });
}

std::string TMainForm::CurrentTabName() const {
  const QWidget* page = PageControl1 ? PageControl1->currentWidget() : nullptr;
  return page ? page->objectName().toStdString() : std::string();
}

void TMainForm::TabSheet1Show() {
  SetStatusText(2, "");
  PanelGPX->setFocus();
  UpdateCommands(true);
}

void TMainForm::ClearStatGraph() {
  CurrentGraphPoint = nullptr;
  if (!GPXStat) return;
  GPXStat->Clear();
  GPXStatImage->update();
}

void TMainForm::UpdateStatGraph() {
  if (!GPXStat) return;
  TGPXwptList* list = PreviewDraw ? PreviewDraw->CurrentList : nullptr;
  if (!list || list->Count() < 2) {
    ClearStatGraph();
    return;
  }
  TGPXStat& g = *GPXStat;
  g.Options.Assign(StatOptions);
  g.GPX = CurrentGPX.get();
  g.Canvas = &GPXStatImage->canvas();
  g.SetSize(GPXStatImage->width(), GPXStatImage->height());
  ClearStatGraph();

  const TGPXwpt* p0 = list->GetPoint(0);
  const bool hasTime = p0->Time != 0, hasEle = p0->Ele != 0, hasSat = p0->data().sat != 255,
             hasHDOP = p0->data().hdop != -1.0;
  miStatGraphAltitude->setEnabled(hasEle);
  miStatGraphSpeed->setEnabled(hasTime);
  miStatGraphSatellitesused->setEnabled(hasSat);
  miStatGraphHDOP->setEnabled(hasHDOP);
  if (miStatGraphAltitude->isChecked() && !hasEle) miStatGraphSpeed->setChecked(true);
  if (miStatGraphSpeed->isChecked() && !hasTime) miStatGraphAngle->setChecked(true);

  bool drawn = true;
  if (miStatGraphAltitude->isChecked() && hasEle)
    g.DrawAltitude(list, hasTime);
  else if (miStatGraphSpeed->isChecked() && hasTime)
    g.DrawSpeed(list);
  else if (miStatGraphAngle->isChecked())
    g.DrawAngle(list, hasTime);
  else if (miStatGraphDistance->isChecked())
    g.DrawDistance(list, hasTime);
  else if (miStatGraphSatellitesused->isChecked() && hasSat)
    g.DrawSatellites(list, hasTime);
  else if (miStatGraphHDOP->isChecked() && hasHDOP)
    g.DrawHDOP(list, hasTime);
  else
    drawn = false;
  if (drawn) PreviewDraw->SaveSnapshot();
  GPXStatImage->update();
}

void TMainForm::BottomLeftPanelResize() {
  if (!GPXStat) return;
  TGPXStat& g = *GPXStat;
  g.SetRect({0, 0, GPXStatImage->width(), GPXStatImage->height()});
  CurrentGraphPoint = nullptr;
  if (GPXLoaded && g.GPX) {
    g.Redraw();
  } else {
    // Nothing plotted yet: the pane shows the graph's background.
    g.Canvas->Brush.Color = g.Options.BackgroundColor;
    g.Canvas->Brush.Style = TBrushStyle::Solid;
    g.Canvas->FillRect(g.GetRect());
  }
  GPXStatImage->update();
}

void TMainForm::GPXStatImageDblClick() {
  PreviewDraw->RestoreSnapshot();
  GPXImage->update();
  if (TGPXwptList* list = GPXStat->Points.SourceList) {
    GPXStat->FirstIndex = 0;
    GPXStat->LastIndex = list->Count() - 1;
    UpdateStatGraph();
  }
}

void TMainForm::GPXStatImageMouseDown(Qt::MouseButtons shift, int X) {
  TGPXStat& g = *GPXStat;
  if (!g.Points.SourceList || !(shift & Qt::LeftButton)) return;
  g.SelActive = 0;
  g.SelStart = g.Points.NearestX(X);
  // The redraw makes the plotted points anew; the point under the mouse keeps its place, so
  // the pop-up's point commands still act on it after a click without a move.
  const int hovered = CurrentGraphPoint && g.Points.Count() ? static_cast<int>(CurrentGraphPoint - g.Points.GetItem(0)) : -1;
  g.Redraw();
  CurrentGraphPoint = hovered >= 0 && hovered < g.Points.Count() ? g.Points.GetItem(hovered) : nullptr;
  if (g.SelStart >= 0 && g.SelStart < g.Points.Count()) g.DrawRangeMarker(g.Points.GetItem(g.SelStart)->X);
  g.SaveSnapshot();
  GPXStatImage->update();
}

void TMainForm::GPXStatImageMouseUp(Qt::MouseButton button, int X) {
  TGPXStat& g = *GPXStat;
  if (!g.Points.SourceList || button != Qt::LeftButton) return;
  g.SelActive = 0;
  g.SelEnd = g.Points.NearestX(X);
  if (g.SelStart > g.SelEnd) std::swap(g.SelStart, g.SelEnd);
  if (g.SelStart == g.SelEnd || g.SelStart < 0) return;
  g.SelActive = 1;
  const int xa = g.Points.GetItem(g.SelStart)->X, xb = g.Points.GetItem(g.SelEnd)->X;
  g.RestoreSnapshot();
  g.DrawRangeMarker(xb);
  g.TintRange(xa, xb);
  g.DrawRangeMarker(xa);
  g.SaveSnapshot();
  GPXStatImage->update();
}

void TMainForm::GPXStatImageMouseMove(Qt::MouseButtons shift, int X, int Y) {
  ActivePane = 2;
  TGPXStat& g = *GPXStat;
  g.MouseX = X;
  g.MouseY = Y;
  if (!g.Points.SourceList || CurrentTabName() == "TabSheet3" || X < g.LeftMargin || Y > g.PlotBottom()) return;
  const int k = g.Options.SelectByXorXY == 1 ? g.Points.NearestXY(X, Y) : g.Points.NearestX(X);
  if (k < 0) return;
  TStatPoint* point = g.Points.GetItem(k);
  CurrentGraphPoint = point;
  PreviewDraw->CurrentPoint = point->Source;
  const bool dragging = (shift & Qt::LeftButton) && g.SelStart >= 0 && g.SelStart < g.Points.Count();

  g.RestoreSnapshot();
  if (dragging) g.TintRange(g.Points.GetItem(g.SelStart)->X, point->X);
  g.DrawHairlines(k);
  GPXStatImage->update();

  SetStatusText(0, " " + point->Source->LatLonToStr());
  if (g.Mode == smNone || g.Mode > 11) return;
  const int index = g.FirstIndex + k;
  SetStatusText(1, StatModeByTime(g.Mode) ? point->Source->TimeToStr() : _("Point") + " " + formatInt(index));
  ShowGraphValueAt(point);

  const std::string tab = CurrentTabName();
  TGPXDraw& v = *PreviewDraw;
  if (tab == "TabSheet1" && v.Canvas) {
    if (g.SelActive)
      v.RestoreSnapshotB();
    else
      v.RestoreSnapshot();
    if (dragging && v.CurrentList) {
      const TStatPoint* start = g.Points.GetItem(g.SelStart);
      const int a = indexInList(*v.CurrentList, start->Source, g.FirstIndex + g.SelStart);
      const int b = indexInList(*v.CurrentList, point->Source, index);
      if (a >= 0 && b >= 0)
        v.DrawPointListRange(v.CurrentList, std::min(a, b), std::max(a, b), g.Options.RangeSelectionColor);
      v.SaveSnapshotB();
    }
    v.DrawPoint(point->Source, v.Options.CutPointColor, 5);
    GPXImage->update();
  } else if (tab == "TabSheet2") {
    const int i = indexInList(*g.Points.SourceList, point->Source, index);
    if (SelectPointListRow && i >= 0) SelectPointListRow(i);
  } else if (tab == "TabSheet4") {
    MoveGreenMarker(point->Source->Lat, point->Source->Lon);  // once the page is ready
  }
}

bool TMainForm::GPXStatMouseWheel(int delta, const QPoint& globalPos) {
  if (!GPXStat || !GPXStat->Points.SourceList) return false;
  const int x = GPXStatImage->mapFromGlobal(globalPos).x();
  if (delta > 0)
    GPXStat->ZoomIn(x);
  else
    GPXStat->ZoomOut(x);
  CurrentGraphPoint = nullptr;  // the zoom made the plotted points anew
  GPXStatImage->update();
  return true;
}

void TMainForm::ShowGraphValueAt(TStatPoint* point) {
  const TGPXDraw* v = PreviewDraw.get();
  if (!v || !v->GPX || !v->CurrentPoint || !point || !point->Source || !v->GPX->Selection.HasRouteOrSegment())
    return;
  const std::string& name = point->Source->data().name;
  std::string s = name.empty() ? std::string() : name + " ";
  const TItem* first = v->GPX->Selection.At(0);
  if (first->Is(ItemKind::Rte) || first->Is(ItemKind::Trkseg)) {
    const std::string value = GraphValueText(GPXStat->Mode, point->Value);
    if (value.empty()) {
      ShowPointInfo("");
      return;
    }
    s += value;
  }
  ShowPointInfo(s);
}

void TMainForm::ShowPointInfo(const std::string& prefix) {
  const TGPXDraw* v = PreviewDraw.get();
  if (!v || !v->GPX || !v->CurrentPoint || !v->GPX->Selection.HasRouteOrSegment()) return;
  if (!v->CurrentPoint->Is(ItemKind::Wpt)) return;
  TPointInfoRequest r;
  r.Point = static_cast<const TGPXwpt*>(v->CurrentPoint);
  r.GPX = v->GPX;
  r.FirstSelected = v->GPX->Selection.At(0);
  r.ShowComputedSpeed = v->Options.ShowComputedSpeed;
  if (CurrentGraphPoint && CurrentGraphPoint->Source == r.Point && GPXStat->Points.Count() > 0)
    r.IndexHint = GPXStat->FirstIndex + static_cast<int>(CurrentGraphPoint - GPXStat->Points.GetItem(0));
  r.Prefix = prefix;
  SetStatusText(2, PointInfoText(r, StatOptions));
}
