// The graph's pop-up menu: the graph type, the commands on the point under the mouse, on the
// selected range and on the values, and the graph picture.
#include <unordered_set>

#include <QActionGroup>
#include <QMenu>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/PointListRemove.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "views/GraphTexts.h"

void TMainForm::BuildGraphMenu() {
  pmAltitude = new QMenu(this);
  pmAltitude->setObjectName("pmAltitude");
  auto item = [this](QMenu* menu, const char* name, const std::string& caption, std::function<void()> handler) {
    auto* a = menu->addAction(qs(caption));
    a->setObjectName(name);
    if (handler) connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
    return a;
  };
  auto submenu = [this](const char* name, const std::string& caption) {
    QMenu* m = pmAltitude->addMenu(qs(caption));
    m->setObjectName(name);
    return m;
  };

  N8 = submenu("N8", _("Graph type"));
  auto* types = new QActionGroup(this);
  types->setExclusive(true);
  struct Type {
    QAction** field;
    const char* name;
    std::string caption;
  };
  const Type typeItems[] = {{&miStatGraphAltitude, "miStatGraphAltitude", _("&Altitude")},
                            {&miStatGraphSpeed, "miStatGraphSpeed", _("&Speed")},
                            {&miStatGraphAngle, "miStatGraphAngle", _("A&ngle")},
                            {&miStatGraphDistance, "miStatGraphDistance", _("&Distance")},
                            {&miStatGraphSatellitesused, "miStatGraphSatellitesused", _("Sa&tellites used")},
                            {&miStatGraphHDOP, "miStatGraphHDOP", _("&HDOP")}};
  for (const Type& t : typeItems) {
    *t.field = item(N8, t.name, t.caption, [this] { miStatGraphDistanceClick(); });
    (*t.field)->setCheckable(true);
    types->addAction(*t.field);
  }
  miStatGraphAltitude->setChecked(true);

  Point1 = submenu("Point1", _("Point"));
  Properties2 = item(Point1, "Properties2", _("Properties"), [this] { Properties2Click(); });
  Plantawaypoint1 = item(Point1, "Plantawaypoint1", _("Plant a waypoint"), [this] { Plantawaypoint1Click(); });
  Cuthere1 = item(Point1, "Cuthere1", _("Cut here"), [this] { Cuthere1Click(); });
  Point1->addSeparator();
  Delete2 = item(Point1, "Delete2", _("Delete point"), [this] { Delete2Click(); });

  Selection1 = submenu("Selection1", _("Selection"));
  imSelectionZoomGraph =
      item(Selection1, "imSelectionZoomGraph", _("Zoom Graph"), [this] { imSelectionZoomGraphClick(); });
  imSelectionZoomGraphPreview = item(Selection1, "imSelectionZoomGraphPreview", _("Zoom Graph and Preview"),
                                     [this] { imSelectionZoomGraphPreviewClick(); });
  Selection1->addSeparator();
  imSelectionCopyToNew =
      item(Selection1, "imSelectionCopyToNew", _("Copy to a new track"), [this] { imSelectionCopyToNewClick(); });
  Selection1->addSeparator();
  imSelectionDelete = item(Selection1, "imSelectionDelete", _("Delete"), [this] { imSelectionDeleteClick(); });
  imSelectionTrim = item(Selection1, "imSelectionTrim", _("Trim"), [this] { imSelectionTrimClick(); });

  Value1 = submenu("Value1", _("Value"));
  imValueDeleteBelow = item(Value1, "imValueDeleteBelow", _("Delete point with value below X"),
                            [this] { imValueDeleteBelowClick(); });
  imValueDeleteAbove = item(Value1, "imValueDeleteAbove", _("Delete point with value above X"),
                            [this] { imValueDeleteAboveClick(); });
  Savepicture1 = item(pmAltitude, "Savepicture1", _("Save picture"), [this] { Savepicture1Click(); });
  Cancel1 = item(pmAltitude, "Cancel1", _("Cancel"), nullptr);
}

void TMainForm::pmAltitudePopup() {
  Point1->menuAction()->setEnabled(false);
  Value1->menuAction()->setEnabled(false);
  for (QAction* a : Point1->actions()) a->setEnabled(false);

  const TGPXwptList* list = PreviewDraw ? PreviewDraw->CurrentList : nullptr;
  const TGPXwpt* p0 = list && list->Count() >= 2 ? list->GetPoint(0) : nullptr;
  miStatGraphAltitude->setEnabled(p0 && p0->Ele != 0);
  miStatGraphSpeed->setEnabled(p0 && p0->Time != 0);
  miStatGraphSatellitesused->setEnabled(p0 && p0->data().sat != 255);
  miStatGraphHDOP->setEnabled(p0 && p0->data().hdop != -1.0);

  Selection1->menuAction()->setEnabled(GPXStat->SelActive != 0);
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (GPXStat->SelActive && sel.Count() > 0) {
    if (sel.At(0)->Is(ItemKind::Rte))
      imSelectionCopyToNew->setText(qs(_("Copy to a new route")));
    else if (sel.At(0)->Is(ItemKind::Trkseg))
      imSelectionCopyToNew->setText(qs(_("Copy to a new track")));
  }

  if (CurrentGraphPoint && CurrentGraphPoint->Source) {
    const std::string v = GraphValueCaption(GPXStat->Mode, CurrentGraphPoint->Value);
    Value1->menuAction()->setEnabled(!v.empty());
    imValueDeleteBelow->setText(qs(_("Delete point with value below") + " " + v));
    imValueDeleteAbove->setText(qs(_("Delete point with value above") + " " + v));
    Point1->menuAction()->setEnabled(true);
    for (QAction* a : Point1->actions()) a->setEnabled(true);
  }
}

