// The item tree: rebuilding it from the document with the expanded path kept, selecting
// nodes for a list of items, and what selecting a node does.
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/SelectionInfo.h"
#include "ui/TreeNodes.h"

namespace {

QTreeWidgetItem* addNode(QTreeWidgetItem* parent, TreeNodeKind kind, const void* object, const std::string& caption,
                         int image, bool editable = false) {
  auto* node = new QTreeWidgetItem(parent);
  setTreeNode(node, kind, object, qs(caption), image);
  if (editable) node->setFlags(node->flags() | Qt::ItemIsEditable);
  return node;
}

// A named item shows its name, else its kind and its place under its parent.
std::string itemCaption(const std::string& name, const std::string& unnamed, const QTreeWidgetItem* parent) {
  return !name.empty() ? name : unnamed + formatInt(parent->childCount() + 1);
}

std::string listCaption(const std::string& caption, int count) { return caption + " (" + formatInt(count) + ")"; }

void expandAll(QTreeWidgetItem* node) {
  node->setExpanded(true);
  for (int i = 0; i < node->childCount(); ++i) expandAll(node->child(i));
}

}  // namespace

void TMainForm::RefreshTree() {
  // A rebuild is not a selection change of the user's.
  const QSignalBlocker block(tvItems);
  SaveTreeSelectionPath();
  tvItems->clear();
  if (!CurrentGPX) {
    AddLog(_("GPX Object missing, nothing to display"));
    UpdateCommands(true);
    return;
  }
  // Even with nothing loaded the tree shows the document as it is, its root at least, as
  // after Close: an empty tree would offer nothing to select.
  if (!GPXLoaded) AddLog(_("No GPX file loaded, nothing to display"));
  TGPX& gpx = *CurrentGPX;
  auto* root = new QTreeWidgetItem(tvItems);
  setTreeNode(root, TreeNodeKind::Document, &gpx, "GPX", gpx.Visible ? 1 : 13);
  if (gpx.Metadata.Present)
    addNode(root, TreeNodeKind::Metadata, static_cast<const TItem*>(&gpx.Metadata), _("Metadata"), 2);
  if (gpx.Waypoints.Present) {
    auto* list = addNode(root, TreeNodeKind::WptList, static_cast<const TItem*>(&gpx.Waypoints),
                         listCaption(_("Waypoints"), gpx.Waypoints.Count()), gpx.Waypoints.Visible ? 3 : 14);
    const std::string unnamed = _("WayPoint #");
    for (int i = 0; i < gpx.Waypoints.Count(); ++i) {
      const TGPXwpt* wpt = gpx.Waypoints.GetPoint(i);
      addNode(list, TreeNodeKind::Wpt, static_cast<const TItem*>(wpt), itemCaption(wpt->data().name, unnamed, list),
              wpt->Visible ? 4 : 15, true);
    }
  }
  if (gpx.Routes.Present) {
    auto* list = addNode(root, TreeNodeKind::RteList, static_cast<const TItem*>(&gpx.Routes),
                         listCaption(_("Routes"), gpx.Routes.Count()), gpx.Routes.Visible ? 5 : 16);
    const std::string unnamed = _("Route #");
    for (const auto& rte : gpx.Routes.Items())
      addNode(list, TreeNodeKind::Rte, static_cast<const TItem*>(rte.get()), itemCaption(rte->name, unnamed, list),
              rte->Visible ? 6 : 17, true);
  }
  if (gpx.Tracks.Present) {
    auto* list = addNode(root, TreeNodeKind::TrkList, static_cast<const TItem*>(&gpx.Tracks),
                         listCaption(_("Tracks"), gpx.Tracks.Count()), gpx.Tracks.Visible ? 7 : 18);
    const std::string unnamed = _("Track #"), segmentCaption = _("Track Segment #");
    for (const auto& trk : gpx.Tracks.Items()) {
      auto* track = addNode(list, TreeNodeKind::Trk, static_cast<const TItem*>(trk.get()),
                            itemCaption(trk->name, unnamed, list), trk->Visible ? 8 : 19, true);
      for (const auto& seg : trk->Items())
        addNode(track, TreeNodeKind::Trkseg, static_cast<const TItem*>(seg.get()),
                segmentCaption + formatInt(track->childCount() + 1), seg->Visible ? 9 : 20);
    }
  }
  if (!gpx.Extension.Text.empty()) addNode(root, TreeNodeKind::Extension, &gpx.Extension, _("Extensions"), 10);
  // The lists start collapsed; only the root shows its children.
  root->setExpanded(true);
  ExpandTreeSelectionPath();
  // Every edit ends with a rebuild: the commands follow what the edit left.
  UpdateCommands(true);
  EditionSelectionChanged();
}

