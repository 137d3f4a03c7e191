// Peers read our KML export (the golden file, which the export test holds equal to our
// output) back: Python's ElementTree and gpsbabel see the same coordinates.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 4096> buf;
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), pipe)) > 0;) out.append(buf.data(), n);
  pclose(pipe);
  return out;
}

TEST(KMLExportPeers, ElementTreeAndGpsbabelReadTheSameCoordinates) {
  if (std::system("test -x /usr/bin/python3") != 0) GTEST_SKIP() << "no /usr/bin/python3";
  const std::string script = "/usr/bin/python3 " CORVANTEL_TEST_DATA "/kml_peer_read.py ";
  const std::string kml = CORVANTEL_TEST_DATA "/kml_export_golden.kml";
  const std::string expected =
      "7.25,46.5,1520.5\n0,5e-05\n7.25,46.5,1520.5 7.5,46.625\n7,46,100 7.5,46.5\n7,47,100 7.5,47.5\n";
  EXPECT_EQ(run(script + "kml " + kml), expected);

  if (std::system("test -x /usr/bin/gpsbabel") != 0) GTEST_SKIP() << "no gpsbabel";
  const std::string gpx = testing::TempDir() + "/corvantel_peer.gpx";
  ASSERT_EQ(std::system(("gpsbabel -i kml -f " + kml + " -o gpx -F " + gpx).c_str()), 0);
  EXPECT_EQ(run(script + "gpx " + gpx), expected);
}

}  // namespace
