#include "ui/dialogs/TrackProperties.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "base/Translate.h"
#include "model/GPX.h"
#include "model/TrackTelemetry.h"
#include "ui/CommandGuard.h"
#include "ui/QtText.h"

TTrackPropertiesForm::TTrackPropertiesForm(QWidget* parent) : TRoutePropertiesForm(parent, true) {
  btnAddTelemetryInfo = new QPushButton(qs(_("Telemetry")));
  btnAddTelemetryInfo->setObjectName("btnAddTelemetryInfo");
  btnAddTelemetryInfo->setToolTip(qs(_("Adds length, duration and speed info to the comments")));
  Button5 = new QPushButton(qs(_("Download altitude data")));
  Button5->setObjectName("Button5");
  for (QPushButton* b : {btnAddTelemetryInfo, Button5}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnAddTelemetryInfo);
  buttons->addWidget(Button5);
  buttons->addStretch();
  auto* grid = static_cast<QGridLayout*>(TabSheetBasic->layout());
  grid->addLayout(buttons, grid->rowCount(), 1);
  connect(btnAddTelemetryInfo, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { btnAddTelemetryInfoClick(); }); });
  connect(Button5, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Button5Click(); }); });
}

void TTrackPropertiesForm::btnAddTelemetryInfoClick() {
  if (!track_) return;
  // The comment keeps the text's own line ends: the memo shows it, without writing it back.
  track_->cmt = AppendTrackTelemetry(track_->cmt, *track_);
  const QSignalBlocker block(mRouteComment);
  mRouteComment->setPlainText(qs(track_->cmt));
}

void TTrackPropertiesForm::Button5Click() {
  if (!track_ || !DownloadAltitudes) return;
  // The altitudes land in the copy: the document has them only after OK.
  ElevationCredit = DownloadAltitudes(*track_, Options, ElevationCredit);
}
