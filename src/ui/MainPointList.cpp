// The point list page: which selections it shows, the grid's filling, a row's click and
// double-click, the tab handlers run when the page control switches, and the grid's
// references into the document.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/PointGrid.h"
#include "ui/QtText.h"

void TMainForm::BuildPointListPage() {
  TabSheet2 = new QWidget(PageControl1);
  TabSheet2->setObjectName("TabSheet2");
  auto* page = new QVBoxLayout(TabSheet2);
  page->setContentsMargins(0, 0, 0, 0);
  sgPointList = new TPointGridView(TabSheet2);
  sgPointList->setObjectName("sgPointList");
  page->addWidget(sgPointList);
  PageControl1->insertTab(PageControl1->indexOf(TabSheet1) + 1, TabSheet2, qs(_(" Point list ")));
  // Enabled only while one suitable item is selected.
  TabSheet2->setEnabled(false);

  connect(sgPointList, &QTableView::clicked, this, [this] { RunGuarded(this, [this] { sgPointListClick(); }); });
  connect(sgPointList, &QTableView::doubleClicked, this,
          [this] { RunGuarded(this, [this] { sgPointListDblClick(); }); });
  // The page's show handler. The other pages run their own, each with the command state
  // its page allows.
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    if (PageControl1->currentWidget() == TabSheet2) RunGuarded(this, [this] { TabSheet2Show(); });
  });
  // The point under the graph's mouse is highlighted in the grid.
  SelectPointListRow = [this](int index) { SelectGridRow(index); };

  // The grid reads its list on demand: a list that left the document empties it, and a
  // list whose points were added or taken away is shown again.
  ReferenceChecks.push_back([this](const TDocumentIndex& index) {
    if (!PointGridList) return;
    if (!index.Holds(PointGridList)) {
      PointGridList = nullptr;
      clearPointGrid(sgPointList);
    } else if (PointGridList->Count() != sgPointList->model()->rowCount()) {
      FillPointList(PointGridList, sgPointList);
    } else {
      sgPointList->viewport()->update();
    }
  });
}

bool TMainForm::PointListPageActive() const { return TabSheet2 && PageControl1->currentWidget() == TabSheet2; }

void TMainForm::PointListSelectionChanged() {
  if (PointListPageActive()) TabSheet2Show();
}

void TMainForm::TabSheet2Show() {
  TabSheet2->setEnabled(false);
  SetStatusText(2, "");
  UpdateCommands(true);
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (sel.Count() != 1 || !sel.At(0)) return;
  TabSheet2->setEnabled(true);
  TItem* item = sel.At(0);
  switch (item->Kind()) {
    case ItemKind::Rte:
    case ItemKind::Trkseg:
    case ItemKind::WptList:
      FillPointList(static_cast<TGPXwptList*>(item), sgPointList);
      break;
    case ItemKind::Trk: {
      auto* track = static_cast<TGPXtrk*>(item);
      if (track->Count() == 1)
        FillPointList(track->At(0), sgPointList);
      else
        TabSheet2->setEnabled(false);
      break;
    }
    case ItemKind::Wpt: {
      // A route or track point picked in the grid keeps its own list in view; a waypoint
      // shows the whole waypoint list.
      TGPXwptList* owner = CurrentGPX->FindPointOwner(static_cast<TGPXwpt*>(item));
      FillPointList(owner ? owner : &CurrentGPX->Waypoints, sgPointList);
      break;
    }
    default:
      break;  // metadata, the route or track list, the root: the grid stays as it was
  }
}

void TMainForm::FillPointList(TGPXwptList* List, QTableView* Grid) {
  if (!CurrentGPX || !List || !Grid) return;
  PointGridList = List;
  fillPointGrid(Grid, List);
}

namespace {

// The selected row, -1 for none.
int selectedRow(const QTableView* grid) {
  const QModelIndexList rows = grid->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

}  // namespace

void TMainForm::sgPointListClick() {
  if (!CurrentGPX || !PointGridList) return;
  const int r = selectedRow(sgPointList);
  if (r < 0 || r >= PointGridList->Count() || !PointGridList->GetPoint(r)) return;
  CurrentGPX->Selection.Clear();
  CurrentGPX->Selection.Add(PointGridList->GetPoint(r));
}

void TMainForm::sgPointListDblClick() {
  if (!CurrentGPX || !PointGridList) return;
  const int r = selectedRow(sgPointList);
  if (r < 0 || r >= PointGridList->Count() || !PointGridList->GetPoint(r)) return;
  // On OK the edited copy takes the point's place in the grid's list, which becomes the
  // selection; the page then shows the list again.
  if (EditWayPointProperties(PointGridList->GetPoint(r), PointGridList)) TabSheet2Show();
}

void TMainForm::SelectGridRow(int index) {
  if (!PointGridList || index < 0 || index >= sgPointList->model()->rowCount()) return;
  sgPointList->selectRow(index);
}
