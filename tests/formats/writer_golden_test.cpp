// Golden files compared byte for byte, and the GPX 1.1 schema check of what the writer makes.
#include <gtest/gtest.h>

#include "formats/GPXWriter.h"
#include "model/TrackTelemetry.h"
#include "writer_fixture.h"

namespace {

struct GoldenCase {
  const char* file;
  bool full;
  bool compressed;
};

const GoldenCase kGolden[] = {
    {"writer_empty.gpx", false, false},
    {"writer_full.gpx", true, false},
    {"writer_full_compressed.gpx", true, true},
};

std::string writeGolden(const GoldenCase& c) {
  std::unique_ptr<TGPX> gpx = c.full ? makeFullDocument() : std::make_unique<TGPX>();
  return TGPXWriter(c.compressed, true).WriteDocument(*gpx);
}

TEST(WriterGolden, MatchesTheFilesByteForByte) {
  // CORVANTEL_UPDATE_GOLDEN=1 rewrites the files after a deliberate change of layout.
  const bool update = std::getenv("CORVANTEL_UPDATE_GOLDEN") != nullptr;
  for (const auto& c : kGolden) {
    const std::string path = std::string(CORVANTEL_TEST_DATA) + "/" + c.file;
    const std::string text = writeGolden(c);
    if (update) writeWholeFile(path, text);
    EXPECT_EQ(text, readWholeFile(path)) << c.file;
  }
}

TEST(WriterGolden, EveryWrittenFileIsValidGPX11) {
  if (!programExists("/usr/bin/xmllint")) GTEST_SKIP() << "xmllint is not installed";
  const std::string folder = makeTempFolder();
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& c : kGolden) files.emplace_back(c.file, writeGolden(c));
  // Style support off, and a document whose only point sits next to the equator.
  files.emplace_back("nostyle.gpx", TGPXWriter(false, false).WriteDocument(*makeFullDocument()));
  TGPX tiny;
  addPoint(tiny.Waypoints, 1e-6, -2e-9, 1e-5, 0.5);
  files.emplace_back("tiny.gpx", TGPXWriter().WriteDocument(tiny));
  // Text typed with line breaks, and the telemetry a track's comment gets, is written as it
  // stands, with no xml:space attribute (the schema allows none).
  auto typed = makeFullDocument();
  const std::string lines = "  first line\r\n\tsecond  line\r\n";
  typed->Metadata.desc = typed->Waypoints.GetPoint(0)->edit().cmt = typed->Routes.GetRoute(0)->desc = lines;
  TGPXtrk& trk = *typed->Tracks.GetTrack(0);
  trk.cmt = AppendTrackTelemetry(lines, trk);
  files.emplace_back("typed.gpx", TGPXWriter().WriteDocument(*typed));
  EXPECT_EQ(files.back().second.find("xml:space"), std::string::npos);
  EXPECT_NE(files.back().second.find("<desc>" + lines + "</desc>"), std::string::npos);
  EXPECT_NE(files.back().second.find("<cmt>first line\r\n\tsecond  line\r\n"), std::string::npos);
  for (const auto& [name, text] : files) {
    const std::string path = folder + "/" + name;
    writeWholeFile(path, text);
    std::string output;
    EXPECT_EQ(runCommand("/usr/bin/xmllint --noout --schema '" + schemaPath() + "' '" + path + "'",
                         output),
              0)
        << name << ": " << output;
  }
}

}  // namespace
