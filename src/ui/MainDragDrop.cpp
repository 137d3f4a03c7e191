// Drag and drop inside the item tree: waypoints and routes reorder in their lists, segments
// reorder within a track or move into another track.
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/TreeDragHelp.h"
#include "ui/TreeNodes.h"

namespace {

// The drag's data names the tree it came from: drops are taken from that tree only.
QByteArray treeToken(const QTreeWidget* tree) {
  return QByteArray::number(reinterpret_cast<quintptr>(tree));
}

// Starts the tree's drags itself and takes every drag event of its viewport.
class TTreeDragWatcher : public QObject {
public:
  TTreeDragWatcher(TMainForm* form, QTreeWidget* tree) : QObject(form), form_(form), tree_(tree) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        pressed_ = m->button() == Qt::LeftButton && tree_->itemAt(m->position().toPoint());
        pressPos_ = m->position().toPoint();
        break;
      }
      case QEvent::MouseButtonRelease:
        pressed_ = false;
        break;
      case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(m->buttons() & Qt::LeftButton) ||
            (m->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance())
          break;
        pressed_ = false;
        RunGuarded(form_, [this] { form_->RunTreeDrag(); });
        return true;
      }
      case QEvent::DragEnter: {
        auto* d = static_cast<QDragEnterEvent*>(event);
        // Taken whenever it comes from this tree, so that the moves over it arrive.
        if (fromTree(d->mimeData()))
          d->acceptProposedAction();
        else
          d->ignore();
        return true;
      }
      case QEvent::DragMove: {
        auto* d = static_cast<QDragMoveEvent*>(event);
        bool accept = false;
        RunGuarded(form_, [&] { accept = form_->tvItemsDragOver(fromTree(d->mimeData()), d->position().toPoint()); });
        if (accept) {
          d->setDropAction(Qt::MoveAction);
          d->accept();
        } else {
          d->ignore();
        }
        return true;
      }
      case QEvent::DragLeave:
        RunGuarded(form_, [this] { form_->tvItemsDragLeave(); });
        return true;
      case QEvent::Drop: {
        auto* d = static_cast<QDropEvent*>(event);
        RunGuarded(form_, [&] { form_->tvItemsDragDrop(fromTree(d->mimeData()), d->position().toPoint()); });
        d->setDropAction(Qt::MoveAction);
        d->accept();
        return true;
      }
      default:
        break;
    }
    return false;
  }

private:
  bool fromTree(const QMimeData* data) const {
    return data && data->data(TMainForm::TreeNodeMimeType()) == treeToken(tree_);
  }
  TMainForm* form_;
  QTreeWidget* tree_;
  bool pressed_ = false;
  QPoint pressPos_;
};

bool sameKind(const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
  return treeNodeObject(a) && treeNodeObject(b) && treeNodeKind(a) == treeNodeKind(b);
}

}  // namespace

const char* TMainForm::TreeNodeMimeType() { return "application/x-corvantel-tree-node"; }

QMimeData* TMainForm::TreeDragData() const {
  auto* data = new QMimeData;
  data->setData(TreeNodeMimeType(), treeToken(tvItems));
  return data;
}

void TMainForm::BuildTreeDragDrop() {
  TimerTreeView = new QTimer(this);
  TimerTreeView->setObjectName("TimerTreeView");
  TimerTreeView->setInterval(500);
  connect(TimerTreeView, &QTimer::timeout, this, [this] { TreeDragHelp::TreeDragTimer(); });
  tvItems->setDragEnabled(false);  // the drags are started here, see RunTreeDrag
  tvItems->setAcceptDrops(true);
  tvItems->viewport()->setAcceptDrops(true);
  tvItems->viewport()->installEventFilter(new TTreeDragWatcher(this, tvItems));
}

