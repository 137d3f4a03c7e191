// Open, Add, Re-open, dropped files, Close, Save and Save as, and the start-up file: what
// they read, what they log, and the names and flags they leave.
#include <fstream>
#include <iterator>

#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "platform/ProgramVersion.h"
#include "WindowFixture.h"

namespace {

std::string version() { return GetFileVersionString(); }

void dropOn(QWidget* target, const std::vector<std::string>& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const auto& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
  data.setUrls(urls);
  // As the desktop does it: the drag enters, then drops.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

}  // namespace

using FileCommandsTest = WindowTest;

TEST_F(FileCommandsTest, OpenReadsTheFileAndCancelLeavesAnEmptyDocument) {
  const std::string walk = writeTrack("walk.gpx", "Walk");
  TMainForm& f = form();
  answers_ = {{walk}};
  action("tbOpenGPX")->trigger();
  EXPECT_EQ(requests_.back().ObjectName, "OpenDialog1");
  EXPECT_EQ(requests_.back().Filter, "GPX files (*.gpx);;All files (*)");
  EXPECT_EQ(title(), "Corvantel " + version() + " - walk.gpx");
  EXPECT_EQ(log().front(), "Opening walk.gpx");
  EXPECT_EQ(captions(), (std::vector<std::string>{"GPX", "  Tracks (1)", "    Walk", "      Track Segment #1"}));
  EXPECT_TRUE(f.GPXLoaded && !f.GPXModified);
  EXPECT_TRUE(action("tbSaveGPX")->isEnabled());

  // Open again, cancelled: closed, the dialog proposed the previous file.
  f.GPXModified = true;  // answered No: closed without saving
  action("OpenGPX1")->trigger();
  EXPECT_EQ(requests_.back().FileName, walk);
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 0);
  EXPECT_EQ(title(), "Corvantel " + version());
  EXPECT_FALSE(f.GPXModified);

  // A typed name that does not exist.
  answers_ = {{path("typo.gpx")}};
  action("tbOpenGPX")->trigger();
  EXPECT_EQ(lastLog(), path("typo.gpx") + " does not exist");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(FileCommandsTest, AddAppendsEachFileAndKeepsUnsavedChanges) {
  std::vector<std::string> files;
  for (const char* n : {"a", "b", "c"}) files.push_back(writeTrack(std::string(n) + ".gpx", n));
  TMainForm& f = form();
  answers_ = {{files[0]}};
  action("OpenGPX1")->trigger();
  f.SaveUndoState();  // an edit: the document is modified
  answers_ = {{files[1], path("gone.gpx"), files[2]}};
  action("AddGPXtocurrentdata1")->trigger();
  EXPECT_TRUE(requests_.back().Multiple);
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 3);
  EXPECT_TRUE(f.GPXModified) << "a read must not forget the edits before it";
  EXPECT_EQ(f.UndoList.size(), 1u);
  // Each read clears the log: only the last file's lines are left.
  EXPECT_EQ(log().front(), "Opening c.gpx");
  EXPECT_EQ(f.CurrentFileName, files[0]);  // still the document's own file
  EXPECT_EQ(title(), "Corvantel " + version() + " - a.gpx");
  EXPECT_EQ(f.LastFiles, (std::vector<std::string>{files[2], files[1], files[0]}));
}

TEST_F(FileCommandsTest, AFailedAddKeepsTheDataAndIsNeverSavedOver) {
  const std::string good = writeTrack("good.gpx", "Good");
  const std::string bad = write("bad.gpx", "this is not XML");
  TMainForm& f = form();
  answers_ = {{good}};
  action("tbOpenGPX")->trigger();
  answers_ = {{bad}};
  action("AddGPXtocurrentdata1")->trigger();
  EXPECT_TRUE(f.GPXLoaded);
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 1);
  EXPECT_EQ(title(), "Corvantel " + version() + " - good.gpx");
  EXPECT_GE(log().size(), 2u);  // "Opening bad.gpx" and the parse error
  // Save writes the document's own file, not the broken one.
  action("tbSaveGPX")->trigger();
  EXPECT_EQ(lastLog(), good + " saved");
}

