// Developer tool: reads a GPX, KML, NMEA or NGT file with the editor's readers, prints their
// log lines and, given an output name, writes the document as GPX, KML, semicolon text or the
// web map page (default options).
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "base/NumberText.h"
#include "base/AtomicFile.h"
#include "formats/GPXCSV.h"
#include "formats/GPXFile.h"
#include "formats/KMLFile.h"
#include "formats/NGTFile.h"
#include "formats/NMEAFile.h"
#include "model/GPX.h"
#include "views/GPXToGmap.h"

namespace {

// The lower-case extension with its dot, "" when there is none.
std::string extensionOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  const size_t slash = name.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return toLowerAscii(name.substr(dot));
}

void printLog(const TGPXFile& file) {
  for (const std::string& line : file.Messages) std::cout << line << '\n';
}

// Waypoints and route and track points.
int64_t pointCount(const TGPX& doc) {
  int64_t n = doc.Waypoints.Count();
  for (const auto& r : doc.Routes.Items()) n += r->Count();
  for (const auto& t : doc.Tracks.Items())
    for (const auto& s : t->Items()) n += s->Count();
  return n;
}

// Reads any supported file into the document; false when nothing could be read. An import
// that finds no point has read nothing either.
bool readInto(TGPX& doc, const std::string& in) {
  const std::string ext = extensionOf(in);
  if (ext == ".kml") {
    TKMLFile file;
    file.GPX = &doc;
    file.Import(in);
    printLog(file);
    return file.Loaded && pointCount(doc) > 0;
  }
  if (ext == ".nmea" || ext == ".ngt") {
    TNMEAFile nmea;
    TNGTFile ngt;
    TGPXFile& file = ext == ".nmea" ? static_cast<TGPXFile&>(nmea) : ngt;
    file.GPX = &doc;
    if (ext == ".nmea")
      nmea.Import(in);
    else
      ngt.Import(in);
    printLog(file);
    return pointCount(doc) > 0;
  }
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(in);
  printLog(file);
  return file.Loaded;
}

void writeFrom(TGPX& doc, const std::string& out, bool compress) {
  const std::string ext = extensionOf(out);
  if (ext == ".kml") {
    TKMLFile file;
    file.GPX = &doc;
    file.Options.Compress = compress;
    file.SaveToFile(out);
  } else if (ext == ".htm" || ext == ".html") {
    TGMap map;
    map.GPX = &doc;
    writeFileAtomically(out, map.GetPageHTML());
  } else if (ext == ".csv") {
    std::string text;
    if (!doc.Waypoints.Empty()) text += ExportCSVWPTList(&doc.Waypoints, true) + "\r\n";
    text += ExportCSVRTEList(doc.Routes);
    if (!doc.Tracks.Empty()) text += ExportCSVTRKList(doc.Tracks);
    writeFileAtomically(out, text);
  } else {
    doc.Creator = std::string("Corvantel ") + CORVANTEL_VERSION;
    TGPXFile file;
    file.GPX = &doc;
    file.Options.Compress = compress;
    file.SaveToFile(out);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string in, out;
  bool compress = false;
  bool usage = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--compress") == 0)
      compress = true;
    else if (in.empty())
      in = argv[i];
    else if (out.empty())
      out = argv[i];
    else
      usage = true;
  }
  if (in.empty() || usage || (compress && out.empty())) {
    std::cerr << "usage: corvantel-convert IN.{gpx,kml,nmea,ngt} [OUT.{gpx,kml,csv,htm} [--compress]]\n";
    return 2;
  }
  TGPX doc;
  try {
    if (!readInto(doc, in)) {
      std::cerr << in << ": nothing read\n";
      return 1;
    }
    if (out.empty()) return 0;
    writeFrom(doc, out, compress);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  std::cout << out << " saved\n";
  return 0;
}
