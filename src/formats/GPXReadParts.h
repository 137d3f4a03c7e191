// Pieces shared by the tree and the streaming GPX readers: the fields that routes and
// tracks have in common, read one child element at a time so both walks use them.
#pragma once
#include <string>

#include "base/NumberText.h"
#include "formats/GPXFile.h"
#include "formats/ReadIssues.h"
#include "formats/WritableContent.h"
#include "formats/XmlFlatRecord.h"
#include "formats/XmlNode.h"
#include "model/GPX.h"

// The reader joins route and track extension pieces with the file line end.
inline constexpr const char* kGPXLineEnd = "\r\n";

// A point read from its flat form (no link or extensions child: those need the tree).
TGPXwpt* readWptRecord(const XmlFlatRecord& element, TGPXwptList& into);
bool wptChildNeedsTree(const XmlName& child);

// A route's or track's extensions element: the style "line" child (name matched exactly)
// sets the style, every other child is kept as text, the pieces joined by line ends.
void readStyledExtensions(const XmlNode& extensions, std::string& text, TGPX_StyleLine& style);

// An element of another namespace put straight into a route or track (gpsbabel does so):
// kept as a piece of its extension text.
void appendForeignPiece(std::string& text, const XmlNode& element);

// Applies one child element common to rte and trk; false when it is none of those.
template <class T>
bool readRouteLikeChild(T& item, const XmlNode& child) {
  if (child.nameIs("name")) item.name = child.text();
  else if (child.nameIs("cmt")) item.cmt = child.text();
  else if (child.nameIs("desc")) item.desc = child.text();
  else if (child.nameIs("src")) item.src = child.text();
  else if (child.nameIs("link")) item.link = TGPXFile::ReadLink(child);
  else if (child.nameIs("number")) item.number = parseIntOr(child.text(), -1);
  else if (child.nameIs("type")) item.type = child.text();
  else if (child.nameIs("extensions")) readStyledExtensions(child, item.extensions, item.Style);
  else if (child.parent() && child.namespaceUri() != child.parent().namespaceUri())
    appendForeignPiece(item.extensions, child);
  else return false;
  return true;
}

// After all children: an unnamed route or track takes its description as name; what a
// saved file could not hold is left out.
template <class T>
void finishRouteLike(T& item) {
  fitWritable(item, activeReadIssues());
  if (item.name.empty() && !item.desc.empty()) item.name = item.desc;
}
