// The undo stack and the release of references after Undo and Close: the preview, the
// selection and the tree never point into a replaced document.
#include <algorithm>

#include "ui/UndoMemory.h"
#include "WindowFixture.h"

using UndoTest = WindowTest;

TEST_F(UndoTest, ThreeUndosGiveBackTheOriginalThenNothingToUndo) {
  TMainForm& f = form();
  f.show();
  f.OpenGPXFile(writeTrack("walk.gpx", "Walk", 4));
  EXPECT_FALSE(action("tbUndo")->isEnabled());
  // Three edits: two renames and a move into a new track.
  node("Walk")->setText(0, "Ridge");
  node("Ridge")->setText(0, "Crest");
  select("Track Segment #1");
  f.findChild<QAction*>("MovetoanewTrack1")->trigger();
  ASSERT_EQ(f.UndoList.size(), 3u);
  EXPECT_TRUE(action("tbUndo")->isEnabled());
  EXPECT_TRUE(action("Undo1")->isEnabled());

  select("Track Segment #1");  // the preview's list and the selection point into the document
  ASSERT_NE(f.PreviewDraw->CurrentList, nullptr);
  f.PreviewDraw->CurrentPoint = f.CurrentGPX->Tracks.GetTrack(1)->GetSegment(0)->GetPoint(2);
  ASSERT_EQ(panel(1), "4 points");
  for (int i = 0; i < 3; ++i) action("ActionUndo")->trigger();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(panel(i), "") << i;  // nothing selected, nothing described

  EXPECT_EQ(captions(), (std::vector<std::string>{"GPX", "  Tracks (1)", "    Walk", "      Track Segment #1"}));
  ASSERT_EQ(f.CurrentGPX->Tracks.Count(), 1);
  EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(0)->name, "Walk");
  EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(0)->GetSegment(0)->Count(), 4);
  EXPECT_EQ(f.CurrentGPX->Selection.Count(), 0);
  EXPECT_TRUE(tree()->selectedItems().isEmpty());
  EXPECT_EQ(f.PreviewDraw->GPX, f.CurrentGPX.get());
  EXPECT_EQ(f.PreviewDraw->CurrentList, nullptr);
  EXPECT_EQ(f.PreviewDraw->CurrentPoint, nullptr);
  EXPECT_TRUE(f.RetiredDocuments.empty());
  EXPECT_TRUE(f.GPXModified) << "Undo does not clear the flag";
  EXPECT_FALSE(action("tbUndo")->isEnabled());
  EXPECT_EQ(beeps_, 0);

  action("Undo1")->trigger();  // the menu item is disabled: nothing happens
  action("ActionUndo")->trigger();
  EXPECT_EQ(lastLog(), "Nothing to undo");
  EXPECT_EQ(beeps_, 1);
}

TEST_F(UndoTest, CloseDropsTheCopiesAndEveryReference) {
  TMainForm& f = form();
  f.show();
  f.OpenGPXFile(writeTrack("walk.gpx", "Walk"));
  select("Track Segment #1");
  f.SaveUndoState();
  bool checked = false;
  f.ReferenceChecks.push_back([&](const TDocumentIndex& index) {
    checked = true;
    EXPECT_EQ(index.Document(), f.CurrentGPX.get());
  });
  ASSERT_EQ(panel(1), "2 points");
  f.ActionCloseCurrentGPXExecute();
  EXPECT_EQ(panel(1), "");
  EXPECT_TRUE(checked);
  EXPECT_TRUE(f.UndoList.empty());
  EXPECT_TRUE(f.RetiredDocuments.empty());
  EXPECT_EQ(f.PreviewDraw->CurrentList, nullptr);
  action("ActionUndo")->trigger();
  EXPECT_EQ(lastLog(), "Nothing to undo");
  // Selecting the root of the fresh document is safe.
  select("GPX");
  EXPECT_EQ(lastLog(), "TGPX");
}

TEST_F(UndoTest, ImportedDataIsDroppedByTheNextUndo) {
  TMainForm& f = form();
  f.OpenGPXFile(writeTrack("walk.gpx", "Walk"));
  f.SaveUndoState();
  f.ImportNMEAFile(copyData("convert_sample.nmea", "day.nmea"));
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 2);
  f.ActionUndoExecute();
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 1);
}

TEST_F(UndoTest, CopiesStayWithinTheMemoryBoundOldestDroppedFirst) {
  // The bound in copies of the document, and the copies kept after five renames.
  for (auto [copies, kept] : {std::pair{1000.0, 5}, {2.5, 2}, {0.0, 1}}) {
    TMainForm& f = form();
    f.OpenGPXFile(writeTrack("walk.gpx", "Name0", 500));
    f.UndoMemoryLimit = static_cast<uint64_t>(copies * static_cast<double>(estimatedCopyBytes(*f.CurrentGPX)));
    for (int i = 1; i <= 5; ++i) node("Name" + std::to_string(i - 1))->setText(0, QString("Name%1").arg(i));
    const auto lines = log();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "Oldest undo step dropped: the undo copies reached their memory limit"), 5 - kept);
    for (int i = 4; i >= 5 - kept; --i) {  // what is kept undoes as before, newest first
      action("ActionUndo")->trigger();
      EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(0)->name, "Name" + std::to_string(i));
    }
    EXPECT_TRUE(f.UndoList.empty());
  }
}

// Copies of the empty document pushed before any file is open never come back over one.
TEST_F(UndoTest, OpeningAfterEditsOfTheEmptyDocumentStartsAFreshStack) {
  TMainForm& f = form();
  f.findChild<QAction*>("Anonymizetime1")->trigger();
  ASSERT_EQ(f.UndoList.size(), 1u);
  answers_.push_back({writeTrack("walk.gpx", "Walk")});
  action("ActionOpenGPXFile")->trigger();
  EXPECT_TRUE(f.UndoList.empty());
  EXPECT_FALSE(f.GPXModified);
}
