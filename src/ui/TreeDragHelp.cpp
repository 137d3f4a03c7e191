// Drag comforts of the item tree; one drag at a time, so the state is the unit's own.
#include "ui/TreeDragHelp.h"

#include <QTimer>
#include <QTreeWidget>

namespace {

// The margin above the bottom edge where the tree scrolls down.
constexpr int kBottomMargin = 8;

QTreeWidget* dragTree = nullptr;
QTreeWidgetItem* draggedNode = nullptr;
QTreeWidgetItem* hoverNode = nullptr;
QTimer* hoverTimer = nullptr;

QTreeWidgetItem* topItem(QTreeWidget* tree) { return tree->itemAt(QPoint(1, 1)); }

bool isAncestorOf(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* node) {
  for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent())
    if (p == ancestor) return true;
  return false;
}

}  // namespace

namespace TreeDragHelp {

void StartTreeDrag(QTreeWidget* tree, QTimer* timer) {
  dragTree = tree;
  draggedNode = tree ? tree->currentItem() : nullptr;
  hoverNode = nullptr;
  hoverTimer = timer;
  if (hoverTimer) hoverTimer->stop();
}

void TreeDragOver(QTreeWidget* tree, bool sourceIsTree, const QPoint& pos, bool& Accept) {
  Accept = false;
  if (!sourceIsTree) return;
  QTreeWidgetItem* n = tree->itemAt(pos);
  if (!n) {
    if (hoverTimer) hoverTimer->stop();
    return;
  }
  if (n != hoverNode) {
    if (hoverTimer) {
      hoverTimer->stop();
      hoverTimer->start();
    }
    hoverNode = n;
  }
  // At the top row the tree scrolls up a line; the drop waits until it stops scrolling.
  if (n == topItem(tree)) {
    if (QTreeWidgetItem* above = tree->itemAbove(n)) {
      tree->scrollToItem(above, QAbstractItemView::PositionAtTop);
      if (topItem(tree) != n) return;
    }
  }
  // Near the bottom edge it scrolls down a line.
  if (tree->visualItemRect(n).bottom() > tree->viewport()->height() - kBottomMargin) {
    QTreeWidgetItem* top = topItem(tree);
    if (QTreeWidgetItem* below = top ? tree->itemBelow(top) : nullptr) {
      tree->scrollToItem(below, QAbstractItemView::PositionAtTop);
      if (topItem(tree) != top) return;
    }
  }
  Accept = n != draggedNode && !isAncestorOf(draggedNode, n);
  // Over one of the dragged node's own ancestors nothing opens.
  if (isAncestorOf(n, draggedNode) && hoverTimer) hoverTimer->stop();
}

// The drop may rebuild the tree: nothing here may point at its old nodes any more.
void TreeDragDrop() {
  if (hoverTimer) hoverTimer->stop();
  draggedNode = nullptr;
  hoverNode = nullptr;
}

void EndTreeDrag() {
  if (hoverTimer) hoverTimer->stop();
  draggedNode = nullptr;
  hoverNode = nullptr;
  dragTree = nullptr;
}

void TreeDragTimer() {
  if (hoverNode && !hoverNode->isExpanded() && hoverNode->childCount() > 0) hoverNode->setExpanded(true);
}

QTreeWidgetItem* DraggedNode() { return draggedNode; }
QTreeWidgetItem* HoverNode() { return hoverNode; }

}  // namespace TreeDragHelp
