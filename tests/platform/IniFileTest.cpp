// The in-memory INI file: reading forms, case-insensitive names, preservation of unknown keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <tuple>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "base/FileText.h"
#include "platform/IniFile.h"

namespace {

std::string tempDir() {
  auto dir = std::filesystem::temp_directory_path() /
             ("corvantel_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  return dir.string();
}

// The settings file is saved like a document: a link planted at a temporary name is not
// followed, a symbolic link to the file stays a link and the file keeps its mode.
TEST(IniFile, SavingFollowsNoPlantedLinkAndKeepsLinkAndMode) {
  namespace fs = std::filesystem;
  const std::string dir = tempDir();
  { std::ofstream(dir + "/victim") << "keep"; }
  { std::ofstream(dir + "/real.ini") << "[A]\nk=1\n"; }
  fs::permissions(dir + "/real.ini", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.ini", dir + "/Corvantel.ini");
  fs::create_symlink("victim", dir + "/Corvantel.ini.tmp");
  IniFile ini(dir + "/Corvantel.ini");
  ASSERT_TRUE(ini.load());
  ini.writeInteger("A", "k", 2);
  std::string error;
  ASSERT_TRUE(ini.save(&error)) << error;
  std::ifstream victim(dir + "/victim");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "keep");
  EXPECT_TRUE(fs::is_symlink(dir + "/Corvantel.ini"));
  EXPECT_EQ(fs::status(dir + "/real.ini").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  IniFile again(dir + "/real.ini");
  ASSERT_TRUE(again.load());
  EXPECT_EQ(again.readInteger("a", "K", 0), 2);
  fs::remove_all(dir);
}

// No file is no error; a file that is there but cannot be read is one, so that the caller
// does not write defaults over it.
TEST(IniFile, LoadTellsAMissingFileFromOneThatCannotBeRead) {
  namespace fs = std::filesystem;
  const std::string dir = tempDir();
  fs::create_directories(dir + "/folder.ini");
  { std::ofstream(dir + "/locked.ini") << "[A]\nk=1\n"; }
  fs::permissions(dir + "/locked.ini", fs::perms::none);
  const bool root = ::geteuid() == 0;  // reads a file of mode 000
  const std::tuple<const char*, bool, bool> cases[] = {
      {"missing.ini", false, false}, {"folder.ini", false, true}, {"locked.ini", root, !root}};
  for (auto [name, read, failed] : cases) {
    IniFile ini(dir + "/" + name);
    std::string error = "stale";
    EXPECT_EQ(ini.load(&error), read) << name;
    EXPECT_EQ(!error.empty(), failed) << name << error;
  }
  fs::remove_all(dir);
}

// A load still waiting after some seconds is let go by a writer opening the pipe: the test
// then fails instead of hanging.
bool loadsPromptly(IniFile& ini, std::string& error) {
  auto loading = std::async(std::launch::async, [&] { return ini.load(&error); });
  if (loading.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return true;
  ::close(::open(ini.fileName().c_str(), O_WRONLY | O_NONBLOCK));
  return false;
}

// Opening a pipe waits for a writer: neither the load at start-up nor the one before the save
// at shut-down (the file replaced meanwhile) may. A socket cannot be opened at all.
TEST(IniFile, APipeOrSocketIsReportedWithoutWaiting) {
  namespace fs = std::filesystem;
  const std::string dir = tempDir();
  { std::ofstream(dir + "/Corvantel.ini") << "[A]\nk=1\n"; }
  IniFile settings(dir + "/Corvantel.ini"), sockIni(dir + "/socket.ini");
  ASSERT_TRUE(settings.load());
  fs::remove(dir + "/Corvantel.ini");
  ASSERT_EQ(::mkfifo((dir + "/Corvantel.ini").c_str(), 0600), 0);
  sockaddr_un address{AF_UNIX, {}};
  sockIni.fileName().copy(address.sun_path, sizeof address.sun_path - 1);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  for (IniFile* ini : {&settings, &sockIni}) {
    std::string error;
    ASSERT_TRUE(loadsPromptly(*ini, error)) << ini->fileName();
    EXPECT_NE(error.find("Not a regular file"), std::string::npos) << error;
  }
  // Nor does creating a file to write (the map page) wait for a reader of a pipe in its place.
  auto creating = std::async(std::launch::async, [&] { return createFileToWrite(settings.fileName()); });
  if (creating.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
    ::close(::open(settings.fileName().c_str(), O_RDONLY | O_NONBLOCK));
  EXPECT_EQ(creating.get(), nullptr);
  ::close(sock);
  fs::remove_all(dir);
}

}  // namespace

TEST(IniFile, ReadsLfAndCrLfFilesWithNamesInAnyCase) {
  for (const char* text : {"[Draw]\nTrackColor=255\n[GPX]\nCompress = 1\n",
                           "\xEF\xBB\xBF[Draw]\r\nTrackColor=255\r\n[GPX]\r\nCompress = 1\r\n"}) {
    IniFile ini;
    ini.parse(text);
    EXPECT_EQ(ini.readInteger("draw", "TRACKCOLOR", 0), 255);
    EXPECT_TRUE(ini.readBool("gpx", "compress", false));
    EXPECT_FALSE(ini.hasKey("Draw", "Compress"));
  }
}

TEST(IniFile, ValueFormsFallBackToTheDefault) {
  IniFile ini;
  ini.parse("[S]\nint=-42\nbad=12x\nempty=\nbig=99999999999\ntwo=2\nzero=0\ntext= a b \n");
  struct Case {
    const char* key;
    int32_t integer;
    bool boolean;
  } cases[] = {{"int", -42, true},  {"bad", 7, true},   {"empty", 7, true}, {"big", 7, true},
               {"two", 2, true},    {"zero", 0, false}, {"missing", 7, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(ini.readInteger("S", c.key, 7), c.integer) << c.key;
    EXPECT_EQ(ini.readBool("S", c.key, true), c.boolean) << c.key;
  }
  EXPECT_EQ(ini.readString("S", "text", "-"), "a b");
  EXPECT_EQ(ini.readString("S", "missing", "-"), "-");
  EXPECT_EQ(ini.readString("T", "text", "-"), "-");
}

// Of two equal keys (a section given twice is one) the first is read and written.
TEST(IniFile, WritingKeepsUnknownKeysAndTheirPlaces) {
  IniFile ini;
  ini.parse("; hand-written\n[Debug]\nIsDebug=1\n[LastFiles]\nNumber=1\nFileNum1=a\nFileNum3=c\n"
            "filenum1=z\n[lastFILES]\nFileNum3=y\nFileNum4=d\n");
  EXPECT_EQ(ini.readString("LastFiles", "FILENUM3", "") + ini.readString("LASTFILES", "filenum4", ""), "cd");
  ini.writeInteger("lastfiles", "NUMBER", 2);
  ini.writeString("LastFiles", "FileNum1", "A");
  ini.writeString("LastFiles", "FileNum2", "b");
  ini.writeBool("GPX", "Compress", true);
  ini.writeString("lastfiles", "filenum2", "B");
  ini.writeBool("gpx", "COMPRESS", false);
  EXPECT_EQ(ini.readString("LastFiles", "FileNum1", "") + ini.readString("LastFiles", "FileNum2", ""), "AB");
  EXPECT_EQ(ini.text(),
            "; hand-written\n\n[Debug]\nIsDebug=1\n\n[LastFiles]\nNumber=2\nFileNum1=A\n"
            "FileNum3=c\nfilenum1=z\nFileNum3=y\nFileNum4=d\nFileNum2=B\n\n[GPX]\nCompress=0\n");
}

TEST(IniFile, AnEmptySectionNameKeepsItsKeysApart) {
  IniFile ini;
  ini.parse("[A]\nx=1\n[]\ny=2\n");
  ini.writeString("A", "z", "3");
  IniFile reread;
  reread.parse(ini.text());
  EXPECT_EQ(reread.keys("A"), (std::vector<std::string>{"x", "z"}));
  EXPECT_EQ(ini.text(), "[A]\nx=1\nz=3\n\n[]\ny=2\n");
}

TEST(IniFile, LineBreaksInAValueCannotForgeKeys) {
  IniFile ini;
  ini.writeString("LastFiles", "FileNum1", "evil\n[Debug]\r\nIsDebug=1");
  IniFile reread;
  reread.parse(ini.text());
  EXPECT_FALSE(reread.hasSection("Debug"));
  EXPECT_EQ(reread.keys("LastFiles"), std::vector<std::string>{"FileNum1"});
}

TEST(IniFile, SavesWholeFilesAndReportsFailure) {
  std::string dir = tempDir();
  IniFile ini(dir + "/Corvantel.ini");
  EXPECT_FALSE(ini.load());
  ini.writeString("Proxy", "HttpIP", "h\xC3\xA9te");  // UTF-8 kept byte for byte
  ASSERT_TRUE(ini.save());
  IniFile again(dir + "/Corvantel.ini");
  ASSERT_TRUE(again.load());
  EXPECT_EQ(again.readString("proxy", "httpip", ""), "h\xC3\xA9te");
  EXPECT_FALSE(std::filesystem::exists(dir + "/Corvantel.ini.tmp"));

  IniFile nowhere(dir + "/missing/Corvantel.ini");
  std::string error;
  EXPECT_FALSE(nowhere.save(&error));
  EXPECT_FALSE(error.empty());
  std::filesystem::remove_all(dir);
}
