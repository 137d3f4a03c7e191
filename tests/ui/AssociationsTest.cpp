// The two association commands: the question, the log line, folders that cannot be written
// and program paths that desktop entries cannot start, with the XDG folders in temporary ones.
#include <QMenu>

#include "WindowFixture.h"

namespace {

// Every file under the folder with its content: what a refused command leaves as it was.
std::string filesUnder(const fs::path& folder) {
  std::string out;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    out += e.path().string() + "\n" + (e.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : "");
  }
  return out;
}

}  // namespace

TEST_F(WindowTest, AssociationCommandsAskWriteAndReportFailure) {
  const std::string refused =
      "Corvantel cannot be made the program for these files from this folder: desktop entries cannot start a "
      "program whose path holds a per cent sign or is not UTF-8. Move it to another folder.";
  const struct {
    const char* command;
    TQuestionAnswer answer;
    bool writable;
    std::string program;
    const char* log;
    std::string error;
    const char* entry;
    const char* gpxDefault;  // the user's default for GPX files afterwards
  } cases[] = {
      {"AssociatefithGPXfiles1", TQuestionAnswer::Cancel, true, "/opt/c/corvantel", "", "", nullptr, "viking.desktop;"},
      {"AssociatefithGPXfiles1", TQuestionAnswer::Yes, true, "/opt/c/corvantel",
       "GPX files are now associated with Corvantel", "", "Corvantel1.GPX.desktop", "Corvantel1.GPX.desktop;"},
      {"AssociatewithNMEAfiles1", TQuestionAnswer::Yes, true, "/opt/c/corvantel",
       "NMEA files are now associated with Corvantel", "", "Corvantel1.NMEA.desktop", nullptr},
      {"AssociatewithNMEAfiles1", TQuestionAnswer::Yes, false, "/opt/c/corvantel", "",
       "You have to run Corvantel as an andministrator to do that", nullptr, nullptr},
      // Refused before anything is written; No still gives the type back to its earlier program.
      {"AssociatefithGPXfiles1", TQuestionAnswer::Yes, true, "/opt/100%/corvantel", "", refused, nullptr,
       "Corvantel1.GPX.desktop;"},
      {"AssociatewithNMEAfiles1", TQuestionAnswer::Yes, true, "/opt/caf\xE9/corvantel", "", refused, nullptr, nullptr},
      {"AssociatefithGPXfiles1", TQuestionAnswer::No, true, "/opt/caf\xE9/corvantel", "", "", nullptr, "viking.desktop;"},
  };
  fs::create_directories(path("home/config"));
  write("home/config/mimeapps.list", "[Default Applications]\napplication/gpx+xml=viking.desktop;\n");
  const QString saved[] = {qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("XDG_CONFIG_HOME")};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command + (" " + c.program));
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
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    f.AssociationProgram = [&] { return c.program; };
    const std::string before = filesUnder(path("home"));
    action(c.command)->trigger();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(c.command[9] == 'f' ? "GPX files" : "NMEA files"), std::string::npos);
    EXPECT_EQ(lastLog(), c.log);
    EXPECT_EQ(errors_.empty() ? "" : errors_[0], c.error);
    if (c.entry) EXPECT_TRUE(fs::exists(home + "/data/applications/" + c.entry));
    EXPECT_TRUE(c.error != refused || filesUnder(path("home")) == before);
    if (c.gpxDefault) {
      EXPECT_EQ(FileAssociations("", desktopFoldersFromEnvironment()).UserDefault("application/gpx+xml"), c.gpxDefault);
    }
  }
  qputenv("XDG_DATA_HOME", saved[0].toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", saved[1].toLocal8Bit());
}
