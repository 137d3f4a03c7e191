// The tree's wiring: selection change, label editing, and the pop-up menu pmTreeView with
// its tree-only commands (Bind all track segments, Sort by date, Move to a new Track).
#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/TreeNodes.h"

void TMainForm::BuildTreeCommands() {
  tvItems->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  // The document's selection follows the nodes the user selects, not the current node: the
  // tree also makes a node current by itself (the first one, when it gets the focus without
  // one), and that is no choice of the user's. Selections made by the program run with the
  // signals blocked. A node just taken out of the selection is not chosen either.
  connect(tvItems, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QTreeWidgetItem* current = tvItems->currentItem();
    if (current && !current->isSelected()) return;
    RunGuarded(this, [this] { tvItemsChange(); });
  });
  // A multiple selection holds siblings only: a click elsewhere starts it anew among the
  // clicked node's siblings. Queued, because a key that extends the selection moves the
  // current node only after it.
  connect(tvItems, &QTreeWidget::itemSelectionChanged, this, [this] {
    QMetaObject::invokeMethod(
        tvItems,
        [tree = tvItems] {
          const QTreeWidgetItem* current = tree->currentItem();
          if (!current || !current->isSelected()) return;
          const QSignalBlocker block(tree);
          for (QTreeWidgetItem* node : tree->selectedItems())
            if (node->parent() != current->parent()) node->setSelected(false);
        },
        Qt::QueuedConnection);
  });
  // Only the user's edits change an editable caption while signals are on; the rebuild
  // sets captions with the tree's signals blocked.
  connect(tvItems, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node, int column) {
    if (column != 0 || !(node->flags() & Qt::ItemIsEditable) ||
        node->text(0) == node->data(0, TreeNodeRole::Caption).toString())
      return;
    RunGuarded(this, [&] { tvItemsEdited(node, node->text(0)); });
  });

  pmTreeView = new QMenu(tvItems);
  pmTreeView->setObjectName("pmTreeView");
  auto item = [this](const std::string& caption, const char* name, std::function<void()> run) {
    auto* action = pmTreeView->addAction(qs(caption));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, run] { RunGuarded(this, run); });
    return action;
  };
  Delete1 = item(_("&Delete"), "Delete1", [this] { Delete1Click(); });
  MovetoanewTrack1 = item(_("&Move to a new Track"), "MovetoanewTrack1", [this] { MovetoanewTrack1Click(); });
  Bindalltracksegments1 = item(_("&Bind all track segments"), "Bindalltracksegments1",
                               [this] { Bindalltracksegments1Click(); });
  Sortbydate1 = item(_("&Sort by date"), "Sortbydate1", [this] { Sortbydate1Click(); });
  tvItems->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tvItems, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    RunGuarded(this, [this] { pmTreeViewPopup(); });
    pmTreeView->exec(tvItems->viewport()->mapToGlobal(pos));
  });
}

void TMainForm::tvItemsEdited(QTreeWidgetItem* node, const QString& text) {
  const QSignalBlocker block(tvItems);
  const QString previous = node->data(0, TreeNodeRole::Caption).toString();
  if (!treeNodeObject(node)) {
    AddLog(_("No data on item"));
    node->setText(0, previous);
    return;
  }
  if (text.isEmpty()) {
    AddLog(_("Empty name is not allowed"));
    node->setText(0, previous);
    return;
  }
  SaveUndoState();
  const std::string name = text.toStdString();
  TItem* item = treeNodeItem(node);
  switch (treeNodeKind(node)) {
    case TreeNodeKind::Rte:
      static_cast<TGPXrte*>(item)->name = name;
      break;
    case TreeNodeKind::Trk:
      static_cast<TGPXtrk*>(item)->name = name;
      break;
    case TreeNodeKind::Wpt:
      static_cast<TGPXwpt*>(item)->edit().name = name;
      break;
    default:
      AddLog(_("Unknown Data type (") + treeNodeClassName(treeNodeKind(node)) + ")");
      break;
  }
  GPXModified = true;
  node->setData(0, TreeNodeRole::Caption, text);
  // The one edit that keeps the tree: Undo has something to take back now.
  UpdateCommands(true);
}

void TMainForm::pmTreeViewPopup() {
  const TreeNodeKind kind = treeNodeKind(tvItems->currentItem());
  Delete1->setEnabled(tbDelete->isEnabled());
  MovetoanewTrack1->setEnabled(kind == TreeNodeKind::Trkseg);
  Bindalltracksegments1->setEnabled(kind == TreeNodeKind::Trk);
  Sortbydate1->setEnabled(kind == TreeNodeKind::WptList || kind == TreeNodeKind::RteList ||
                          kind == TreeNodeKind::Trk);
}

void TMainForm::Delete1Click() {
  if (tbDelete->isEnabled()) tbDelete->trigger();
}

void TMainForm::Bindalltracksegments1Click() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (treeNodeKind(node) != TreeNodeKind::Trk) return;
  auto* trk = static_cast<TGPXtrk*>(treeNodeItem(node));
  SaveUndoState();
  trk->SortSegmentsByTime();
  CurrentGPX->Selection.Clear();
  while (trk->Count() > 1) CurrentGPX->Tracks.MergeSegments(trk->GetSegment(0), trk->GetSegment(1), Retired);
  GPXModified = true;
  if (trk->Count() > 0) CurrentGPX->Selection.Add(trk->GetSegment(0));
  RefreshTree();
  ReleaseStaleReferences();
  DrawPreview();
}

void TMainForm::Sortbydate1Click() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (!treeNodeObject(node)) return;
  SaveUndoState();
  TItem* item = treeNodeItem(node);
  switch (treeNodeKind(node)) {
    case TreeNodeKind::WptList:
      static_cast<TGPXwptList*>(item)->SortByTime();
      break;
    case TreeNodeKind::RteList:
      static_cast<TGPXrteList*>(item)->SortByTime();
      break;
    case TreeNodeKind::Trk:
      static_cast<TGPXtrk*>(item)->SortSegmentsByTime();
      break;
    default:
      return;
  }
  GPXModified = true;
  RefreshTree();
}

void TMainForm::MovetoanewTrack1Click() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (treeNodeKind(node) != TreeNodeKind::Trkseg) return;
  auto* seg = static_cast<TGPXtrkseg*>(treeNodeItem(node));
  TGPXtrk* owner = CurrentGPX->Tracks.FindTrackOfSegment(seg);
  if (!owner) return;
  SaveUndoState();
  // The segment itself moves (its flags with it), so whatever points at it stays right.
  auto track = std::make_unique<TGPXtrk>();
  track->name = "New track";
  track->Add(owner->Extract(owner->IndexOf(seg)));
  CurrentGPX->Tracks.Add(std::move(track));
  CurrentGPX->Tracks.Present = true;
  CurrentGPX->Selection.Clear();
  CurrentGPX->Selection.Add(seg);
  GPXModified = true;
  RefreshTree();
  DrawPreview();
}
