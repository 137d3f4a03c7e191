// What a node of the item tree stands for.
#include "ui/TreeNodes.h"

#include <map>

#include <QPixmap>
#include <QTreeWidgetItem>

#include "ui/ProgramIcons.h"

namespace {

bool isItemKind(TreeNodeKind kind) {
  return kind != TreeNodeKind::None && kind != TreeNodeKind::Document && kind != TreeNodeKind::Extension;
}

// The drawn images of the visible kinds; a hidden kind shows its visible image greyed.
const char* imageFile(int index) {
  switch (index) {
    case 1: return "gpx.svg";
    case 2: return "metadata.svg";
    case 3: return "waypoints.svg";
    case 4: return "waypoint.svg";
    case 5: return "routes.svg";
    case 6: return "route.svg";
    case 7: return "tracks.svg";
    case 8: return "track.svg";
    case 9: return "segment.svg";
    case 10: return "extensions.svg";
    default: return nullptr;
  }
}

}  // namespace

void setTreeNode(QTreeWidgetItem* node, TreeNodeKind kind, const void* object, const QString& caption,
                 int imageIndex) {
  // The accepted caption first: a change of the text alone is what a rename looks like.
  node->setData(0, TreeNodeRole::Caption, caption);
  node->setData(0, TreeNodeRole::Object, QVariant::fromValue(const_cast<void*>(object)));
  node->setData(0, TreeNodeRole::Kind, static_cast<int>(kind));
  node->setData(0, TreeNodeRole::Image, imageIndex);
  node->setText(0, caption);
  node->setIcon(0, treeImage(imageIndex));
}

TreeNodeKind treeNodeKind(const QTreeWidgetItem* node) {
  if (!node) return TreeNodeKind::None;
  return static_cast<TreeNodeKind>(node->data(0, TreeNodeRole::Kind).toInt());
}

const void* treeNodeObject(const QTreeWidgetItem* node) {
  return node ? node->data(0, TreeNodeRole::Object).value<void*>() : nullptr;
}

TItem* treeNodeItem(const QTreeWidgetItem* node) {
  if (!isItemKind(treeNodeKind(node))) return nullptr;
  return static_cast<TItem*>(const_cast<void*>(treeNodeObject(node)));
}

std::string treeNodeClassName(TreeNodeKind kind) {
  switch (kind) {
    case TreeNodeKind::Document: return "TGPX";
    case TreeNodeKind::Metadata: return itemClassName(ItemKind::Metadata);
    case TreeNodeKind::WptList: return itemClassName(ItemKind::WptList);
    case TreeNodeKind::Wpt: return itemClassName(ItemKind::Wpt);
    case TreeNodeKind::RteList: return itemClassName(ItemKind::RteList);
    case TreeNodeKind::Rte: return itemClassName(ItemKind::Rte);
    case TreeNodeKind::TrkList: return itemClassName(ItemKind::TrkList);
    case TreeNodeKind::Trk: return itemClassName(ItemKind::Trk);
    case TreeNodeKind::Trkseg: return itemClassName(ItemKind::Trkseg);
    case TreeNodeKind::Extension: return "TGPXExtension";
    case TreeNodeKind::None: break;
  }
  return {};
}

QIcon treeIconFrom(const QIcon& drawn, bool hidden) {
  if (drawn.isNull()) return {};
  // A selected node shows its image as it is: left alone, the style would tint it.
  QIcon icon;
  for (int size : {16, 32}) {
    const QPixmap pixmap = drawn.pixmap(size, size, hidden ? QIcon::Disabled : QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Selected);
  }
  return icon;
}

QIcon treeImage(int index) {
  // Kept for the program's life and never destroyed: an icon engine must not outlive its
  // plugin at exit.
  static auto* cache = new std::map<int, QIcon>;
  if (auto it = cache->find(index); it != cache->end()) return it->second;
  QIcon icon;
  const bool hidden = index >= 13 && index <= 20;
  // 13 is the hidden document, 14.. the hidden waypoint list and on (metadata has none).
  const int base = !hidden ? index : index == 13 ? 1 : index - 11;
  if (const char* file = imageFile(base)) icon = treeIconFrom(programIcon(file), hidden);
  (*cache)[index] = icon;
  return icon;
}
