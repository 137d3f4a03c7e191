// The point grid's model, its cell painting and its filling.
#include "ui/PointGrid.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
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

namespace {

// What the grid and its frozen first column share: whole-row selection, no editing, the
// cell painting, one fixed height for every row (a million rows stay cheap to lay out and
// to scroll).
void setupView(QTableView* view, QAbstractItemModel* model) {
  view->setModel(model);
  view->setItemDelegate(new TPointGridDelegate(view));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setWordWrap(false);
  view->verticalHeader()->hide();
  view->verticalHeader()->setMinimumSectionSize(0);
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
  view->horizontalHeader()->setMinimumSectionSize(0);
  view->horizontalHeader()->setHighlightSections(false);
}

}  // namespace

TPointGridView::TPointGridView(QWidget* parent) : QTableView(parent), frozen_(new QTableView(this)) {
  setupView(this, new TPointGridModel(this));
  // Collapsed columns are 0 pixels wide: scrolling by column would stall on them.
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

  // The row numbers stay in view while the other columns scroll sideways: a second view
  // showing only the first column lies over it and shares the model and the selection.
  setupView(frozen_, model());
  frozen_->setSelectionModel(selectionModel());
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  viewport()->stackUnder(frozen_);
  connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(), &QScrollBar::setValue);
  connect(frozen_, &QAbstractItemView::clicked, this, &QAbstractItemView::clicked);
  connect(frozen_, &QAbstractItemView::doubleClicked, this, &QAbstractItemView::doubleClicked);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (column != 0) return;
    frozen_->setColumnWidth(0, size);
    placeFrozen();
  });
  connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  });
  connect(model(), &QAbstractItemModel::modelReset, this, [this] {
    for (int c = 1; c < model()->columnCount(); ++c) frozen_->setColumnHidden(c, true);
    placeFrozen();
  });
  placeFrozen();
}

void TPointGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  placeFrozen();
}

void TPointGridView::keyPressEvent(QKeyEvent* event) {
  const int before = currentIndex().row();
  QTableView::keyPressEvent(event);
  if (currentIndex().isValid() && currentIndex().row() != before) emit clicked(currentIndex());
}

void TPointGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  // The first column is always in view: scrolling sideways to it would hide the others.
  if (index.column() > 0)
    QTableView::scrollTo(index, hint);
  else
    QTableView::scrollTo(model()->index(index.row(), horizontalHeader()->logicalIndexAt(0)), hint);
}

void TPointGridView::placeFrozen() {
  frozen_->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                       viewport()->height() + horizontalHeader()->height());
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
