// The one step that runs after every change of the document's structure: references that
// outlived their items are cleared, then what was retired is freed.
#include <algorithm>

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "ui/Main.h"
#include "ui/TreeNodes.h"

namespace {

bool live(const TDocumentIndex& index, TreeNodeKind kind, const void* object) {
  if (kind == TreeNodeKind::None) return true;  // carries nothing to check
  if (kind == TreeNodeKind::Document || kind == TreeNodeKind::Extension) return index.HoldsObject(object);
  return index.Holds(static_cast<const TItem*>(object));
}

}  // namespace

void TMainForm::ReleaseStaleReferences() {
  const TDocumentIndex index(CurrentGPX.get());

  if (PreviewDraw) {
    // A preview that shows a document shows the current one.
    if (PreviewDraw->GPX && PreviewDraw->GPX != CurrentGPX.get()) PreviewDraw->SetGPX(CurrentGPX.get());
    if (PreviewDraw->CurrentList && !index.Holds(PreviewDraw->CurrentList)) PreviewDraw->CurrentList = nullptr;
    if (PreviewDraw->CurrentPoint && !index.HoldsPoint(PreviewDraw->CurrentPoint))
      PreviewDraw->CurrentPoint = nullptr;
  }
  if (CurrentGPX) {
    auto& items = CurrentGPX->Selection.Items;
    items.erase(std::remove_if(items.begin(), items.end(), [&](TItem* item) { return !index.Holds(item); }),
                items.end());
  }

  // Tree nodes carry raw pointers: a node whose object is gone means the tree is rebuilt.
  bool staleNode = false;
  for (QTreeWidgetItemIterator it(tvItems); *it && !staleNode; ++it)
    staleNode = !live(index, treeNodeKind(*it), treeNodeObject(*it));
  if (staleNode) RefreshTree();
  // The path kept for the next rebuild must not match a new object at an old address.
  for (auto& entry : treePath_)
    if (entry.second && !index.Holds(static_cast<const TItem*>(entry.second)) && !index.HoldsObject(entry.second))
      entry.second = nullptr;

  for (auto& check : ReferenceChecks) check(index);
  // Every change of structure redraws the graph of what is left.
  UpdateStatGraph();

  Retired.Clear();
  RetiredDocuments.clear();
  // The selection may have lost items above.
  UpdateCommands(true);
}
