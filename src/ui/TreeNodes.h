// What a node of the item tree stands for: the model object it carries, its kind, its image
// index, and the caption it had when it was built (so a refused rename can be undone).
#pragma once
#include <string>

#include <QIcon>
#include <QString>

#include "model/GPX.h"
#include "ui/TreeNodeKind.h"

class QTreeWidgetItem;

namespace TreeNodeRole {
constexpr int Object = Qt::UserRole;       // void*: the model object
constexpr int Image = Qt::UserRole + 1;    // int: image index (1..20)
constexpr int Kind = Qt::UserRole + 2;     // int: TreeNodeKind
constexpr int Caption = Qt::UserRole + 3;  // QString: the caption as last accepted
}  // namespace TreeNodeRole

// Stores the object, kind, caption and image on a node (and sets its icon). Items are
// handed in as `const TItem*`, so that identity compares agree whatever the class.
void setTreeNode(QTreeWidgetItem* node, TreeNodeKind kind, const void* object, const QString& caption,
                 int imageIndex);
TreeNodeKind treeNodeKind(const QTreeWidgetItem* node);
const void* treeNodeObject(const QTreeWidgetItem* node);
// The object as a document item; nullptr for the document node, the extensions and none.
TItem* treeNodeItem(const QTreeWidgetItem* node);
// The class name a log line shows for a node's object.
std::string treeNodeClassName(TreeNodeKind kind);

// A tree image from a drawn one: greyed when `hidden`, and the same whether or not its node
// is selected.
QIcon treeIconFrom(const QIcon& drawn, bool hidden);
// The tree's images: 1..10 for the kinds, 13..20 for the hidden variants.
QIcon treeImage(int index);
