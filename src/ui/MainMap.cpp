// The web map tab: its widgets, the page file written on every showing, and the texts the
// page reports through its status line.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "base/FileText.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/DocumentIndex.h"
#include "platform/AppPaths.h"
#include "platform/WebBrowser.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/ProgramIcons.h"
#include "ui/QtText.h"
#include "views/MapProtocol.h"

namespace {

// Clicks on the panel below the map reach the window.
class TClickFilter : public QObject {
public:
  TClickFilter(QObject* parent, std::function<void()> onClick) : QObject(parent), onClick_(std::move(onClick)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) onClick_();
    return QObject::eventFilter(watched, event);
  }

private:
  std::function<void()> onClick_;
};

// Writes the whole text; false when the file cannot hold it.
bool writeAll(std::FILE* f, const std::string& text) {
  const bool written = text.empty() || std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace

void TMainForm::BuildMapTab() {
  GMap = std::make_unique<TGMap>();
  // The map script and the marker images this program carries, wherever it runs from.
  if (const std::string folder = AppPaths::mapScriptFolder(); !folder.empty()) {
    const std::string address = QUrl::fromLocalFile(qs(folder)).toString().toStdString();
    GMap->Config.ScriptProvider = GMap->Config.MarkerServer = GMap->Config.SmallMarkerServer = address;
  }
  TabSheet4 = new QWidget(PageControl1);
  TabSheet4->setObjectName("TabSheet4");
  auto* sheet = new QVBoxLayout(TabSheet4);
  sheet->setContentsMargins(0, 0, 0, 0);
  sheet->setSpacing(0);

  ToolBar2 = new QToolBar("ToolBar2", TabSheet4);
  ToolBar2->setObjectName("ToolBar2");
  auto button = [this](const char* name, const std::string& hint, const char* icon, bool check) {
    auto* a = new QAction(programIcon(icon), qs(hint), this);
    a->setObjectName(name);
    a->setToolTip(qs(hint));
    a->setCheckable(check);
    ToolBar2->addAction(a);
    return a;
  };
  tbGMapAddWayPoint = button("tbGMapAddWayPoint", _("Add waypoint to Google map"), "mapaddwaypoint.svg", false);
  tbGMapDrawRoute = button("tbGMapDrawRoute", _("Draw a route by clicking on the map"), "mapdrawroute.svg", true);
  tbGMapScreenShot = button("tbGMapScreenShot", _("Screenshot to .jpg"), "mapscreenshot.svg", false);
  // The snapshot command shows its button when it is built.
  tbGMapScreenShot->setVisible(false);
  connect(tbGMapAddWayPoint, &QAction::triggered, this, [this] { RunGuarded(this, [this] { tbGMapAddWayPointClick(); }); });
  connect(tbGMapDrawRoute, &QAction::triggered, this, [this] { RunGuarded(this, [this] { tbGMapDrawRouteClick(); }); });
  sheet->addWidget(ToolBar2);

  // The browser comes with the first showing: until then the tab holds its place.
  auto* place = new QWidget(TabSheet4);
  place->setObjectName("wbGMapPlace");
  sheet->addWidget(place, 1);

  pGMap = new QLabel(TabSheet4);
  pGMap->setObjectName("pGMap");
  pGMap->setTextFormat(Qt::PlainText);
  pGMap->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pGMap->setFrameShape(QFrame::StyledPanel);
  // A long text must not widen the tab: the map would resize and report "Bounds" again.
  pGMap->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  pGMap->setFixedHeight(24);
  pGMap->installEventFilter(new TClickFilter(pGMap, [this] { RunGuarded(this, [this] { pGMapClick(); }); }));
  auto* bottom = new QHBoxLayout(pGMap);
  bottom->setContentsMargins(2, 2, 2, 2);
  pbGMap = new QProgressBar(pGMap);
  pbGMap->setObjectName("pbGMap");
  pbGMap->setTextVisible(false);
  pbGMap->setFixedWidth(120);
  pbGMap->setVisible(false);
  bottom->addStretch(1);
  bottom->addWidget(pbGMap);
  sheet->addWidget(pGMap);

  PageControl1->addTab(TabSheet4, qs(_(" Google Maps ")));
  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
    if (PageControl1->widget(index) == TabSheet4) RunGuarded(this, [this] { TabSheet4Show(); });
  });

  // A marker whose waypoint left the document stands for nothing from then on.
  ReferenceChecks.push_back([this](const TDocumentIndex& index) {
    for (TGPXwpt*& w : MapMarkers)
      if (w && !index.Holds(w)) w = nullptr;
  });
}

