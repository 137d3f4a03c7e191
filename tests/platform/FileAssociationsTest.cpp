// File associations in temporary XDG folders: the entries written, the earlier default kept
// and given back, the user's other lines untouched, and folders that cannot be written.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/FileAssociations.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs `work` where a file of mode 000 cannot be read: as root, in a child that drops to
// "nobody", given `dir`. Its result; 99 when the drop failed.
int asUnprivileged(const fs::path& dir, const std::function<int()>& work) {
  if (::geteuid() != 0) return work();
  for (const auto& f : fs::recursive_directory_iterator(dir)) EXPECT_EQ(::lchown(f.path().c_str(), 65534, 65534), 0);
  EXPECT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
  const pid_t child = ::fork();
  if (child == 0) ::_exit(::setgroups(0, nullptr) || ::setgid(65534) || ::setuid(65534) ? 99 : work());
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

class FileAssociationsTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvantel_assoc_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "config");
  }
  void TearDown() override { fs::remove_all(dir_); }
  FileAssociations make(bool tools = false) {
    FileAssociations a("/opt/My \"GPS\" $tools/corvantel", {(dir_ / "data").string(), (dir_ / "config").string()});
    a.RunUpdateTools = tools;
    return a;
  }
  void writeMimeApps(const std::string& text) { std::ofstream(dir_ / "config/mimeapps.list") << text; }
  std::string mimeApps() { return readAll(dir_ / "config/mimeapps.list"); }
  fs::path dir_;
};

}  // namespace

TEST(FileAssociationText, ExecLineQuotesThePathAndLeavesTheFieldCodeBare) {
  const struct {
    const char* path;
    const char* exec;
  } cases[] = {
      {"/usr/bin/corvantel", "\"/usr/bin/corvantel\" %f"},
      {"/a b/c\"d", "\"/a b/c\\\\\"d\" %f"},
      {"/x$y`z", "\"/x\\\\$y\\\\`z\" %f"},
      {"/100%/p\\q", "\"/100%%/p\\\\\\\\q\" %f"},
  };
  for (const auto& c : cases) EXPECT_EQ(desktopExecLine(c.path), c.exec) << c.path;
  // GLib starts no entry with a per cent sign in the path, or with bytes that are not UTF-8.
  const std::pair<const char*, bool> startable[] = {
      {"/opt/caf\xC3\xA9 $x/c", true}, {"/opt/100%/c", false},     {"/opt/caf\xE9/c", false},
      {"/\xC0\xAF/c", false},           {"/\xED\xA0\x80/c", false}, {"/\xF4\x90\x80\x80/c", false}};
  for (const auto& [path, ok] : startable) EXPECT_EQ(desktopCanStart(path), ok) << path;
}

