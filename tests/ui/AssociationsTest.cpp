// The two association commands: the question, the log line, and folders that cannot be
// written.
#include <QMenu>

#include "WindowFixture.h"

TEST_F(WindowTest, AssociationCommandsAskWriteAndReportFailure) {
  const struct {
    const char* command;
    TQuestionAnswer answer;
    bool writable;
    const char* log;
    const char* error;
    const char* entry;
  } cases[] = {
      {"AssociatefithGPXfiles1", TQuestionAnswer::Cancel, true, "", "", nullptr},
      {"AssociatefithGPXfiles1", TQuestionAnswer::Yes, true, "GPX files are now associated with Corvantel", "",
       "Corvantel1.GPX.desktop"},
      {"AssociatewithNMEAfiles1", TQuestionAnswer::Yes, true, "NMEA files are now associated with Corvantel", "",
       "Corvantel1.NMEA.desktop"},
      {"AssociatewithNMEAfiles1", TQuestionAnswer::Yes, false, "",
       "You have to run Corvantel as an andministrator to do that", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    std::vector<std::string> questions;
    hooks_.AskYesNoCancel = [&](QWidget*, const QString&, const QString& text) {
      questions.push_back(text.toStdString());
      return c.answer;
    };
    TMainForm& f = form();
    errors_.clear();
    fs::remove_all(path("xdg"));
    write("xdg", "a file: nothing can be made under it");
    const std::string home = c.writable ? path("home") : path("xdg");
    f.AssociationFolders = [&] { return DesktopFolders{home + "/data", home + "/config"}; };
    action(c.command)->trigger();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(c.command[9] == 'f' ? "GPX files" : "NMEA files"), std::string::npos);
    EXPECT_EQ(lastLog(), c.log);
    EXPECT_EQ(errors_.empty() ? "" : errors_[0], c.error);
    if (c.entry) EXPECT_TRUE(fs::exists(home + "/data/applications/" + c.entry));
  }
}