TWebBrowser* TMainForm::MapBrowser() {
  if (wbGMap) return wbGMap;
  wbGMap = webBrowserFactory()(TabSheet4);
  wbGMap->setObjectName("wbGMap");
  auto* place = TabSheet4->findChild<QWidget*>("wbGMapPlace");
  // Qt hands the place's layout item back to the caller.
  delete TabSheet4->layout()->replaceWidget(place, wbGMap);
  delete place;
  connect(wbGMap, &TWebBrowser::StatusTextChange, this,
          [this](const QString& text) { RunGuarded(this, [&] { wbGMapStatusTextChange(text); }); });
  connect(wbGMap, &TWebBrowser::ProgressChange, this, [this](int p, int max) { wbGMapProgressChange(p, max); });
  connect(wbGMap, &TWebBrowser::DownloadComplete, this, [this] { wbGMapDownloadComplete(); });
  return wbGMap;
}

void TMainForm::TabSheet4Show() {
  MapPageReady = false;
  TWebBrowser* browser = MapBrowser();
  browser->setFocus();
  SetStatusText(2, "");
  UpdateCommands(false);
  if (!GPXLoaded) {
    // Whatever the browser still shows is not this document.
    MapPageShowsData = false;
    AddLog(_("No data to display in Google Map"));
    return;
  }
  if (!MapPageFileName.empty()) {
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(MapPageFileName), ec);  // a failure is no reason to stop
  }
  const std::string folder = AppPaths::programFolder();
  std::string path = folder + "GoogleMaps.htm";
  // A pipe in the page's place would hold the window: only a regular file is written.
  std::FILE* f = createFileToWrite(path);
  if (!f) {
    // The browser tells a page by its name's extension.
    path = AppPaths::createTempFileName("Cvwm", ".htm");
    if (!path.empty()) f = createFileToWrite(path);
  }
  if (!f) {
    AddLog(_("Can't create temporary HTML file in") + " \"" + folder + "\"");
    return;
  }
  MapPageFileName = path;
  const std::string page = MapPageText();
  if (!writeAll(f, page)) {
    AddLog(_("Can't create temporary HTML file in") + " \"" + folder + "\"");
    return;
  }
  // The new page's marker indexes are the waypoints' indexes now; until it loads, the
  // browser keeps the old page and its markers keep their waypoints.
  MapMarkers.clear();
  for (int i = 0; i < CurrentGPX->Waypoints.Count(); ++i) MapMarkers.push_back(CurrentGPX->Waypoints.GetPoint(i));
  // The old page's area says nothing of the new one; an empty page never reports one.
  MapPageShowsData = !page.empty();
  GMap->MapBBox.Valid = false;
  AddLog(_("Loading Google Maps HTML File"));
  tbGMapAddWayPoint->setEnabled(true);
  tbGMapScreenShot->setEnabled(true);
  browser->SetStartScript(MapScript.StartScript(GMap->Config));
  browser->Navigate(qs(path));
}