TEST(FileAssociationText, KeyFileEditsKeepEveryOtherLine) {
  const std::string text = "# mine\n[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
                           "a/b=old.desktop;\nc/d=keep.desktop\n\n[Other]\na/b=no\n";
  const struct {
    std::string key;
    std::optional<std::string> value;
    std::string expected;
  } cases[] = {
      {"a/b", "new.desktop;", "# mine\n[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
                              "a/b=new.desktop;\nc/d=keep.desktop\n\n[Other]\na/b=no\n"},
      {"e/f", "n.desktop", "# mine\n[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
                           "a/b=old.desktop;\nc/d=keep.desktop\ne/f=n.desktop\n\n[Other]\na/b=no\n"},
      {"a/b", std::nullopt, "# mine\n[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
                            "c/d=keep.desktop\n\n[Other]\na/b=no\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(setKeyFileValue(text, "Default Applications", c.key, c.value), c.expected);
  EXPECT_EQ(setKeyFileValue("[A]\nk=v", "Default Applications", "a/b", "z"),
            "[A]\nk=v\n\n[Default Applications]\na/b=z\n");
  EXPECT_EQ(keyFileValue(text, "Default Applications", "a/b").value_or("-"), "old.desktop;");
}

TEST_F(FileAssociationsTest, YesWritesTheEntriesAndNoGivesTheDefaultBack) {
  writeMimeApps("[Default Applications]\napplication/gpx+xml=viking.desktop;\ntext/plain=ed.desktop\n");
  FileAssociations a = make(true);
  ASSERT_TRUE(a.CanWrite());
  a.Associate(gpxFileType("GPS Exchange file"));
  a.Associate(gpxFileType("GPS Exchange file"));  // a second Yes keeps the first earlier default
  EXPECT_EQ(a.UserDefault("application/gpx+xml"), "Corvantel1.GPX.desktop;");
  const std::string entry = readAll(a.DesktopFile(gpxFileType("")));
  for (const char* line : {"Comment=GPS Exchange file\n", "MimeType=application/gpx+xml;\n",
                           "X-Corvantel-Earlier-Default=viking.desktop;\n",
                           "Exec=\"/opt/My \\\\\"GPS\\\\\" \\\\$tools/corvantel\" %f\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  EXPECT_TRUE(fs::exists(dir_ / "data/icons/hicolor/scalable/apps/Corvantel1.GPX.svg"));
  if (std::system("command -v desktop-file-validate >/dev/null") == 0)
    EXPECT_EQ(std::system(("desktop-file-validate '" + a.DesktopFile(gpxFileType("")) + "'").c_str()), 0);

  EXPECT_TRUE(a.Restore(gpxFileType("")));
  EXPECT_EQ(mimeApps(), "[Default Applications]\napplication/gpx+xml=viking.desktop;\ntext/plain=ed.desktop\n");
  EXPECT_FALSE(a.Restore(gpxFileType("")));  // another program's default is left alone
}

TEST_F(FileAssociationsTest, NmeaGetsItsOwnTypeAndNoWithoutEarlierDefaultDropsTheLine) {
  FileAssociations a = make(true);
  a.Associate(nmeaFileType());
  EXPECT_NE(readAll(dir_ / "data/mime/packages/Corvantel1.NMEA.xml").find("<glob pattern=\"*.nmea\"/>"),
            std::string::npos);
  // update-mime-database compiled the package into the user's database.
  if (std::system("command -v update-mime-database >/dev/null") == 0)
    EXPECT_NE(readAll(dir_ / "data/mime/globs2").find("text/x-nmea:*.nmea"), std::string::npos);
  EXPECT_EQ(a.UserDefault("text/x-nmea"), "Corvantel1.NMEA.desktop;");
  a.Restore(nmeaFileType());
  EXPECT_EQ(a.UserDefault("text/x-nmea"), "");
}

TEST_F(FileAssociationsTest, FoldersUnderAFileCannotBeWritten) {
  std::ofstream(dir_ / "file") << "x";
  FileAssociations a("/p", {(dir_ / "file/data").string(), (dir_ / "config").string()});
  EXPECT_FALSE(a.CanWrite());
  EXPECT_THROW(a.Associate(gpxFileType("")), FileAssociationError);
  FileAssociations refused("/opt/100%/corvantel", {(dir_ / "data").string(), (dir_ / "config").string()});
  EXPECT_THROW(refused.Associate(gpxFileType("")), FileAssociationError);
  EXPECT_FALSE(fs::exists(dir_ / "data"));  // nothing written

  // A device (a pipe for a user) linked as mimeapps.list is reported and stays; the
  // folder probe follows no link planted at its old fixed name.
  const fs::path node = dir_ / "node";
  // A device where the user may make one (root with the right to), else a pipe.
  const bool device = ::geteuid() == 0 && ::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
  ASSERT_TRUE(device || ::mkfifo(node.c_str(), 0600) == 0);
  fs::create_symlink(node, dir_ / "config/mimeapps.list");
  fs::create_symlink(dir_ / "file", dir_ / "config/.corvantel-write-test");
  EXPECT_TRUE(make().CanWrite());
  EXPECT_THROW(make().Associate(gpxFileType("")), FileAssociationError);
  EXPECT_EQ(fs::status(node).type(), device ? fs::file_type::character : fs::file_type::fifo);
  EXPECT_EQ(readAll(dir_ / "file"), "x");
}

// A mimeapps.list or entry that is there but cannot be read is an error: nothing built from
// nothing replaces the user's lines or forgets the remembered default.
TEST_F(FileAssociationsTest, AnUnreadableFileIsReportedAndLeftAsItWas) {
  const std::string lines =
      "[Default Applications]\ntext/plain=other.desktop\napplication/gpx+xml=viking.desktop;\n\n[Added Associations]\nb/c=x;\n";
  const struct {
    bool entry;  // the entry cannot be read, else mimeapps.list
    mode_t mode;
    bool no, refused;
  } cases[] = {{false, 0600, false, false}, {false, 0000, false, true}, {false, 0200, false, true},
               {true, 0000, false, true},   {true, 0000, true, true}};
  for (const auto& c : cases) {
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "config");
    writeMimeApps(lines);
    if (c.entry) make().Associate(gpxFileType(""));
    const std::string file = c.entry ? make().DesktopFile(gpxFileType("")) : (dir_ / "config/mimeapps.list").string();
    const std::string before = readAll(file) + mimeApps();
    ::chmod(file.c_str(), c.mode);
    const int outcome = asUnprivileged(dir_, [&] {
      try {
        c.no ? (void)make().Restore(gpxFileType("")) : make().Associate(gpxFileType(""));
        return 0;
      } catch (const FileAssociationError&) {
        return 1;
      }
    });
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(outcome, c.refused ? 1 : 0) << c.entry << c.mode << c.no;
    EXPECT_EQ(readAll(file) + mimeApps(),
              c.refused ? before : readAll(file) + setKeyFileValue(lines, "Default Applications", "application/gpx+xml", "Corvantel1.GPX.desktop;"));
  }
}
