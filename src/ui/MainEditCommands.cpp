// Editing commands on the selection: Delete with its confirmation, Duplicate, Zoom on the
// selected track, and the Edit menu's whole-document edits.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/TreeNodes.h"

namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// How the confirmation names the first selected item.
std::string deleteDescription(const TItem* item) {
  switch (item ? item->Kind() : ItemKind::Point) {
    case ItemKind::Rte:
      return _("the selected route") + " " + quoted(static_cast<const TGPXrte*>(item)->name);
    case ItemKind::Trk:
      return _("the selected track") + " " + quoted(static_cast<const TGPXtrk*>(item)->name);
    case ItemKind::Trkseg:
      return _("the selected track segment");
    case ItemKind::Wpt: {
      const std::string& name = static_cast<const TGPXwpt*>(item)->data().name;
      return _("the selected point") + (name.empty() ? "" : " " + quoted(name));
    }
    default:
      return _("the selected item");
  }
}

// True while the list is part of the document: the waypoint list, a route or a segment.
bool inDocument(const TGPX& gpx, const TGPXwptList* list) {
  if (list == &gpx.Waypoints) return true;
  if (list->Is(ItemKind::Rte)) return gpx.Routes.IndexOf(static_cast<const TGPXrte*>(list)) >= 0;
  if (list->Is(ItemKind::Trkseg))
    return gpx.Tracks.FindTrackOfSegment(static_cast<const TGPXtrkseg*>(list)) != nullptr;
  return false;
}

}  // namespace

void TMainForm::BuildEditCommands() {
  auto item = [this](const char* name, const std::string& caption, std::function<void()> handler) {
    QAction* a = MenuEdit->addAction(qs(caption));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
  };
  MenuEdit->addSeparator();
  item("Movealltracksegintothefirsttrack2", _("&Merge all tracks"),
       [this] { Movealltracksegintothefirsttrack2Click(); });
  item("Removeemptytracks2", _("&Remove empty tracks"), [this] { Removeemptytracks2Click(); });
  item("rasform1pointtracksintowaypoints1", _("&Transform 1-point tracks into waypoints"),
       [this] { rasform1pointtracksintowaypoints1Click(); });
  item("Createametadatasection1", _("&Create a metadata section"),
       [this] { Createametadatasection1Click(); });

  // The tree's pop-up: Enabled shows, checked, the visibility of the node's item.
  Enabled1 = pmTreeView->addAction(qs(_("&Enabled")));
  Enabled1->setObjectName("Enabled1");
  Enabled1->setCheckable(true);
  connect(Enabled1, &QAction::triggered, this, [this] { RunGuarded(this, [this] { Enabled1Click(); }); });
  connect(pmTreeView, &QMenu::aboutToShow, this, [this] {
    bool visible = false;
    const bool shown = NodeVisible(tvItems->currentItem(), visible);
    Enabled1->setVisible(shown);
    Enabled1->setChecked(shown && visible);
  });
}

void TMainForm::tbDeleteClick() {
  TGPX& gpx = *CurrentGPX;
  TGPXSelection& sel = gpx.Selection;
  if (sel.Count() == 0) return;
  if (PreviewDraw->Options.AskBeforeDelete) {
    const std::string question =
        _("Are you sure that you want to delete") + " " + deleteDescription(sel.At(0)) + " ?";
    if (!AskYesNo(this, qs(question))) return;
  }
  SaveUndoState();
  TGPXwptList* lastPointOwner = nullptr;
  for (TItem* item : sel.Items) {
    if (!item) continue;
    switch (item->Kind()) {
      case ItemKind::Rte:
        if (const int at = gpx.Routes.IndexOf(static_cast<TGPXrte*>(item)); at >= 0)
          Retired.Add(gpx.Routes.Extract(at));
        break;
      case ItemKind::Trk:
        if (const int at = gpx.Tracks.IndexOf(static_cast<TGPXtrk*>(item)); at >= 0)
          Retired.Add(gpx.Tracks.Extract(at));
        break;
      case ItemKind::Trkseg: {
        // A segment of a track deleted before it went with that track.
        auto* seg = static_cast<TGPXtrkseg*>(item);
        if (TGPXtrk* trk = gpx.Tracks.FindTrackOfSegment(seg)) Retired.Add(trk->Extract(trk->IndexOf(seg)));
        break;
      }
      case ItemKind::Wpt: {
        auto* point = static_cast<TGPXwpt*>(item);
        if (TGPXwptList* owner = gpx.FindPointOwner(point)) {
          Retired.Add(owner->Extract(owner->IndexOf(point)));
          lastPointOwner = owner;
        }
        break;
      }
      default:
        AddLog(_("Unknown Data type") + " (" + item->className() + ")");
        break;
    }
  }
  sel.Clear();
  // The list of the last deleted point stays selected, unless it was deleted as well.
  if (lastPointOwner && inDocument(gpx, lastPointOwner)) sel.Add(lastPointOwner);
  GPXModified = true;
  RefreshTree();
  // The list that stays selected shows in the tree: else a second Delete would take a whole
  // list that nothing on screen marks.
  if (sel.Count() > 0)
    SelectTreeNodes(sel.Items);
  else
    ShowNodeStatus(nullptr);  // no counts of what is gone
  ReleaseStaleReferences();
  tbDelete->setEnabled(false);
  DrawPreview();
  if (lastPointOwner) PointListSelectionChanged();
}