TEST_F(FileCommandsTest, AMalformedFileLeavesTheWindowAsCloseDoes) {
  const std::string walk = writeTrack("walk.gpx", "Walk", 40);
  std::string text;
  {
    std::ifstream in(walk, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GT(text.size(), 900u);
  const std::string cut = write("cut.gpx", text.substr(0, 900));
  TMainForm& f = form();
  auto fileCommandsEnabled = [&] {
    std::string s;
    for (const char* name : {"tbSaveGPX", "SaveGPX1", "tbSaveGPXAs", "SaveGPXas1", "tbClearGPX", "ClearGPX1"})
      s += action(name)->isEnabled() ? '1' : '0';
    return s;
  };

  // At start-up, and after a good file was closed by the next Open.
  for (const std::string& before : {std::string(), walk}) {
    if (!before.empty()) {
      answers_ = {{before}};
      action("tbOpenGPX")->trigger();
      ASSERT_EQ(fileCommandsEnabled(), "111111");
    }
    answers_ = {{cut}};
    action("tbOpenGPX")->trigger();
    EXPECT_FALSE(f.GPXLoaded);
    EXPECT_GE(log().size(), 2u);  // "Opening cut.gpx" and the parse error
    EXPECT_EQ(captions(), std::vector<std::string>{"GPX"});
    EXPECT_EQ(title(), "Corvantel " + version());
    // Nothing to save or close: Ctrl+S does not ask for a file to write an empty document to.
    EXPECT_EQ(fileCommandsEnabled(), "000000");
    const size_t asked = requests_.size();
    action("ActionSaveGPX")->trigger();
    EXPECT_EQ(requests_.size(), asked);
    // The root stands for the document, as after Close.
    select("GPX");
    EXPECT_EQ(lastLog(), "TGPX");
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(FileCommandsTest, ReopenMenuShowsTheHistoryDepthAndReopens) {
  std::vector<std::string> names;
  for (const char* n : {"1", "2", "3", "4", "5"}) names.push_back(writeTrack(std::string(n) + ".gpx", n));
  fs::remove(names[1]);
  TMainForm& f = form();
  f.GPXOptions.FileHistory = 3;
  f.LastFiles = {names[0], "  ", names[1], names[2], names[3], names[4]};
  f.BuildReopenMenu();
  auto* reopen = f.findChild<QMenu*>("Reopen1");
  const auto items = reopen->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->toolTip().toStdString(), names[0]);
  EXPECT_FALSE(items[1]->isEnabled());  // 2.gpx is gone
  EXPECT_EQ(items[2]->toolTip().toStdString(), names[2]);
  EXPECT_TRUE(reopen->menuAction()->isEnabled());

  items[2]->trigger();
  EXPECT_EQ(title(), "Corvantel " + version() + " - 3.gpx");
  EXPECT_EQ(f.LastFiles.front(), names[2]);

  f.LastFiles.clear();
  f.BuildReopenMenu();
  EXPECT_FALSE(reopen->menuAction()->isEnabled());
}

TEST_F(FileCommandsTest, MixedDropReadsRefusesAndImportsIntoOneDocument) {
  const std::string gpx = writeTrack("one.gpx", "One");
  const std::string txt = write("notes.txt", "hello");
  const std::string nmea = copyData("convert_sample.nmea", "day.nmea");
  TMainForm& f = form();
  dropOn(f.findChild<QWidget*>("PanelGPX"), {gpx, txt, path("missing.gpx"), nmea});
  EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 2);
  const auto lines = log();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Opening one.gpx");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Unsupported file type : notes.txt"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Loading day.nmea"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Opening day.nmea"), lines.end());
  EXPECT_EQ(f.CurrentFileName, nmea + ".gpx");
  EXPECT_TRUE(f.GPXModified);

  // A refused file alone leaves the document's name as it was.
  dropOn(f.findChild<QWidget*>("PanelGPX"), {txt});
  EXPECT_EQ(f.CurrentFileName, nmea + ".gpx");
}

