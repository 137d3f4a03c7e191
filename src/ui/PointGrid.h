// The point grid: a table view over a model that reads a point list's cells on demand, so a
// million points cost no item per cell; filling sizes the columns by their texts and
// collapses the columns that no point fills.
#pragma once
#include <QAbstractTableModel>
#include <QTableView>

class TGPXwptList;

class TPointGridModel : public QAbstractTableModel {
public:
  explicit TPointGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
  // Shows the list; nullptr empties the grid. The list is read, never owned.
  void SetList(const TGPXwptList* list);
  const TGPXwptList* List() const { return list_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  const TGPXwptList* list_ = nullptr;
  int rows_ = 0;
};

// The point grid: a TPointGridModel with whole-row selection and the first column kept in
// view while the others scroll sideways.
class TPointGridView : public QTableView {
public:
  explicit TPointGridView(QWidget* parent = nullptr);
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
  void resizeEvent(QResizeEvent* event) override;
  // A row reached with the keyboard counts as clicked: the point the commands act on is the
  // one highlighted.
  void keyPressEvent(QKeyEvent* event) override;

private:
  void placeFrozen();
  QTableView* frozen_;
};

// Shows `list` in a TPointGridView: each filled column as wide as its widest text (headers
// included) plus 4 pixels, an unfilled one 0 wide, every row as tall as the text plus 4.
void fillPointGrid(QTableView* grid, const TGPXwptList* list);
// Empties the grid; it refers to no list afterwards.
void clearPointGrid(QTableView* grid);