void TMainForm::wbGMapStatusTextChange(const QString& Text) {
  const std::string S = trim(Text.toStdString());
  if (IsDebug) AddLog(S);
  if (S.empty()) return;
  const QString text = qs(S);
  const bool isNew = text != pGMap->text();
  auto show = [&](bool hint) {
    pGMap->setText(text);
    if (hint) ToolBar2->setToolTip(text);
  };
  if (S.starts_with("Click ") || S.starts_with("Popup ")) {
    tbGMapAddWayPoint->setEnabled(true);
    if (!isNew) return;
    show(true);
    if (tbGMapDrawRoute->isChecked()) AddMapRoutePoint(S);
  } else if (S.starts_with("Overlay ")) {
    tbGMapAddWayPoint->setEnabled(true);
    if (isNew) show(true);
  } else if (S.starts_with("Bounds ")) {
    if (!isNew) return;
    show(true);
    GMap->ParseBounds(S);
    MapPageReady = true;
    if (!tbGMapAddWayPoint->isEnabled()) {
      for (QAction* a : {tbGMapAddWayPoint, tbGMapDrawRoute, tbGMapScreenShot}) a->setEnabled(true);
    }
  } else if (S.starts_with("Move ")) {
    if (!isNew) return;
    show(false);
    AddLog("Google Map " + S);
    MoveMapWaypoint(S);
  } else {
    show(false);
  }
}

void TMainForm::MapMarkersFollow(const TGPXwpt* from, TGPXwpt* to) {
  for (TGPXwpt*& w : MapMarkers)
    if (w == from) w = to;
}

void TMainForm::MoveMapWaypoint(std::string S) {
  // The marker names the waypoint object it was made for; a text without a marker of this
  // page, or without a position, is no move.
  const int index = cutMarkerIndex(S);
  if (index < 0 || index >= static_cast<int>(MapMarkers.size())) return;
  TMapPosition position;
  if (!parseMapPosition(afterFirstBlank(S), position)) return;
  TGPXwpt* w = MapMarkers[static_cast<size_t>(index)];
  if (!w || !CurrentGPX || CurrentGPX->Waypoints.IndexOf(w) < 0) {
    // Its waypoint has left the document (an Undo, a deletion): the marker the user moved
    // stands for nothing, so they are told and see the document as it is now. A route being
    // drawn lives outside the page and keeps its points.
    AddLog(_("The map showed an older state of the document; it is drawn again"));
    if (PageControl1->currentWidget() == TabSheet4) TabSheet4Show();
    return;
  }
  w->Lat = position.Lat;
  w->Lon = position.Lon;
  AddLog("Moved WayPoint \"" + w->data().name + "\" to " + w->LatLonToStr());
  CurrentGPX->Selection.Clear();
  CurrentGPX->Selection.Add(w);
  SelectTreeNodes(CurrentGPX->Selection.Items);
  DrawPreview();
  // No undo copy, but the move must not be lost at shut-down.
  GPXModified = true;
}

void TMainForm::wbGMapProgressChange(int Progress, int ProgressMax) {
  pbGMap->setMaximum(ProgressMax);
  pbGMap->setValue(Progress);
  // Shown while the page loads; then the caption has the panel's whole width.
  pbGMap->setVisible(Progress < ProgressMax);
}

void TMainForm::wbGMapDownloadComplete() {}

void TMainForm::pGMapClick() { AddLog(pGMap->text().toStdString()); }

void TMainForm::RunMapScript(const std::string& statement) {
  if (wbGMap) wbGMap->RunScript(qs(statement));
}

void TMainForm::MoveGreenMarker(double lat, double lng) {
  if (!MapPageReady) return;
  RunMapScript("MoveGreenMarker(" + formatGeneral(lat) + ", " + formatGeneral(lng) + ");");
}

std::string TMainForm::MapPageText() {
  GMap->GPX = CurrentGPX.get();
  GMap->Options.Assign(GMapOptions);
  return GMap->GetPageHTML();
}

QImage TMainForm::MapSnapshot() { return wbGMap ? wbGMap->Snapshot() : QImage(); }
