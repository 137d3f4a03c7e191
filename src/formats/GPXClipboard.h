// The texts Copy puts on the clipboard for one item of a document: a small GPX document for
// our own paste, and a plain text beside it for other programs.
#pragma once
#include <string>

#include "model/GPX.h"

struct TClipboardTexts {
  std::string Document;  // the whole GPX document, UTF-8, without a NUL
  std::string Text;      // the element text or the semicolon-separated points
  int Count = 0;         // items of the list copied (1 for a single item)
  ItemKind Kind = ItemKind::Point;  // the class of the item copied
};

// The document's gpx tag carries the creator and namespace prefixes of `source`, the document
// the item belongs to, so that its extensions stay readable. `clipboardFormat` 1: the plain text is the semicolon-separated point text; anything else:
// the same element text as the document's body. False (and nothing filled) for an item that
// is neither a waypoint, route or track nor one of the three lists.
bool MakeClipboardTexts(const TItem& item, const TGPX& source, int clipboardFormat,
                        TClipboardTexts& out);