void TMainForm::tbDuplicateClick() {
  ReleaseToolButtons(nullptr);
  SetToolMode(1);  // no button is down any more, so no tool may stay active
  TGPX& gpx = *CurrentGPX;
  if (gpx.Selection.Count() != 1) return;
  SaveUndoState();
  TItem* item = gpx.Selection.At(0);
  switch (item ? item->Kind() : ItemKind::Point) {
    case ItemKind::Wpt: {
      auto* w = static_cast<TGPXwpt*>(item);
      auto copy = std::make_unique<TGPXwpt>();
      copy->Assign(*w);
      copy->edit().name += " (copy)";
      // A route or track point chosen in the point grid is copied to the head of the list.
      gpx.Waypoints.Insert(gpx.Waypoints.IndexOf(w) + 1, std::move(copy));
      break;
    }
    case ItemKind::Rte: {
      auto* r = static_cast<TGPXrte*>(item);
      auto copy = std::make_unique<TGPXrte>();
      copy->Assign(*r);
      copy->name += " (copy)";
      gpx.Routes.Insert(gpx.Routes.IndexOf(r) + 1, std::move(copy));
      break;
    }
    case ItemKind::Trk: {
      auto* t = static_cast<TGPXtrk*>(item);
      auto copy = std::make_unique<TGPXtrk>();
      copy->Assign(*t);
      copy->name += " (copy)";
      gpx.Tracks.Insert(gpx.Tracks.IndexOf(t) + 1, std::move(copy));
      break;
    }
    case ItemKind::Trkseg: {
      auto* s = static_cast<TGPXtrkseg*>(item);
      if (TGPXtrk* t = gpx.Tracks.FindTrackOfSegment(s)) {
        auto copy = std::make_unique<TGPXtrkseg>();
        copy->Assign(*s);
        t->Insert(t->IndexOf(s) + 1, std::move(copy));
      }
      break;
    }
    default:
      break;
  }
  GPXModified = true;
  DrawPreview();
  RefreshTree();
  if (gpx.Selection.Count() > 0) SelectTreeNodes(gpx.Selection.Items);
}

void TMainForm::Movealltracksegintothefirsttrack2Click() {
  TGPX& gpx = *CurrentGPX;
  TGPXtrkList& tracks = gpx.Tracks;
  if (tracks.Count() >= 2) {
    TGPXtrk* first = tracks.At(0);
    for (int t = tracks.Count() - 1; t >= 1; --t) {
      TGPXtrk* trk = tracks.At(t);
      // The segments themselves move: whatever refers to one still finds it.
      for (int s = trk->Count() - 1; s >= 0; --s) first->Add(trk->Extract(s));
      Retired.Add(tracks.Extract(t));
    }
    GPXModified = true;
  }
  gpx.Selection.Clear();
  gpx.Selection.Add(&tracks);
  RefreshTree();
  ReleaseStaleReferences();
  SelectTreeNodes(gpx.Selection.Items);
}

void TMainForm::Removeemptytracks2Click() {
  TGPX& gpx = *CurrentGPX;
  for (int t = gpx.Tracks.Count() - 1; t >= 0; --t) {
    TGPXtrk* trk = gpx.Tracks.At(t);
    for (int s = trk->Count() - 1; s >= 0; --s)
      if (trk->At(s)->Count() == 0) {
        Retired.Add(trk->Extract(s));
        GPXModified = true;
      }
    if (trk->Count() == 0) {
      Retired.Add(gpx.Tracks.Extract(t));
      GPXModified = true;
    }
  }
  gpx.Selection.Clear();
  gpx.Selection.Add(&gpx.Tracks);
  RefreshTree();
  ReleaseStaleReferences();
  SelectTreeNodes(gpx.Selection.Items);
}

