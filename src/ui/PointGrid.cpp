// The point grid's model, its cell painting and its filling.
#include "ui/PointGrid.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

#include "model/GPX.h"
#include "ui/PointGridColumns.h"
#include "ui/QtText.h"

namespace {

// Columns are as wide as their text plus 4 pixels: the text starts 2 pixels in.
constexpr int kTextMargin = 2, kCellExtra = 4, kDefaultRowHeight = 15;

// Paints a cell's text 2 pixels in, with the row highlight; the first column looks like a
// header, as the row numbers of a grid with a fixed column do. The style's own item
// painting keeps wider margins and would cut the last characters of a sized column.
class TPointGridDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool fixed = index.column() == 0;
    const bool selected = !fixed && (option.state & QStyle::State_Selected);
    const QPalette& pal = option.palette;
    if (fixed)
      painter->fillRect(option.rect, pal.button());
    else if (selected)
      painter->fillRect(option.rect, pal.highlight());
    painter->setPen(selected ? pal.highlightedText().color() : fixed ? pal.buttonText().color() : pal.text().color());
    painter->drawText(option.rect.adjusted(kTextMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data().toString());
  }
};

TPointGridModel* gridModel(QTableView* grid) { return static_cast<TPointGridModel*>(grid->model()); }

}  // namespace

void TPointGridModel::SetList(const TGPXwptList* list) {
  beginResetModel();
  list_ = list;
  rows_ = list ? list->Count() : 0;
  endResetModel();
}

int TPointGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TPointGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !list_ ? 0 : kPointGridColumns;
}

QVariant TPointGridModel::data(const QModelIndex& index, int role) const {
  // Rows beyond the list's count are an edit not yet shown: they read as empty.
  if (role != Qt::DisplayRole || !list_ || index.row() >= list_->Count()) return {};
  return qs(pointGridCell(*list_->GetPoint(index.row()), index.column(), index.row()));
}

QVariant TPointGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return qs(pointGridHeader(section));
}

void setupPointGrid(QTableView* grid) {
  grid->setModel(new TPointGridModel(grid));
  grid->setItemDelegate(new TPointGridDelegate(grid));
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  // Collapsed columns are 0 pixels wide: scrolling by column would stall on them.
  grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  grid->verticalHeader()->hide();
  // One height for every row keeps a million rows cheap to lay out and to scroll.
  grid->verticalHeader()->setMinimumSectionSize(0);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
  grid->horizontalHeader()->setMinimumSectionSize(0);
  grid->horizontalHeader()->setHighlightSections(false);
}

void fillPointGrid(QTableView* grid, const TGPXwptList* list) {
  const QFontMetrics metrics(grid->font());
  // The height first: the new rows are made with it instead of being resized one by one.
  if (list) grid->verticalHeader()->setDefaultSectionSize(metrics.height() + kCellExtra);
  gridModel(grid)->SetList(list);
  if (!list) return;
  const TPointGridScan scan = scanPointGrid(*list);
  for (int c = 0; c < kPointGridColumns; ++c) {
    int width = 0;
    if (scan.Filled[c]) {
      width = metrics.horizontalAdvance(qs(pointGridHeader(c)));
      for (int row : scan.Candidates[c])
        width = std::max(width, metrics.horizontalAdvance(qs(pointGridCell(*list->GetPoint(row), c, row))));
      width += kCellExtra;
    }
    grid->setColumnWidth(c, width);
  }
}

void clearPointGrid(QTableView* grid) { gridModel(grid)->SetList(nullptr); }
