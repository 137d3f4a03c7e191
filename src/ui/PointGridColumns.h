// The point grid's columns: their header texts, a point's cell texts, and which columns a
// list fills, with the few cells of each column that may hold its widest text.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/GPX.h"

constexpr int kPointGridColumns = 22;

// The translated header of a column.
std::string pointGridHeader(int column);
// The text of a point's cell; empty when the point lacks the value. `index` is the point's
// index in its list (the first column shows it plus one).
std::string pointGridCell(const TGPXwpt& point, int column, int index);

struct TPointGridScan {
  // A column that no point fills is collapsed; the first column always counts as filled.
  std::array<bool, kPointGridColumns> Filled{};
  // Measuring every text of a million points is too slow: the rows that may hold a
  // column's widest text are the extremes of a number column (digits share one width) and
  // the longest texts of a text column.
  std::array<std::vector<int>, kPointGridColumns> Candidates;
};
TPointGridScan scanPointGrid(const TGPXwptList& list);