void TMainForm::RunTreeDrag() {
  if (!tvItems->currentItem()) return;
  tvItemsStartDrag();
  auto* drag = new QDrag(tvItems);
  drag->setMimeData(TreeDragData());
  drag->exec(Qt::MoveAction);
  tvItemsEndDrag();
}

void TMainForm::tvItemsStartDrag() {
  TreeDragHelp::StartTreeDrag(tvItems, TimerTreeView);
  DraggedNode = tvItems->currentItem();
}

void TMainForm::tvItemsEndDrag() {
  TreeDragHelp::EndTreeDrag();
  DraggedNode = nullptr;
}

void TMainForm::tvItemsDragLeave() { TimerTreeView->stop(); }

bool TMainForm::tvItemsDragOver(bool fromTree, const QPoint& pos) {
  bool helperAccept = false;  // the rules below decide
  TreeDragHelp::TreeDragOver(tvItems, fromTree, pos, helperAccept);
  if (!fromTree) return false;
  // Only onto an item of the same kind under a parent of the same kind: a waypoint onto a
  // waypoint, a route onto a route, a segment onto a segment of any track.
  const QTreeWidgetItem* t = tvItems->itemAt(pos);
  const QTreeWidgetItem* d = DraggedNode;
  if (!t || !d || t == d) return false;
  if (!t->parent() || !d->parent()) return false;
  return sameKind(t, d) && sameKind(t->parent(), d->parent());
}

void TMainForm::tvItemsDragDrop(bool fromTree, const QPoint& pos) {
  QTreeWidgetItem* d = DraggedNode;
  TreeDragHelp::TreeDragDrop();
  DraggedNode = nullptr;  // the tree may be rebuilt below
  if (!fromTree) return;
  QTreeWidgetItem* t = tvItems->itemAt(pos);
  if (!t || !d || t == d || !sameKind(t, d)) return;
  TGPX& gpx = *CurrentGPX;
  bool moved = false;
  auto move = [&moved](auto& list, auto* item, auto* target) {
    const int from = list.IndexOf(item), to = list.IndexOf(target);
    if (from < 0 || to < 0) return;
    list.Move(from, to);  // the item ends at the target's index; those between shift by one
    moved = true;
  };
  switch (treeNodeKind(d)) {
    case TreeNodeKind::Wpt:
      move(gpx.Waypoints, static_cast<TPoint4D2*>(treeNodeItem(d)), static_cast<TPoint4D2*>(treeNodeItem(t)));
      break;
    case TreeNodeKind::Rte:
      move(gpx.Routes, static_cast<TGPXrte*>(treeNodeItem(d)), static_cast<TGPXrte*>(treeNodeItem(t)));
      break;
    case TreeNodeKind::Trkseg: {
      if (!d->parent() || !t->parent() || treeNodeKind(d->parent()) != TreeNodeKind::Trk ||
          treeNodeKind(t->parent()) != TreeNodeKind::Trk)
        break;
      auto* seg = static_cast<TGPXtrkseg*>(treeNodeItem(d));
      auto* from = static_cast<TGPXtrk*>(treeNodeItem(d->parent()));
      auto* to = static_cast<TGPXtrk*>(treeNodeItem(t->parent()));
      if (gpx.Tracks.IndexOf(from) < 0 || gpx.Tracks.IndexOf(to) < 0) break;
      if (from == to) {
        move(*from, seg, static_cast<TGPXtrkseg*>(treeNodeItem(t)));
      } else if (const int i = from->IndexOf(seg); i >= 0) {
        // The segment itself changes tracks, so whatever shows it keeps showing it; the track
        // it leaves stays, even without segments.
        to->Add(from->Extract(i));
        moved = true;
      }
      break;
    }
    default:
      break;  // a track dropped on a track changes nothing
  }
  if (!moved) return;
  // A reorder is a change to save, though not one to undo.
  GPXModified = true;
  // The tree shows the order the document now has, captions numbered anew.
  RefreshTree();
  SelectTreeNodes(gpx.Selection.Items);
}
