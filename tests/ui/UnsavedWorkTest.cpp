// Unsaved work is never lost without a question: Open, Re-open and Close on a modified
// document, Save after an import, and files added to a document that has a file of its own.
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/ProgramVersion.h"
#include "WindowFixture.h"

namespace {

std::string contents(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class UnsavedWorkTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    hooks_.AskYesNoCancel = [this](QWidget*, const QString& title, const QString&) {
      questions_.push_back(title.toStdString());
      return answer_;
    };
    hooks_.WriteDocument = [this](TGPX& gpx, const TGPXOptions&, const std::string& file) {
      if (failWrite_) throw std::runtime_error("disk full");
      write(file, "saved " + gpx.Tracks.GetTrack(0)->name);
    };
  }
  std::vector<std::string> questions_;
  bool failWrite_ = false;
};

TEST_F(UnsavedWorkTest, OpenReopenAndCloseAskBeforeDroppingChanges) {
  const std::string walk = writeTrack("walk.gpx", "Walk"), other = writeTrack("other.gpx", "Other");
  struct Case {
    TQuestionAnswer answer;
    bool failWrite;
    bool goesOn;  // the command runs after the question
    bool saved;
  } cases[] = {
      {TQuestionAnswer::Cancel, false, false, false},
      {TQuestionAnswer::No, false, true, false},
      {TQuestionAnswer::Yes, false, true, true},
      {TQuestionAnswer::Yes, true, false, false},
  };
  const std::function<void(TMainForm&)> commands[] = {
      [&](TMainForm&) { answers_ = {{other}}, action("tbOpenGPX")->trigger(); },
      [&](TMainForm& f) { RunGuarded(&f, [&] { f.ReopenItemClick(other); }); },
      [&](TMainForm&) { action("tbClearGPX")->trigger(); },
  };
  for (size_t command = 0; command < std::size(commands); ++command)
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "command " << command << ", answer " << int(c.answer));
      writeTrack("walk.gpx", "Walk");
      TMainForm& f = form();
      f.OpenGPXFile(walk);
      node("Walk")->setText(0, "Ridge");  // an edit
      questions_.clear(), errors_.clear();
      answer_ = c.answer, failWrite_ = c.failWrite;
      commands[command](f);
      EXPECT_EQ(questions_, std::vector<std::string>{"Question"});
      EXPECT_EQ(contents(walk) == "saved Ridge", c.saved);
      EXPECT_EQ(errors_.size(), c.failWrite ? 1u : 0u);
      if (c.goesOn) {
        EXPECT_EQ(f.CurrentGPX->Tracks.Count(), command == 2 ? 0 : 1);
        if (command != 2) EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(0)->name, "Other");
      } else {
        // Everything as it was: the edited document, its flag and its undo copy.
        ASSERT_EQ(f.CurrentGPX->Tracks.Count(), 1);
        EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(0)->name, "Ridge");
        EXPECT_TRUE(f.GPXModified);
        EXPECT_EQ(f.UndoList.size(), 1u);
        EXPECT_EQ(title(), "Corvantel " + GetFileVersionString() + " - walk.gpx");
      }
    }
}

TEST_F(UnsavedWorkTest, SaveAfterAnImportAsksBeforeReplacingAFile) {
  for (const bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "target exists" : "no target");
    const std::string source = copyData("convert_sample.nmea", "day.nmea"), target = source + ".gpx";
    fs::remove(target);
    if (exists) write("day.nmea.gpx", "precious");
    TMainForm& f = form();
    f.ImportNMEAFile(source);
    requests_.clear();
    action("tbSaveGPX")->trigger();  // Save as is cancelled
    if (exists) {
      ASSERT_EQ(requests_.size(), 1u);
      EXPECT_EQ(requests_.back().ObjectName, "SaveDialog1");
      EXPECT_EQ(requests_.back().FileName, target);
      EXPECT_EQ(contents(target), "precious");
      EXPECT_TRUE(f.GPXModified);
      answers_ = {{target}};  // the user chose to replace it
      action("tbSaveGPX")->trigger();
    }
    EXPECT_NE(contents(target), "precious");
    EXPECT_FALSE(f.GPXModified);
    // The file now holds the document: the next Save writes it without a dialog.
    const size_t asked = requests_.size();
    f.SaveUndoState();
    action("tbSaveGPX")->trigger();
    EXPECT_EQ(requests_.size(), asked);
    EXPECT_EQ(lastLog(), target + " saved");
  }
}

TEST_F(UnsavedWorkTest, AddedAndDroppedFilesKeepTheDocumentsOwnFile) {
  const std::string source = copyData("convert_sample.nmea", "day.nmea");
  struct Case {
    const char* how;
    bool imported;  // the document comes from an import rather than a GPX file
  } cases[] = {{"add", false}, {"drop", false}, {"drop", true}, {"add", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.how << (c.imported ? " after import" : " after open"));
    const std::string walk = writeTrack("walk.gpx", "Walk"), added = writeTrack("added.gpx", "Added");
    fs::remove(source + ".gpx");
    TMainForm& f = form();
    if (c.imported)
      f.ImportNMEAFile(source);
    else
      f.OpenGPXFile(walk);
    const std::string own = f.CurrentFileName, ownTitle = title();
    if (std::string(c.how) == "add") {
      answers_ = {{added}};
      action("AddGPXtocurrentdata1")->trigger();
    } else {
      dropOn(f.findChild<QWidget*>("PanelGPX"), {added});
    }
    EXPECT_EQ(f.CurrentGPX->Tracks.GetTrack(f.CurrentGPX->Tracks.Count() - 1)->name, "Added");
    EXPECT_EQ(f.CurrentFileName, own);
    EXPECT_EQ(title(), ownTitle);
    EXPECT_TRUE(f.GPXModified) << "the document's file no longer holds all of it";
    EXPECT_EQ(f.LastFiles.front(), added);
    const size_t asked = requests_.size();
    action("tbSaveGPX")->trigger();
    EXPECT_EQ(requests_.size(), asked);
    EXPECT_EQ(lastLog(), own + " saved");
    EXPECT_EQ(contents(added).rfind("<?xml", 0), 0u) << "the added file is left alone";
  }
}
