// NGT track import.
#include "formats/NGTFile.h"

#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/NGTLine.h"
#include "formats/ReadIssues.h"
#include "formats/TextLines.h"

bool TNGTFile::ParseLine(std::string_view line, TGPXwpt& point, bool& segmentBreak) {
  const NGTLineKind kind = parseNGTLine(line, point);
  segmentBreak = kind == NGTLineKind::SegmentStart;
  return kind != NGTLineKind::Other;
}

void TNGTFile::Import(const std::string& fileName) {
  Log("Import " + fileName);
  ImportLines(readTextLines(fileName));
}

void TNGTFile::ImportLines(const std::vector<std::string>& lines) {
  auto track = std::make_unique<TGPXtrk>();
  track->src = "NoniGpsPlot";
  TGPXtrk* trk = GPX->Tracks.Add(std::move(track));
  TGPXtrkseg* segment = trk->Add(std::make_unique<TGPXtrkseg>());
  TReadIssues issues;
  int64_t pointLines = 0;
  for (const std::string& line : lines) {
    auto point = std::make_unique<TGPXwpt>();
    bool placed = false;
    const NGTLineKind kind = parseNGTLine(line, *point, &placed, &issues);
    if (kind == NGTLineKind::Other) continue;
    ++pointLines;
    // A point left out still breaks the segment where its line says so.
    if (kind == NGTLineKind::SegmentStart) {
      segment->Present = segment->Count() > 0;
      segment = trk->Add(std::make_unique<TGPXtrkseg>());
    }
    if (placed) segment->AddPoint(std::move(point));
  }
  segment->Present = segment->Count() > 0;
  GPX->Tracks.Present = true;
  Log(formatInt(static_cast<int64_t>(lines.size())) + " " + _("lines"));
  for (const std::string& line : issues.logLines()) Log(line);
  if (pointLines == 0) Log(_("No point line in the file"));
}
