// The comforts of a drag inside a tree: scrolling at the top and bottom edges, and opening a
// collapsed node once the cursor has rested on it for the timer's period.
#pragma once
#include <QPoint>

class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace TreeDragHelp {

// The drag begins: the dragged node is the tree's current node; the timer is stopped.
void StartTreeDrag(QTreeWidget* tree, QTimer* timer);
// The cursor is over the tree's viewport at `pos`. Scrolls by one line at the edges and
// restarts the timer when the node under the cursor changed. Accept is true over a node
// that is neither the dragged node nor one of its descendants, unless the tree just scrolled.
void TreeDragOver(QTreeWidget* tree, bool sourceIsTree, const QPoint& pos, bool& Accept);
// The drop: forgets the nodes, which the drop may rebuild.
void TreeDragDrop();
void EndTreeDrag();
// A timer tick: the hover node, when collapsed, opens one level.
void TreeDragTimer();

QTreeWidgetItem* DraggedNode();
QTreeWidgetItem* HoverNode();

}  // namespace TreeDragHelp
