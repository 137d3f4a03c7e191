// Long file names: existing files come back as full paths, anything else unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ProgramVersion.h"

TEST(ProgramVersion, LongFileNameOfExistingFilesOnly) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "corvantel_long_name";
  fs::remove_all(dir);
  fs::create_directories(dir / "sub");
  std::ofstream(dir / "track.gpx") << "x";
  const fs::path old = fs::current_path();
  fs::current_path(dir / "sub");
  EXPECT_EQ(GetLongFileName("../track.gpx"), (dir / "track.gpx").string());
  EXPECT_EQ(GetLongFileName("../missing.gpx"), "../missing.gpx");
  EXPECT_EQ(GetLongFileName(""), "");
  // Through a link to another folder, ".." is the link target's parent, not the link's.
  fs::create_directories(dir / "far" / "deep");
  std::ofstream(dir / "far" / "track.gpx") << "far";
  fs::create_directory_symlink(dir / "far" / "deep", dir / "sub" / "link");
  const std::string viaLink = GetLongFileName("link/../track.gpx");
  EXPECT_TRUE(fs::equivalent(viaLink, dir / "far" / "track.gpx")) << viaLink;
  EXPECT_EQ(viaLink.front(), '/');
  fs::current_path(old);
  fs::remove_all(dir);
}