TEST_F(FileCommandsTest, CloseEmptiesOnceAndThenDoesNothing) {
  const std::string walk = writeTrack("walk.gpx", "Walk");
  TMainForm& f = form();
  f.OpenGPXFile(walk);
  f.SaveUndoState();
  const TGPX* before = f.CurrentGPX.get();
  action("tbClearGPX")->trigger();
  EXPECT_EQ(lastLog(), "Closing walk.gpx");
  EXPECT_NE(f.CurrentGPX.get(), before);
  EXPECT_TRUE(f.UndoList.empty());
  EXPECT_FALSE(f.GPXModified);
  EXPECT_TRUE(f.GPXLoaded);               // kept
  EXPECT_EQ(f.CurrentFileName, walk);     // proposed by the next dialogs
  EXPECT_EQ(captions(), std::vector<std::string>{"GPX"});
  EXPECT_FALSE(action("tbClearGPX")->isEnabled());
  const size_t lines = log().size();
  f.ActionCloseCurrentGPXExecute();
  EXPECT_EQ(log().size(), lines);

  // An edit after Close is not written over the closed file: Save (also Yes at quitting)
  // asks where, proposing the old name.
  f.SaveUndoState();
  EXPECT_FALSE(f.ActionSaveGPXExecute());
  ASSERT_FALSE(requests_.empty());
  EXPECT_EQ(requests_.back().ObjectName, "SaveDialog1");
  EXPECT_EQ(requests_.back().FileName, walk);
  EXPECT_TRUE(f.GPXModified);
}

TEST_F(FileCommandsTest, SaveAndSaveAsWriteWithTheirLogTexts) {
  const std::string walk = writeTrack("walk.gpx", "Walk");
  TMainForm& f = form();
  action("ActionSaveGPX")->trigger();  // Ctrl+S follows Save's state: disabled, nothing
  EXPECT_TRUE(requests_.empty() && log().empty());
  f.OpenGPXFile(walk);
  f.SaveUndoState();
  action("ActionSaveGPX")->trigger();
  EXPECT_EQ(lastLog(), walk + " saved");
  EXPECT_FALSE(f.GPXModified);
  EXPECT_EQ(f.CurrentGPX->Creator, "Corvantel " + version());

  const std::string copy = path("copy.gpx");
  answers_ = {{copy}};
  action("tbSaveGPXAs")->trigger();
  EXPECT_TRUE(requests_.back().Save);
  EXPECT_EQ(requests_.back().FileName, walk);
  EXPECT_EQ(requests_.back().Filter, "GPX Files (*.gpx);;All files (*)");
  EXPECT_EQ(lastLog(), copy + " Saved");
  EXPECT_EQ(title(), "Corvantel " + version() + " - copy.gpx");
  EXPECT_EQ(f.LastFiles, std::vector<std::string>{walk});  // Save as leaves the history alone

  // Save right after Save as writes to the new name.
  action("SaveGPX1")->trigger();
  EXPECT_EQ(lastLog(), copy + " saved");
  EXPECT_TRUE(fs::exists(copy));
}

TEST_F(FileCommandsTest, CommandLineFileByExtension) {
  const std::string upper = writeTrack("RIDE.GPX", "Ride");
  const std::string nmea = copyData("convert_sample.nmea", "LOG.NMEA");
  const std::string other = write("notes.txt", "x");
  // A name in capitals, and one that is not UTF-8, as a file manager hands it over.
  for (const std::string& gpx : {upper, writeTrack("caf\xE9.gpx", "Cafe")}) {
    TMainForm& f = form({gpx});
    EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 1) << gpx;
    EXPECT_TRUE(f.ZoomAllOnShow);
    EXPECT_FALSE(f.GPXModified);
    EXPECT_EQ(f.LastFiles, std::vector<std::string>{gpx});
  }
  {
    TMainForm& f = form({nmea});
    EXPECT_EQ(f.CurrentGPX->Tracks.Count(), 1);
    EXPECT_EQ(title(), "Corvantel " + version() + " - LOG.NMEA.gpx");
  }
  for (const std::string& ignored : {other, path("missing.gpx")}) {
    TMainForm& f = form({ignored});
    EXPECT_EQ(f.CurrentFileName, ignored);
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(f.GPXLoaded);
  }
}
