// What the readers keep must be something the GPX writer can write and the reader take back.
// libxml2 refuses a text over 10,000,000 bytes, a start tag about as long, and elements nested
// more than 257 deep, but an entity's text escapes these while read (its elements are counted
// apart, its copies are joined whole), joined pieces can outgrow a text, elements that the
// writer moves into an extensions element stand one level deeper than they were read, and a
// value read as text (a GPX 1.0 url) may be written, escaped and so longer, as an attribute.
// Such content is left out, counted for the log, rather than saved into a file that no longer
// opens.
#pragma once
#include <cstddef>
#include <string>

#include "model/GPX.h"

struct TReadIssues;

// The longest text libxml2 reads into one node, in bytes.
size_t maxWritableText();
// The deepest element libxml2 reads, the root counted 1.
int maxWritableDepth();

// Clears a text longer than a saved file can hold. The issues may be null.
void fitWritableText(std::string& text, TReadIssues* issues);
// Leaves out the top-level pieces of extension text that, written inside `ancestors`
// elements, would stand too deep or hold too long a text.
void fitWritableExtensions(std::string& text, int ancestors, TReadIssues* issues);

// The same for every text of an item, as the GPX writer places it. A point's extensions
// stand as deep as the list it belongs to puts them; a track's segments are included.
void fitWritable(TGPXwpt& point, const TGPXwptList& list, TReadIssues* issues);
void fitWritable(TGPXrte& route, TReadIssues* issues);
void fitWritable(TGPXtrk& track, TReadIssues* issues);
void fitWritable(TGPXmetadata& metadata, TReadIssues* issues);
// A top-level extensions element's text.
void fitWritableDocumentExtensions(std::string& text, TReadIssues* issues);
// The namespace declarations kept for the root, taken together: while the root's start tag,
// as written, is too long to be read back, the longest is left out (the extension pieces
// declare what they use themselves).
void fitWritableRootNamespaces(TGPX& gpx, TReadIssues* issues);
