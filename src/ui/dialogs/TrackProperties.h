// The track properties dialog: the route dialog on a track, with the Telemetry button that
// appends the track's statistics to its comment and the download of its altitudes.
#pragma once
#include <cstdint>
#include <functional>

#include "ui/dialogs/RouteProperties.h"

struct TGPXOptions;

class TTrackPropertiesForm : public TRoutePropertiesForm {
  Q_OBJECT
public:
  explicit TTrackPropertiesForm(QWidget* parent = nullptr);

  // The track edited, owned by the caller; set before each showing.
  void SetTrack(TGPXtrk* track) { track_ = track; }
  TGPXtrk* Track() const { return track_; }
  // Handed on to the altitude download; the credit is lowered by what a download spends and
  // is read back by the caller whatever the dialog's result.
  const TGPXOptions* Options = nullptr;
  int32_t ElevationCredit = 0;
  // Opens the altitude download on the track with the options and a credit; gives the credit
  // left. Unset: the button does nothing.
  std::function<int32_t(TGPXtrk& track, const TGPXOptions* options, int32_t credit)> DownloadAltitudes;

  void btnAddTelemetryInfoClick();
  void Button5Click();

private:
  QPushButton *btnAddTelemetryInfo = nullptr, *Button5 = nullptr;
};
