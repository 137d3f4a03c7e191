// The writing side of the GPX file object: saving a document and exporting its lists.
#include <stdexcept>

#include "base/AtomicFile.h"
#include "formats/GPXFile.h"
#include "formats/GPXWriter.h"

void TGPXFile::SaveToFile(const std::string& fileName) {
  if (!GPX) throw std::logic_error("TGPXFile::SaveToFile without a document");
  if (GPX->Metadata.Present) GPX->UpdateBounds();
  TGPXWriter writer(Options.Compress, Options.GPXStyle);
  TAtomicFile file(fileName);
  writer.Sink = [&file](std::string_view piece) { file.Write(piece); };
  std::string buffer;
  writer.WriteDocument(buffer, *GPX);
  file.Commit();
}

std::string TGPXFile::ExportGPXWPTList(const TGPXwptList& list) const {
  return TGPXWriter(false, Options.GPXStyle).ExportGPXWPTList(list);
}

std::string TGPXFile::ExportGPXRTEList(const TGPXrteList& list) const {
  return TGPXWriter(false, Options.GPXStyle).ExportGPXRTEList(list);
}

std::string TGPXFile::ExportGPXTRKList(const TGPXtrkList& list) const {
  return TGPXWriter(false, Options.GPXStyle).ExportGPXTRKList(list);
}
