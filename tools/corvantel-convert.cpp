// Developer tool: reads a GPX file with the editor's reader, prints the reader's log lines
// and, given an output name, writes the document with the editor's writer.
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "formats/GPXFile.h"
#include "model/GPX.h"

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
    std::cerr << "usage: corvantel-convert IN [OUT.gpx [--compress]]\n";
    return 2;
  }
  TGPX doc;
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(in);
  for (const std::string& line : file.Messages) std::cout << line << '\n';
  if (!file.Loaded) return 1;
  if (out.empty()) return 0;
  try {
    doc.Creator = std::string("Corvantel ") + CORVANTEL_VERSION;
    TGPXFile writer;
    writer.GPX = &doc;
    writer.Options.Compress = compress;
    writer.SaveToFile(out);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  std::cout << out << " saved\n";
  return 0;
}
