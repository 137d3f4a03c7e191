// The kinds of object a node of the item tree can carry.
#pragma once

enum class TreeNodeKind { None, Document, Metadata, WptList, Wpt, RteList, Rte, TrkList, Trk, Trkseg, Extension };