void TMainForm::rasform1pointtracksintowaypoints1Click() {
  TGPX& gpx = *CurrentGPX;
  for (int t = gpx.Tracks.Count() - 1; t >= 0; --t) {
    TGPXtrk* trk = gpx.Tracks.At(t);
    for (int s = trk->Count() - 1; s >= 0; --s) {
      TGPXtrkseg* seg = trk->At(s);
      if (seg->Count() == 0) continue;
      // One place, however many times it was recorded: times are not compared.
      const TPoint4D2* p0 = seg->First();
      bool onePlace = true;
      for (const auto& p : seg->Items())
        if (p->Lat != p0->Lat || p->Lon != p0->Lon || p->Ele != p0->Ele) {
          onePlace = false;
          break;
        }
      if (!onePlace) continue;
      auto w = std::make_unique<TGPXwpt>();
      w->Assign(*seg->GetPoint(0));
      if (w->data().name.empty()) {
        w->edit().name = _("WayPoint #") + std::to_string(gpx.Waypoints.Count() + 1);
        w->edit().src = _("Converted from a track");
      }
      AddLog(_("Deleting trackseg #") + std::to_string(s + 1) + " " + _("from") + " " + trk->name +
             _(", adding waypoint") + " " + w->data().name);
      TGPXwpt* added = gpx.Waypoints.AddPoint(std::move(w));
      gpx.Selection.Clear();
      gpx.Selection.Add(added);
      gpx.Waypoints.Present = true;
      Retired.Add(trk->Extract(s));
      GPXModified = true;
    }
  }
  RefreshTree();
  ReleaseStaleReferences();
  SelectTreeNodes(gpx.Selection.Items);
}

void TMainForm::Createametadatasection1Click() {
  TGPX& gpx = *CurrentGPX;
  gpx.Metadata.Present = true;
  GPXModified = true;
  gpx.Selection.Clear();
  gpx.Selection.Add(&gpx.Metadata);
  RefreshTree();
  SelectTreeNodes(gpx.Selection.Items);
}

void TMainForm::tbZoomTrackClick() {
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (sel.Count() != 1 || !sel.At(0)) return;
  TItem* item = sel.At(0);
  if (item->Is(ItemKind::Rte))
    PreviewDraw->ZoomToPointList(static_cast<TGPXrte*>(item));
  else if (item->Is(ItemKind::Trkseg))
    PreviewDraw->ZoomToPointList(static_cast<TGPXtrkseg*>(item));
  else
    return;
  DrawPreview();
}

// The item's visibility as the node's data holds it; false for a node without one.
bool TMainForm::NodeVisible(const QTreeWidgetItem* node, bool& visible) const {
  TItem* item = treeNodeItem(node);
  switch (treeNodeKind(node)) {
    case TreeNodeKind::Document: visible = CurrentGPX->Visible; return true;
    case TreeNodeKind::Wpt: visible = static_cast<TGPXwpt*>(item)->Visible; return true;
    case TreeNodeKind::WptList: visible = static_cast<TGPXwptList*>(item)->Visible; return true;
    case TreeNodeKind::Rte: visible = static_cast<TGPXrte*>(item)->Visible; return true;
    case TreeNodeKind::Trkseg: visible = static_cast<TGPXtrkseg*>(item)->Visible; return true;
    case TreeNodeKind::RteList: visible = static_cast<TGPXrteList*>(item)->Visible; return true;
    case TreeNodeKind::TrkList: visible = static_cast<TGPXtrkList*>(item)->Visible; return true;
    case TreeNodeKind::Trk: visible = static_cast<TGPXtrk*>(item)->Visible; return true;
    default: return false;
  }
}

void TMainForm::Enabled1Click() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (!node || !treeNodeObject(node)) return;
  // The item has already toggled its check mark.
  const bool flag = Enabled1->isChecked();
  TItem* item = treeNodeItem(node);
  switch (treeNodeKind(node)) {
    case TreeNodeKind::Document:
      if (treeNodeObject(node) == CurrentGPX.get()) CurrentGPX->SetVisible(flag);
      break;
    case TreeNodeKind::Wpt: static_cast<TGPXwpt*>(item)->Visible = flag; break;
    case TreeNodeKind::WptList: static_cast<TGPXwptList*>(item)->SetVisible(flag); break;
    case TreeNodeKind::Rte: static_cast<TGPXrte*>(item)->SetVisible(flag); break;
    case TreeNodeKind::Trkseg: static_cast<TGPXtrkseg*>(item)->SetVisible(flag); break;
    case TreeNodeKind::RteList: static_cast<TGPXrteList*>(item)->SetVisible(flag); break;
    case TreeNodeKind::TrkList: static_cast<TGPXtrkList*>(item)->SetVisible(flag); break;
    case TreeNodeKind::Trk: static_cast<TGPXtrk*>(item)->SetVisible(flag); break;
    default: return;
  }
  RefreshTree();
  SelectTreeNodes(CurrentGPX->Selection.Items);
  DrawPreview();
}