void TMainForm::SaveTreeSelectionPath() {
  QTreeWidgetItem* first = nullptr;
  for (QTreeWidgetItemIterator it(tvItems, QTreeWidgetItemIterator::Selected); *it; ++it) {
    first = *it;
    break;
  }
  if (!first) return;
  treePath_.clear();
  for (QTreeWidgetItem* node = first; node; node = node->parent())
    treePath_.insert(treePath_.begin(), {node->text(0), treeNodeObject(node)});
}

void TMainForm::ExpandTreeSelectionPath() {
  if (tvItems->topLevelItemCount() == 0) return;
  for (int i = static_cast<int>(treePath_.size()) - 1; i >= 0; --i) {
    const void* object = treePath_[static_cast<size_t>(i)].second;
    if (!object) {
      treePath_.erase(treePath_.begin() + i);
      continue;
    }
    for (QTreeWidgetItemIterator it(tvItems); *it; ++it)
      if (treeNodeObject(*it) == object) {
        (*it)->setExpanded(true);
        break;
      }
  }
}

void TMainForm::SelectTreeNodes(const std::vector<TItem*>& items) {
  // A copy: a caller may hand in the document's own selection, and nothing here may run
  // the selection change while it is walked.
  const std::vector<TItem*> wanted = items;
  const QSignalBlocker block(tvItems);
  tvItems->clearSelection();
  for (TItem* item : wanted) {
    if (!item) continue;
    const void* object = static_cast<const void*>(item);
    for (QTreeWidgetItemIterator it(tvItems); *it; ++it) {
      if (treeNodeObject(*it) != object) continue;
      QTreeWidgetItem* node = *it;
      tvItems->setCurrentItem(node, 0, QItemSelectionModel::Select);
      for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) up->setExpanded(true);
      expandAll(node);
      tvItems->scrollToItem(node);
    }
  }
  ShowTreeSelection();
}

void TMainForm::ShowTreeSelection() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (!node || !node->isSelected() || !treeNodeObject(node)) return;
  const TreeNodeKind kind = treeNodeKind(node);
  // The graph shows the selected route or segment, not the list selected before the edit;
  // an unchanged list keeps its graph (and the range chosen on it).
  if ((kind == TreeNodeKind::Rte || kind == TreeNodeKind::Trkseg) && PreviewDraw) {
    auto* list = static_cast<TGPXwptList*>(treeNodeItem(node));
    if (PreviewDraw->CurrentList != list) {
      PreviewDraw->CurrentList = list;
      UpdateStatGraph();
    }
  }
  // An edit that replaced the shown list (a filtered or cut segment) leaves the grid empty
  // otherwise, while the page is showing and the new list is selected.
  PointListSelectionChanged();
  ShowNodeStatus(node);
}

void TMainForm::ShowNodeStatus(QTreeWidgetItem* node) {
  const int position = node && node->parent() ? node->parent()->indexOfChild(node) + 1 : 0;
  const TSelectionInfo info = node ? selectionInfo(treeNodeKind(node), treeNodeObject(node), position) : TSelectionInfo{};
  for (size_t i = 0; i < info.Panels.size(); ++i) SetStatusText(static_cast<int>(i), info.Panels[i]);
}

void TMainForm::tvItemsChange() {
  if (!CurrentGPX) return;  // the window is being taken down
  QTreeWidgetItem* node = tvItems->currentItem();
  if (!node) {
    AddLog(_("No item selected"));
    return;
  }
  const TreeNodeKind kind = treeNodeKind(node);
  const void* object = treeNodeObject(node);
  if (kind == TreeNodeKind::None || !object) {
    AddLog(_("No data on item"));
    return;
  }
  const int position = node->parent() ? node->parent()->indexOfChild(node) + 1 : 0;
  CurrentGPX->Selection.Clear();
  if (TItem* item = treeNodeItem(node)) CurrentGPX->Selection.Add(item);

  const TSelectionInfo info = selectionInfo(kind, object, position);
  if (kind == TreeNodeKind::Rte || kind == TreeNodeKind::Trkseg)
    PreviewDraw->CurrentList = static_cast<TGPXwptList*>(treeNodeItem(node));
  // Every node redraws: the highlight of a route or waypoint selected before must go, or
  // the preview shows a selection that Delete would not act on.
  DrawPreview();
  PointListSelectionChanged();
  if (!info.Log.empty()) AddLog(info.Log);
  for (size_t i = 0; i < info.Panels.size(); ++i) SetStatusText(static_cast<int>(i), info.Panels[i]);
  UpdateCommands(true);
  UpdateStatGraph();
}
