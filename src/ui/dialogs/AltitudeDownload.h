// The altitude download dialog: fills in the altitudes of a track's points or of a list of
// points from the elevation web service, 20 distinct positions a request, and lowers the
// elevation credit.
#pragma once
#include <cstdint>
#include <string>

#include <QDialog>

#include "model/GPX.h"
#include "ui/DeferredCancel.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TAltitudeDownloadForm : public QDialog {
  Q_OBJECT
public:
  explicit TAltitudeDownloadForm(QWidget* parent = nullptr);

  // Set by the caller before each showing. With a track, every point of its segments;
  // otherwise the list (the document's waypoints, or any route or segment). The points
  // must live until the dialog has closed; the dialog writes their altitudes itself.
  TGPXtrk* Track = nullptr;
  TGPXwptList* Waypoints = nullptr;
  const TGPXOptions* Options = nullptr;
  // Lowered by a download; the caller takes it back whatever the dialog's result.
  int32_t ElevationCredit = 0;

  void FormShow();
  void btnDownloadClick();
  // One batch request: the normalised answer, one line a point.
  std::string QueryElevations(const std::string& lats, const std::string& lons);

  void reject() override;

  // Points a request holds at most.
  static constexpr int kBatchSize = 20;

protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  int64_t ShowCounts();
  void SetLabel(QLabel* label, const std::string& caption, int64_t number);

  QLabel* lblTackSegment = nullptr;
  QLabel* lblTrackPoints = nullptr;
  QLabel* lblPointWithoutAltitude = nullptr;
  QLabel* lblGeoCredit = nullptr;
  QProgressBar* pbDownload = nullptr;
  QPushButton* btnDownload = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnOK = nullptr;
  TDeferredCancel deferredCancel_;
};