void TMainForm::miStatGraphDistanceClick() {
  PreviewDraw->RestoreSnapshot();
  GPXImage->update();
  UpdateStatGraph();
}

void TMainForm::FinishGraphEdit(TItem* select) {
  if (select) {
    CurrentGPX->Selection.Clear();
    CurrentGPX->Selection.Add(select);
  }
  RefreshTree();
  // Frees what the edit took out, after every reference to it is gone; redraws the graph.
  ReleaseStaleReferences();
  DrawPreview();
  if (CurrentGPX->Selection.Count() > 0) SelectTreeNodes(CurrentGPX->Selection.Items);
}

void TMainForm::Properties2Click() {
  TGPXwptList* list = GPXStat->Points.SourceList;
  if (!CurrentGraphPoint || !CurrentGraphPoint->Source || !list || CurrentGPX->Selection.Count() == 0) return;
  // The list the graph shows holds the point: the edited copy takes its place there.
  if (EditWayPointProperties(CurrentGraphPoint->Source, list)) UpdateStatGraph();
}

void TMainForm::Plantawaypoint1Click() {
  if (!CurrentGraphPoint || !CurrentGraphPoint->Source) return;
  const TGPXwpt& source = *CurrentGraphPoint->Source;
  SaveUndoState();
  TGPX& gpx = *CurrentGPX;
  auto wpt = std::make_unique<TGPXwpt>();
  wpt->Assign(source);
  if (wpt->data().name.empty()) wpt->edit().name = "Waypoint #" + formatInt(gpx.Waypoints.Count() + 1);
  if (wpt->data().src.empty()) wpt->edit().src = "Waypoint added from a track or route";
  gpx.Waypoints.AddPoint(std::move(wpt));
  gpx.Waypoints.Present = true;
  GPXModified = true;
  DrawPreview();
  RefreshTree();
}

void TMainForm::Cuthere1Click() {
  if (!CurrentGraphPoint || !CurrentGraphPoint->Source) return;
  const TGPXwpt* source = CurrentGraphPoint->Source;
  SaveUndoState();
  TGPX& gpx = *CurrentGPX;
  TGPXSelection& sel = gpx.Selection;
  if (sel.Count() == 1) {
    TItem* item = sel.At(0);
    if (item->Is(ItemKind::Rte)) {
      if (TGPXrte* part = gpx.Routes.SplitRoute(static_cast<TGPXrte*>(item), source, Retired)) {
        sel.Clear();
        sel.Add(part);
      }
    } else if (item->Is(ItemKind::Trkseg)) {
      auto* seg = static_cast<TGPXtrkseg*>(item);
      sel.Clear();
      if (TGPXtrk* trk = gpx.Tracks.FindTrackOfSegment(seg))
        if (TGPXtrkseg* part = trk->SplitSegment(seg, source, Retired)) sel.Add(part);
    }
  }
  GPXModified = true;
  RefreshTree();
  ReleaseStaleReferences();  // redraws the graph
  PreviewDraw->SaveSnapshot();
  if (sel.Count() > 0) SelectTreeNodes(sel.Items);
}

void TMainForm::Delete2Click() {
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (!CurrentGraphPoint || !CurrentGraphPoint->Source || sel.Count() == 0) return;
  TItem* first = sel.At(0);
  if (!first->Is(ItemKind::Rte) && !first->Is(ItemKind::Trkseg) && !first->Is(ItemKind::WptList)) return;
  auto* list = static_cast<TGPXwptList*>(first);
  // Only the list that holds the point gives it up: a point shown from another list stays.
  const int index = list->IndexOf(CurrentGraphPoint->Source);
  if (index < 0) return;
  SaveUndoState();
  Retired.Add(list->Extract(index));
  ReleaseStaleReferences();  // redraws the graph
  DrawPreview();
}

bool TMainForm::GraphSelectionIndexes(int& i1, int& i2) const {
  const TGPXStat& g = *GPXStat;
  const TGPXwptList* list = g.Points.SourceList;
  if (!list || g.SelStart < 0 || g.SelEnd >= g.Points.Count() || g.SelStart > g.SelEnd) return false;
  i1 = list->IndexOf(g.Points.GetItem(g.SelStart)->Source);
  i2 = list->IndexOf(g.Points.GetItem(g.SelEnd)->Source);
  return i1 >= 0 && i2 >= 0;
}

