// Drag and drop in the item tree through the events a drag delivers: which drops are taken,
// what the document looks like afterwards, and what a save of it writes.
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include "EditFixture.h"
#include "formats/GPXFile.h"
#include "ui/TreeNodes.h"

namespace {

class TreeDragDrop : public EditFixture {
protected:
  void SetUp() override {
    EditFixture::SetUp();
    for (const char* name : {"W1", "W2", "W3"}) addPoint(gpx_->Waypoints, 45, 5, 0, 0, name);
    gpx_->Waypoints.Present = true;
    r1_ = addRoute("R1", 45.1, 2);
    r2_ = addRoute("R2", 45.2, 2);
    t1_ = addTrack("T1");
    s1_ = addSegment(t1_, 45.3, 2);
    s2_ = addSegment(t1_, 45.4, 3);
    t2_ = addTrack("T2");
    s3_ = addSegment(t2_, 45.5, 4);
    load();
    tree_ = form_->findChild<QTreeWidget*>("tvItems");
    tree_->expandAll();
  }

  QTreeWidgetItem* node(const void* object) const {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
      if (treeNodeObject(*it) == object) return *it;
    ADD_FAILURE() << "no node";
    return nullptr;
  }
  QPoint centre(QTreeWidgetItem* n) const { return tree_->visualItemRect(n).center(); }

