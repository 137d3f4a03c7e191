// The three imports through File/Import and the KML export: names, flags, titles, the log
// pane kept, and the export's proposed name.
#include <QMenu>

#include "platform/ProgramVersion.h"
#include "ui/RecentFiles.h"
#include "WindowFixture.h"

using ImportExportTest = WindowTest;

TEST_F(ImportExportTest, EachImportAppendsAndNamesTheDocumentAfterItsSource) {
  struct Case {
    const char* action;
    const char* data;
    const char* file;
    std::string filter;
  } cases[] = {
      {"FromNMEA1", "convert_sample.nmea", "track.nmea", "NMEA files (*.nmea);;All files (*)"},
      {"FromNGT1", "convert_sample.ngt", "track.ngt", "NoniGpsPlot files (*.ngt);;All files (*)"},
      {"FromKML1", "convert_sample.kml", "track.kml", "Keyhole Markup Language files (*.kml);;All files (*)"},
  };
  for (const Case& c : cases) {
    TMainForm& f = form();
    f.AddLog("earlier line");
    const std::string source = copyData(c.data, c.file);
    answers_ = {{source}};
    action(c.action)->trigger();
    EXPECT_EQ(requests_.back().Filter, c.filter) << c.action;
    EXPECT_EQ(requests_.back().FileName, "") << c.action;
    EXPECT_EQ(title(), "Corvantel " + GetFileVersionString() + " - " + c.file + ".gpx") << c.action;
    EXPECT_EQ(f.CurrentFileName, source + ".gpx");
    EXPECT_TRUE(f.GPXModified && f.GPXLoaded) << c.action;
    EXPECT_TRUE(f.UndoList.empty()) << c.action;
    EXPECT_TRUE(f.LastFiles.empty()) << c.action;
    EXPECT_GT(f.CurrentGPX->Tracks.Count() + f.CurrentGPX->Waypoints.Count(), 0) << c.action;
    const auto lines = log();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "earlier line") << c.action;
    EXPECT_EQ(lines[1], std::string("Opening ") + c.file) << c.action;
    EXPECT_GT(captions().size(), 1u) << c.action;
    EXPECT_TRUE(action("tbSaveGPX")->isEnabled()) << c.action;
  }
  form_->ImportNGTFile(path("gone.ngt"));
  EXPECT_EQ(lastLog(), path("gone.ngt") + " does not exist");
  // Save then writes beside the source without a dialog.
  requests_.clear();
  action("tbSaveGPX")->trigger();
  EXPECT_TRUE(requests_.empty());
  EXPECT_TRUE(fs::exists(path("track.kml.gpx")));
}

TEST_F(ImportExportTest, ExportProposesTheKmlNameAndWritesIt) {
  TMainForm& f = form();
  f.OpenGPXFile(writeTrack("walk.gpx", "Walk"));
  answers_ = {{}};
  action("AsKML1")->trigger();
  EXPECT_EQ(requests_.back().FileName, path("walk.kml"));
  EXPECT_EQ(requests_.back().Filter, "Keyhole Markup Language files (*.kml);;All files (*)");
  EXPECT_TRUE(requests_.back().Save);

  answers_ = {{path("out.kml")}};
  f.GPXModified = true;
  action("AsKML1")->trigger();
  EXPECT_EQ(lastLog(), path("out.kml") + " Saved");
  EXPECT_EQ(f.CurrentFileName, path("walk.gpx"));
  EXPECT_TRUE(f.GPXModified);
  EXPECT_TRUE(fs::exists(path("out.kml")));
}

TEST(FileNames, RecentListAndExtensions) {
  std::vector<std::string> files{"/d/a.gpx", "/d/B.gpx"};
  rememberRecentFile(files, "/d/b.gpx");  // another file on Linux
  rememberRecentFile(files, "/d/a.gpx");
  EXPECT_EQ(files, (std::vector<std::string>{"/d/a.gpx", "/d/b.gpx", "/d/B.gpx"}));

  const std::vector<std::string> five{" /1 ", "", "/2", "/3", "/4", "/5"};
  // Names as they are: trimmed, one could be another file.
  EXPECT_EQ(recentFilesShown(five, 3), (std::vector<std::string>{" /1 ", "/2", "/3"}));
  for (int depth : {0, INT32_MIN}) EXPECT_EQ(recentFilesShown(five, depth), std::vector<std::string>{" /1 "});
  EXPECT_TRUE(recentFilesShown({"", " "}, 8).empty());

  struct Case {
    const char *path, *kml, *extension;
  } cases[] = {
      {"/data/walk.gpx", "/data/walk.kml", ".gpx"},
      {"/data/day1.nmea.gpx", "/data/day1.nmea.kml", ".gpx"},
      {"/my.tracks/walk", "/my.tracks/walk.kml", ""},
      {"/data/WALK.GPX", "/data/WALK.kml", ".gpx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(changeFileExtension(c.path, ".kml"), c.kml);
    EXPECT_EQ(fileExtension(c.path), c.extension);
  }
}
