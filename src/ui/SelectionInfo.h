// The log line and the three status-bar texts that describe the object of a tree node
// when it is selected.
#pragma once
#include <array>
#include <string>

#include "ui/TreeNodeKind.h"

struct TSelectionInfo {
  std::string Log;
  std::array<std::string, 3> Panels;  // empty for every node but a route or a segment
};

// `object` is what the node carries (a document item, the document or its extension
// record); `position` is the node's 1-based place among its siblings (0 for the root).
TSelectionInfo selectionInfo(TreeNodeKind kind, const void* object, int position);
