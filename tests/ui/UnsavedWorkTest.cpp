// Unsaved work is never lost without a question: Open, Re-open and Close on a modified
// document, Save after an import, files added to a document that has a file of its own.
#include <fstream>
#include <stdexcept>

#include "WindowFixture.h"

class UnsavedWorkTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    hooks_.AskYesNoCancel = [this](QWidget*, const QString& title, const QString&) {
      questions_.push_back(title.toStdString());
      return answer_;
    };
    hooks_.WriteDocument = [this](TGPX&, const TGPXOptions&, const std::string& file) {
      if (failWrite_) throw std::runtime_error("disk full");
      write(file, "saved");
    };
  }
  static std::string contents(const std::string& file) {
    std::string s;
    return std::getline(std::ifstream(file), s), s;
  }
  std::vector<std::string> questions_;
  bool failWrite_ = false;
};

TEST_F(UnsavedWorkTest, OpenReopenAndCloseAskBeforeDroppingChanges) {
  const std::string walk = path("walk.gpx"), other = writeTrack("other.gpx", "Other");
  struct Case { TQuestionAnswer answer; bool failWrite, goesOn, saved; } cases[] = {
      {TQuestionAnswer::Cancel, false, false, false}, {TQuestionAnswer::No, false, true, false},
      {TQuestionAnswer::Yes, false, true, true}, {TQuestionAnswer::Yes, true, false, false}};
  const std::function<void(TMainForm&)> commands[] = {
      [&](TMainForm&) { answers_ = {{other}}, action("tbOpenGPX")->trigger(); },
      [&](TMainForm& f) { RunGuarded(&f, [&] { f.ReopenItemClick(other); }); },
      [&](TMainForm&) { action("tbClearGPX")->trigger(); }};
  for (size_t command = 0; command < std::size(commands); ++command)
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "command " << command << ", answer " << int(c.answer));
      TMainForm& f = form();
      f.OpenGPXFile(writeTrack("walk.gpx", "Walk"));
      node("Walk")->setText(0, "Ridge");  // an edit
      questions_.clear(), errors_.clear(), answer_ = c.answer, failWrite_ = c.failWrite;
      commands[command](f);
      EXPECT_EQ(questions_, std::vector<std::string>{"Question"});
      EXPECT_EQ(contents(walk) == "saved", c.saved);
      EXPECT_EQ(errors_.size(), c.failWrite ? 1u : 0u);
      const bool kept = f.CurrentGPX->Tracks.Count() == 1 && f.CurrentGPX->Tracks.GetTrack(0)->name == "Ridge";
      EXPECT_EQ(kept && f.GPXModified && f.UndoList.size() == 1, !c.goesOn);
    }
}

TEST_F(UnsavedWorkTest, SaveWritesOnlyTheDocumentsOwnFile) {
  const std::string nmea = copyData("convert_sample.nmea", "day.nmea"), imported = nmea + ".gpx";
  // How the document came, whether "<source>.gpx" exists, the file added by Add or drop.
  struct Case { bool import, targetExists; const char* added; } cases[] = {
      {true, true, nullptr}, {true, false, nullptr}, {false, false, "add"}, {false, false, "drop"},
      {true, false, "drop"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.import << c.targetExists << (c.added ? c.added : ""));
    fs::remove(imported);
    if (c.targetExists) write("day.nmea.gpx", "precious");
    const std::string added = writeTrack("added.gpx", "Added");
    TMainForm& f = form();
    c.import ? f.ImportNMEAFile(nmea) : f.OpenGPXFile(writeTrack("walk.gpx", "Walk"));
    const std::string own = f.CurrentFileName, ownTitle = title();
    if (c.added && *c.added == 'a') answers_ = {{added}}, action("AddGPXtocurrentdata1")->trigger();
    if (c.added && *c.added == 'd') f.DropFiles({added});
    EXPECT_EQ(f.CurrentFileName + title(), own + ownTitle);
    EXPECT_TRUE(f.GPXModified);
    requests_.clear();
    action("tbSaveGPX")->trigger();  // asks only before replacing a file; cancelled
    EXPECT_EQ(requests_.size(), c.targetExists ? 1u : 0u);
    EXPECT_EQ(contents(own), c.targetExists ? "precious" : "saved");
    EXPECT_EQ(contents(added), "<?xml version=\"1.0\"?>");
    if (c.targetExists) EXPECT_EQ(requests_.back().FileName, imported);
  }
}
