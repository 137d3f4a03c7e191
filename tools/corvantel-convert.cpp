// Developer tool: reads a GPX file with the editor's reader and prints the reader's log lines.
#include <cstdio>
#include <iostream>
#include <string>

#include "formats/GPXFile.h"
#include "model/GPX.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: corvantel-convert IN\n";
    return 2;
  }
  TGPX doc;
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(argv[1]);
  for (const std::string& line : file.Messages) std::cout << line << '\n';
  return file.Loaded ? 0 : 1;
}
