// Saving through TGPXFile: round trips give identical bytes, a failed save keeps the old file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "formats/GPXFile.h"
#include "writer_fixture.h"

namespace {

std::string saveText(TGPX& gpx, const std::string& path, bool compressed, bool gpxStyle) {
  TGPXFile file;
  file.GPX = &gpx;
  file.Options.Compress = compressed;
  file.Options.GPXStyle = gpxStyle;
  file.SaveToFile(path);
  return readWholeFile(path);
}

std::unique_ptr<TGPX> load(const std::string& path, bool gpxStyle) {
  auto gpx = std::make_unique<TGPX>();
  TGPXFile file;
  file.GPX = gpx.get();
  file.Options.GPXStyle = gpxStyle;
  file.LoadFromFile(path);
  EXPECT_TRUE(file.Loaded) << path;
  return gpx;
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriterSave, WriteReadWriteGivesIdenticalBytes) {
  const std::string folder = makeTempFolder();
  for (bool compressed : {false, true}) {
    auto original = makeFullDocument();
    const std::string first = saveText(*original, folder + "/a.gpx", compressed, true);
    auto reread = load(folder + "/a.gpx", true);
    reread->Creator = original->Creator;  // the reader leaves the gpx attributes alone
    const std::string second = saveText(*reread, folder + "/b.gpx", compressed, true);
    EXPECT_EQ(first, second) << (compressed ? "compressed" : "indented");
    EXPECT_EQ(first.find('\n') == std::string::npos, compressed);
    // Bounds are recomputed from the points before the metadata is written.
    EXPECT_NE(first.find("<bounds minlat=\"-0.5\" minlon=\"-1.25\" maxlat=\"52.5\" "
                         "maxlon=\"13.625\" />"),
              std::string::npos);
  }
}

// The clipboard's list texts keep line ends and TABs whatever the last save of the same file
// object did, and follow its line style option.
TEST(WriterSave, ListExportsStayIndentedAfterACompressedSave) {
  const std::string folder = makeTempFolder();
  auto gpx = makeFullDocument();
  TGPXFile file;
  file.GPX = gpx.get();
  file.Options.Compress = true;
  file.Options.GPXStyle = true;
  file.SaveToFile(folder + "/c.gpx");
  ASSERT_EQ(readWholeFile(folder + "/c.gpx").find('\n'), std::string::npos);

  auto endsWith = [](const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
  };
  const std::string wpts = file.ExportGPXWPTList(gpx->Waypoints);
  EXPECT_TRUE(endsWith(wpts, "</wpt>\r\n<wpt lat=\"0\" lon=\"0\">\r\n</wpt>\r\n")) << wpts;
  const std::string routes = file.ExportGPXRTEList(gpx->Routes);
  EXPECT_EQ(routes.rfind("<rte>\r\n\t<name>Route &amp; co</name>\r\n", 0), 0u) << routes;
  EXPECT_NE(routes.find("\t\t\t<color>ff8000</color>\r\n"), std::string::npos) << routes;
  const std::string tracks = file.ExportGPXTRKList(gpx->Tracks);
  EXPECT_TRUE(endsWith(tracks, "\t\t</trkpt>\r\n\t\t<extensions><t:seg xmlns:t=\"urn:corvantel:test\">s</t:seg>"
                               "</extensions>\r\n\t</trkseg>\r\n\t<trkseg>\r\n\t</trkseg>\r\n</trk>\r\n"))
      << tracks;
  EXPECT_EQ(file.ExportGPXTRKList(TGPXtrkList()), "");
}

TEST(WriterSave, ReplacingKeepsPermissionsAndFollowsLinks) {
  const std::string folder = makeTempFolder();
  const std::string real = folder + "/real.gpx";
  const std::string link = folder + "/link.gpx";
  writeWholeFile(real, "old");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink(real, link);
  TGPX gpx;
  const std::string text = saveText(gpx, link, false, false);
  EXPECT_EQ(text.rfind("</gpx>"), text.size() - 6);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  struct stat st;
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"link.gpx", "real.gpx"}));
}

// A save that fails half-way (here: the file size limit) raises and leaves the old file whole.
TEST(WriterSave, FailedSaveReportsAndKeepsTheOldFile) {
  const std::string folder = makeTempFolder();
  const std::string target = folder + "/keep.gpx";
  writeWholeFile(target, "old content");
  auto gpx = makeFullDocument();
  for (int i = 0; i < 20000; ++i) addPoint(gpx->Waypoints, i * 1e-3, 1, 2);

  struct sigaction ignore{}, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool raised = false;
  try {
    saveText(*gpx, target, false, false);
  } catch (const std::system_error&) {
    raised = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_TRUE(raised);
  EXPECT_EQ(readWholeFile(target), "old content");
  EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"keep.gpx"});

  // A target that cannot be replaced and one in a folder that does not exist.
  // A pipe stands for a device node: the node must stay what it is.
  std::filesystem::create_directory(folder + "/dir.gpx");
  ASSERT_EQ(mkfifo((folder + "/pipe.gpx").c_str(), 0600), 0);
  TGPX empty;
  for (const char* name : {"/dir.gpx", "/pipe.gpx", "/missing/x.gpx"})
    EXPECT_THROW(saveText(empty, folder + name, false, false), std::system_error) << name;
  EXPECT_TRUE(std::filesystem::is_fifo(folder + "/pipe.gpx"));
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"dir.gpx", "keep.gpx", "pipe.gpx"}));
}

// Only a regular file is replaced: a folder or a pipe at the name is an error and stays as
// it was; a dangling link stays a link and the file appears where it points.
TEST(WriterSave, OnlyRegularFilesAreReplaced) {
  namespace fs = std::filesystem;
  const std::string folder = makeTempFolder();
  ASSERT_EQ(mkfifo((folder + "/pipe.gpx").c_str(), 0600), 0);
  fs::create_directory(folder + "/dir.gpx");
  fs::create_symlink("made.gpx", folder + "/dangling.gpx");
  fs::create_symlink("pipe.gpx", folder + "/to-pipe.gpx");
  const struct {
    const char* name;
    bool saves;
  } cases[] = {{"pipe.gpx", false}, {"dir.gpx", false}, {"to-pipe.gpx", false}, {"dangling.gpx", true}};
  for (const auto& c : cases) {
    TGPX gpx;
    bool saved = true;
    try {
      saveText(gpx, folder + "/" + c.name, false, false);
    } catch (const std::system_error&) {
      saved = false;
    }
    EXPECT_EQ(saved, c.saves) << c.name;
  }
  EXPECT_TRUE(fs::is_fifo(folder + "/pipe.gpx"));
  EXPECT_TRUE(fs::is_directory(folder + "/dir.gpx"));
  EXPECT_TRUE(fs::is_symlink(folder + "/dangling.gpx"));
  EXPECT_EQ(readWholeFile(folder + "/made.gpx").rfind("</gpx>"), readWholeFile(folder + "/made.gpx").size() - 6);
  EXPECT_EQ(folderEntries(folder).size(), 5u);  // no temporary file left behind
}

}  // namespace
