// The altitude download dialog.
#include "ui/dialogs/AltitudeDownload.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/ElevationRequests.h"
#include "ui/QtText.h"

namespace {

// The lists whose points the dialog fills: the track's segments, or the one list.
std::vector<TGPXwptList*> handedLists(TGPXtrk* track, TGPXwptList* waypoints) {
  std::vector<TGPXwptList*> lists;
  if (track) {
    for (int i = 0; i < track->Count(); ++i) lists.push_back(track->GetSegment(i));
  } else if (waypoints) {
    lists.push_back(waypoints);
  }
  return lists;
}

bool withoutAltitude(const TPoint4D2& p) { return p.Ele == 0; }

// One distinct position: asked for once, whatever number of points share it.
struct WorkPoint {
  double Lat, Lon, Ele;
  std::optional<double> Value;  // none until the service gave one
};

int progressOf(int64_t part, int64_t whole) { return static_cast<int>(part * 1000 / whole); }

}  // namespace

TAltitudeDownloadForm::TAltitudeDownloadForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AltitudeDownloadForm");
  setWindowTitle(qs(_("Altitude data download")));
  setModal(true);
  setMinimumWidth(320);
  auto* layout = new QVBoxLayout(this);
  auto label = [&](QLabel*& field, const char* name, const std::string& text) {
    field = new QLabel(qs(text), this);
    field->setObjectName(name);
    layout->addWidget(field);
  };
  label(lblTackSegment, "lblTackSegment", _("Track Segments :") + " 0");
  label(lblTrackPoints, "lblTrackPoints", _("Track points :") + " 0");
  label(lblPointWithoutAltitude, "lblPointWithoutAltitude", _("Point without altitude :") + " 0");
  label(lblGeoCredit, "lblGeoCredit", _("Geonames credit :") + " 0");
  pbDownload = new QProgressBar(this);
  pbDownload->setObjectName("pbDownload");
  pbDownload->setRange(0, 1000);
  pbDownload->setTextVisible(false);
  layout->addWidget(pbDownload);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  auto button = [&](QPushButton*& field, const char* name, const std::string& text) {
    field = new QPushButton(qs(text), this);
    field->setObjectName(name);
    field->setAutoDefault(false);
    buttons->addWidget(field);
  };
  button(btnDownload, "btnDownload", _("Download"));
  button(btnOK, "btnOK", _("OK"));
  button(btnCancel, "btnCancel", _("Cancel"));
  btnOK->hide();
  connect(btnDownload, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] { deferredCancel_.Run(this, [this] { btnDownloadClick(); }); });
  });
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &TAltitudeDownloadForm::reject);
}

void TAltitudeDownloadForm::SetLabel(QLabel* label, const std::string& caption, int64_t number) {
  label->setText(qs(caption + " " + formatInt(number)));
}

void TAltitudeDownloadForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAltitudeDownloadForm::FormShow() {
  lblTackSegment->setVisible(Track != nullptr);
  if (Track) SetLabel(lblTackSegment, _("Track Segments :"), Track->Count());
  btnDownload->setEnabled(ShowCounts() >= 1);
  btnDownload->setVisible(true);
  btnOK->setVisible(false);
  btnCancel->setEnabled(true);
}

// The labels and the progress from the points handed in; the number of points.
int64_t TAltitudeDownloadForm::ShowCounts() {
  int64_t total = 0, without = 0;
  for (TGPXwptList* list : handedLists(Track, Waypoints))
    for (int i = 0; i < list->Count(); ++i) {
      ++total;
      if (withoutAltitude(*list->GetPoint(i))) ++without;
    }
  SetLabel(lblTrackPoints, Track ? _("Track points :") : _("Waypoints :"), total);
  SetLabel(lblPointWithoutAltitude, _("Point without altitude :"), without);
  SetLabel(lblGeoCredit, _("Geonames credit :"), ElevationCredit);
  if (total >= 1) pbDownload->setValue(1000 - progressOf(without, total));
  return total;
}

std::string TAltitudeDownloadForm::QueryElevations(const std::string& lats, const std::string& lons) {
  return queryBatchElevations(ElevationSettings(Options ? *Options : TGPXOptions()), lats, lons);
}

void TAltitudeDownloadForm::btnDownloadClick() {
  btnDownload->setEnabled(false);
  const std::vector<TGPXwptList*> lists = handedLists(Track, Waypoints);
  std::vector<WorkPoint> work;
  std::map<std::pair<double, double>, size_t> position;
  for (TGPXwptList* list : lists)
    for (int i = 0; i < list->Count(); ++i) {
      const TPoint4D2& p = *list->GetPoint(i);
      if (position.emplace(std::make_pair(p.Lat, p.Lon), work.size()).second)
        work.push_back({p.Lat, p.Lon, p.Ele, std::nullopt});
    }
  SetLabel(lblPointWithoutAltitude, _("Point without altitude :"),
           std::count_if(work.begin(), work.end(), [](const WorkPoint& w) { return w.Ele == 0; }));

  // Every point placed in a request is charged once, also when a request fails.
  struct Charge {
    int32_t& credit;
    int64_t sent = 0;
    ~Charge() { credit = lowerCredit(credit, 2 * sent); }
  };
  {
    Charge charge{ElevationCredit};
    const size_t n = work.size();
    for (size_t start = 0; start < n; start += kBatchSize) {
      const size_t count = std::min<size_t>(kBatchSize, n - start);
      charge.sent += static_cast<int64_t>(count);
      std::string lats, lons;
      for (size_t k = start; k < start + count; ++k) {
        if (k > start) lats += ',', lons += ',';
        lats += coordinateText(work[k].Lat);
        lons += coordinateText(work[k].Lon);
      }
      const auto values = parseBatchAnswer(trim(QueryElevations(lats, lons)), count);
      for (size_t k = 0; k < count; ++k)
        if (values[k]) work[start + k].Value = values[k];
      SetLabel(lblPointWithoutAltitude, _("Point without altitude :"), static_cast<int64_t>(n - start));
      SetLabel(lblGeoCredit, _("Geonames credit :"), ElevationCredit);
      pbDownload->setValue(progressOf(static_cast<int64_t>(start), static_cast<int64_t>(n)));
    }
  }

  // A position the service gave no value keeps its points' altitudes as they are, so no
  // point takes another's old altitude; a waypoint takes an answer of 0 as no news.
  for (TGPXwptList* list : lists)
    for (int i = 0; i < list->Count(); ++i) {
      TPoint4D2& p = *list->GetPoint(i);
      const std::optional<double>& value = work[position.at({p.Lat, p.Lon})].Value;
      if (value && (Track || *value != 0)) p.SetEle(*value);
    }
  ShowCounts();
  // The dialog can now only be closed with OK.
  btnDownload->setVisible(false);
  btnOK->setVisible(true);
  btnCancel->setEnabled(false);
}

void TAltitudeDownloadForm::reject() {
  if (deferredCancel_.Defer()) return;
  QDialog::reject();
}

void TAltitudeDownloadForm::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button: nothing once that is disabled, after a download.
  if (event->key() == Qt::Key_Escape && !btnCancel->isEnabled() && !deferredCancel_.Busy()) return;
  QDialog::keyPressEvent(event);
}