  // Enters the tree and moves over the target, the way a drag arrives.
  bool moveOver(QPoint at, const QMimeData* mime) {
    QDragEnterEvent enter(QPoint(1, 1), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree_->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree_->viewport(), &move);
    return move.isAccepted();
  }
  // Moves over the target and, when that is accepted, drops there. True when accepted.
  bool dragOnto(const void* dragged, const void* target, QMimeData* data = nullptr) {
    tree_->setCurrentItem(node(dragged));
    form_->tvItemsStartDrag();
    std::unique_ptr<QMimeData> mime(data ? data : form_->TreeDragData());
    const QPoint at = centre(node(target));
    const bool accepted = moveOver(at, mime.get());
    if (accepted) {
      QDropEvent drop(QPointF(at), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(tree_->viewport(), &drop);
    }
    form_->tvItemsEndDrag();
    tree_->expandAll();
    return accepted;
  }

  std::vector<std::string> waypointNames() const {
    std::vector<std::string> names;
    for (auto& p : gpx_->Waypoints.Items()) names.push_back(static_cast<TGPXwpt*>(p.get())->data().name);
    return names;
  }

  QTreeWidget* tree_ = nullptr;
  TGPXrte *r1_ = nullptr, *r2_ = nullptr;
  TGPXtrk *t1_ = nullptr, *t2_ = nullptr;
  TGPXtrkseg *s1_ = nullptr, *s2_ = nullptr, *s3_ = nullptr;
};

}  // namespace

TEST_F(TreeDragDrop, WaypointsAndRoutesMoveToTheTargetsPlace) {
  TPoint4D2* w1 = gpx_->Waypoints.GetPoint(0);
  TPoint4D2* w3 = gpx_->Waypoints.GetPoint(2);
  EXPECT_TRUE(dragOnto(w3, w1));
  EXPECT_EQ(waypointNames(), (std::vector<std::string>{"W3", "W1", "W2"}));
  EXPECT_TRUE(form_->GPXModified);  // a reorder is a change to save...
  EXPECT_TRUE(form_->UndoList.empty());  // ...but not one to undo
  EXPECT_TRUE(dragOnto(w3, gpx_->Waypoints.GetPoint(2)));
  EXPECT_EQ(waypointNames(), (std::vector<std::string>{"W1", "W2", "W3"}));
  // The tree shows the document's order.
  QTreeWidgetItem* list = node(&gpx_->Waypoints);
  ASSERT_EQ(list->childCount(), 3);
  EXPECT_EQ(list->child(2)->text(0), "W3");

  EXPECT_TRUE(dragOnto(r2_, r1_));
  EXPECT_EQ(gpx_->Routes.At(0), r2_);
  EXPECT_EQ(node(&gpx_->Routes)->child(0)->text(0), "R2");
}

TEST_F(TreeDragDrop, RefusedDropsChangeNothing) {
  TPoint4D2* w1 = gpx_->Waypoints.GetPoint(0);
  EXPECT_FALSE(dragOnto(w1, w1));                  // onto itself
  EXPECT_FALSE(dragOnto(r1_, &gpx_->Routes));      // onto its list
  EXPECT_FALSE(dragOnto(w1, r1_));                 // another kind
  EXPECT_FALSE(dragOnto(s1_, t2_));                // a segment onto a track
  EXPECT_FALSE(dragOnto(&gpx_->Tracks, &gpx_->Routes));
  auto* foreign = new QMimeData;
  foreign->setText("W1");
  EXPECT_FALSE(dragOnto(gpx_->Waypoints.GetPoint(2), w1, foreign));  // not from this tree
  EXPECT_EQ(waypointNames(), (std::vector<std::string>{"W1", "W2", "W3"}));
  EXPECT_EQ(gpx_->Routes.At(0), r1_);
  EXPECT_FALSE(form_->GPXModified);
  // A track onto a track is taken and changes nothing.
  EXPECT_TRUE(dragOnto(t2_, t1_));
  EXPECT_EQ(gpx_->Tracks.At(0), t1_);
  EXPECT_FALSE(form_->GPXModified);
}

TEST_F(TreeDragDrop, SegmentsMoveWithinAndAcrossTracksAndSaveThere) {
  EXPECT_TRUE(dragOnto(s2_, s1_));
  EXPECT_EQ(t1_->At(0), s2_);
  form_->PreviewDraw->CurrentList = s1_;
  EXPECT_TRUE(dragOnto(s1_, s3_));
  ASSERT_EQ(t1_->Count(), 1);
  ASSERT_EQ(t2_->Count(), 2);
  EXPECT_EQ(t2_->At(1), s1_);  // the very segment, appended to the other track
  EXPECT_EQ(form_->PreviewDraw->CurrentList, s1_);
  EXPECT_EQ(node(t2_)->childCount(), 2);
  // The track left behind stays, even once empty.
  EXPECT_TRUE(dragOnto(s2_, s3_));
  EXPECT_EQ(gpx_->Tracks.Count(), 2);
  EXPECT_EQ(t1_->Count(), 0);

  const std::string file = (dir_ / "moved.gpx").string();
  form_->CurrentFileName = file;
  form_->CurrentFileIsDocument = true;
  ASSERT_TRUE(form_->ActionSaveGPXExecute());
  TGPX back;
  TGPXFile reader;
  reader.GPX = &back;
  reader.LoadFromFile(file);
  ASSERT_EQ(back.Tracks.Count(), 2);
  EXPECT_EQ(back.Tracks.At(0)->Count(), 0);
  const TGPXtrk* t2 = back.Tracks.At(1);
  ASSERT_EQ(t2->Count(), 3);
  EXPECT_EQ(t2->At(0)->Count(), 4);  // s3, then s1 (2 points), then s2 (3 points)
  EXPECT_EQ(t2->At(1)->Count(), 2);
  EXPECT_EQ(t2->At(2)->Count(), 3);
}

TEST_F(TreeDragDrop, RestingOnACollapsedNodeOpensItAndTheEdgesScroll) {
  auto* timer = form_->findChild<QTimer*>("TimerTreeView");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 500);
  tree_->collapseAll();
  node(gpx_)->setExpanded(true);
  QTreeWidgetItem* tracks = node(&gpx_->Tracks);
  tree_->setCurrentItem(node(r1_));
  form_->tvItemsStartDrag();
  std::unique_ptr<QMimeData> mime(form_->TreeDragData());
  moveOver(centre(tracks), mime.get());
  EXPECT_TRUE(timer->isActive());
  EXPECT_FALSE(tracks->isExpanded());
  QTest::qWait(650);
  EXPECT_TRUE(tracks->isExpanded());
  form_->tvItemsEndDrag();
  EXPECT_FALSE(timer->isActive());

  // A short tree scrolls a line at a time at its top row.
  tree_->expandAll();
  tree_->setFixedHeight(90);
  QApplication::processEvents();
  tree_->scrollToBottom();
  QApplication::processEvents();
  const int bottom = tree_->verticalScrollBar()->value();
  ASSERT_GT(bottom, 0);
  tree_->setCurrentItem(node(t1_));
  form_->tvItemsStartDrag();
  moveOver(QPoint(20, 2), mime.get());
  EXPECT_EQ(tree_->verticalScrollBar()->value(), bottom - 1);  // one line
  form_->tvItemsEndDrag();

  // ...and at its bottom edge, a line down at a time.
  tree_->scrollToTop();
  QApplication::processEvents();
  form_->tvItemsStartDrag();
  moveOver(QPoint(20, tree_->viewport()->height() - 3), mime.get());
  EXPECT_EQ(tree_->verticalScrollBar()->value(), 1);
  form_->tvItemsEndDrag();
}
