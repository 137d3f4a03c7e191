// Pictures saved in the program's folder: the graph as "Graph-<stamp>.jpg" and the map
// snapshot as "GoogleMap-<stamp>.jpg" with its ".sat" and ".map" calibration files.
#include <QImage>

#include "base/Translate.h"
#include "base/AtomicFile.h"
#include "platform/AppPaths.h"
#include "platform/JpegWriter.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "views/PictureFiles.h"

namespace {

void writeJpeg(const QImage& picture, int quality, const std::string& fileName) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  const std::vector<uint8_t> bytes = EncodeJpeg(
      {rgb.constBits(), rgb.width(), rgb.height(), static_cast<int>(rgb.bytesPerLine())}, quality);
  writeFileAtomically(fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

void TMainForm::Savepicture1Click() {
  const QImage& picture = GPXStatImage->canvas().Image();
  if (picture.isNull()) {
    AddLog(_("The graph has no picture to save"));
    return;
  }
  const std::string base = AppPaths::programFolder() + "Graph-" + DateTimeToFileStamp(Hooks.Now());
  writeJpeg(picture, 100, base + ".jpg");
  AddLog(_("Snapshot saved as") + " " + base + ".jpg");
}

void TMainForm::tbGMapScreenShotClick() {
  // No page, or one without data (no document, or the empty one after Close): no
  // snapshot, nothing said.
  if (!MapPageShowsData) return;
  const QImage shot = MapSnapshot();
  if (shot.isNull() || !GMap) return;
  SaveMapSnapshot(shot, GMap->MapBBox);
}

void TMainForm::SaveMapSnapshot(const QImage& browserPicture, const TBBox& mapBox) {
  // The crop leaves nothing of a view this small.
  if (browserPicture.width() <= 4 || browserPicture.height() <= 4) return;
  const QImage picture = browserPicture.copy(2, 2, browserPicture.width() - 4, browserPicture.height() - 4);
  const int W = picture.width(), H = picture.height();
  const std::string name = "GoogleMap-" + DateTimeToFileStamp(Hooks.Now());
  const std::string base = AppPaths::programFolder() + name;
  writeJpeg(picture, 90, base + ".jpg");
  AddLog(_("Snapshot saved as") + " " + base + ".jpg");
  if (GMapOptions.WriteSatFile && mapBox.Valid) {
    writeFileAtomically(base + ".sat", SatFileText(mapBox, W, H));
    AddLog(_("Geoposition saved as") + " " + base + ".sat");
  }
  if (GMapOptions.WriteMapFile && mapBox.Valid) {
    writeFileAtomically(base + ".map", MapFileText(name, mapBox, W, H));
    AddLog(_("Geoposition saved as") + " " + base + ".map");
  }
}