void TMainForm::imSelectionZoomGraphClick() {
  TGPXStat& g = *GPXStat;
  if (!g.Points.SourceList || !g.SelActive) return;
  const int first = g.FirstIndex;
  g.FirstIndex = first + g.SelStart;
  g.LastIndex = first + g.SelEnd;
  g.SelStart = g.SelEnd = -1;
  g.SelActive = 0;
  g.Redraw();
  CurrentGraphPoint = nullptr;  // the redraw made the plotted points anew
  GPXStatImage->update();
}

void TMainForm::imSelectionZoomGraphPreviewClick() {
  TGPXStat& g = *GPXStat;
  if (!g.Points.SourceList || !g.SelActive) return;
  imSelectionZoomGraphClick();
  TGPXwptList* list = g.Points.SourceList;
  if (!PreviewDraw->GPX || !list || g.Points.Count() == 0) return;
  const int a = list->IndexOf(g.Points.GetItem(0)->Source);
  const int b = list->IndexOf(g.Points.GetItem(g.Points.Count() - 1)->Source);
  if (a < 0 || b < 0) return;
  PreviewDraw->ZoomToPointRange(list, a, b);
  DrawPreview();
}

void TMainForm::imSelectionCopyToNewClick() {
  TGPXStat& g = *GPXStat;
  TGPX& gpx = *CurrentGPX;
  if (!g.Points.SourceList || !g.SelActive || gpx.Selection.Count() == 0) return;
  TItem* first = gpx.Selection.At(0);
  // Only a route or a segment has points to copy.
  if (!first->Is(ItemKind::Rte) && !first->Is(ItemKind::Trkseg)) return;
  TGPXtrk* trk = first->Is(ItemKind::Trkseg) ? gpx.Tracks.FindTrackOfSegment(static_cast<TGPXtrkseg*>(first)) : nullptr;
  if (first->Is(ItemKind::Trkseg) && !trk) return;
  const TGPXwpt* a = g.Points.GetItem(g.SelStart)->Source;
  const TGPXwpt* b = g.Points.GetItem(g.SelEnd)->Source;
  SaveUndoState();
  TGPXwptList* copy = nullptr;
  if (first->Is(ItemKind::Rte)) {
    auto* rte = static_cast<TGPXrte*>(first);
    auto made = std::make_unique<TGPXrte>();
    made->Assign(*rte);
    made->name += " (copy)";
    copy = gpx.Routes.Insert(gpx.Routes.IndexOf(rte) + 1, std::move(made));
  } else {
    auto* seg = static_cast<TGPXtrkseg*>(first);
    auto made = std::make_unique<TGPXtrkseg>();
    made->Assign(*seg);
    copy = trk->Insert(trk->IndexOf(seg) + 1, std::move(made));
  }
  GPXModified = true;
  const auto* list = static_cast<const TGPXwptList*>(first);
  const int i1 = list->IndexOf(a), i2 = list->IndexOf(b);
  AddLog("From " + formatInt(i1) + " To " + formatInt(i2));
  if (i1 >= 0 && i2 >= 0)
    freePointsIf(*copy, [&](int i, const TPoint4D2&) { return i < i1 || i > i2; });
  FinishGraphEdit(copy);
}

void TMainForm::CutGraphSelection(bool keep) {
  TGPXStat& g = *GPXStat;
  TGPXwptList* list = g.Points.SourceList;
  if (!list || !g.SelActive) return;
  int i1 = -1, i2 = -1;
  if (GraphSelectionIndexes(i1, i2) && i1 < i2) {
    SaveUndoState();
    Retired.AddAll(extractPointsIf(*list, [&](int i, const TPoint4D2&) { return (i >= i1 && i <= i2) != keep; }));
    GPXModified = true;
  }
  FinishGraphEdit(list);
}

void TMainForm::imSelectionDeleteClick() { CutGraphSelection(false); }
void TMainForm::imSelectionTrimClick() { CutGraphSelection(true); }

void TMainForm::DeleteGraphValues(bool below) {
  TGPXStat& g = *GPXStat;
  TGPXwptList* list = g.Points.SourceList;
  if (!list || !CurrentGraphPoint || !CurrentGraphPoint->Source) return;
  const double x = CurrentGraphPoint->Value;
  SaveUndoState();
  std::unordered_set<const TPoint4D2*> drop;
  for (const TStatPoint& p : g.Points.Items())
    if (below ? p.Value < x : p.Value > x) drop.insert(p.Source);
  if (!drop.empty()) {
    Retired.AddAll(extractPointsIf(*list, [&](int, const TPoint4D2& p) { return drop.count(&p) > 0; }));
    GPXModified = true;
  }
  FinishGraphEdit(list);
}

void TMainForm::imValueDeleteBelowClick() { DeleteGraphValues(true); }
void TMainForm::imValueDeleteAboveClick() { DeleteGraphValues(false); }
