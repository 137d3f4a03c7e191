// What an undo copy of a document costs in memory, estimated from its points, so that the
// undo stack can be kept within a bound.
#pragma once
#include <cstdint>

class TGPX;

// Bytes a deep copy of the document takes: every point with its allocation and list slot,
// and the block of rare fields where a point has one.
uint64_t estimatedCopyBytes(const TGPX& gpx);
