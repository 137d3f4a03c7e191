// The settings dialog's pages and controls. Every control is bound to one field of a copy:
// the page fills it from the field when shown (signals blocked), and only the user's change
// writes the field.
#include "ui/dialogs/Settings.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPX_Style.h"
#include "ui/QtText.h"

// A titled group of radio buttons whose checked one is an index.
class TRadioGroup : public QGroupBox {
public:
  TRadioGroup(const QString& title, const std::vector<std::string>& items, QWidget* parent)
      : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (size_t i = 0; i < items.size(); ++i) {
      auto* button = new QRadioButton(qs(items[i]), this);
      buttons_->addButton(button, static_cast<int>(i));
      layout->addWidget(button);
    }
  }
  QButtonGroup* buttons() const { return buttons_; }
  // An index outside the items checks none.
  void setItemIndex(int index) {
    if (QAbstractButton* b = buttons_->button(index)) {
      b->setChecked(true);
      return;
    }
    buttons_->setExclusive(false);
    for (QAbstractButton* b : buttons_->buttons()) b->setChecked(false);
    buttons_->setExclusive(true);
  }

private:
  QButtonGroup* buttons_;
};

namespace {

// Windows colour values are $00BBGGRR.
QColor toQColor(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
uint32_t fromQColor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
         static_cast<uint32_t>(c.blue()) << 16;
}

void paintPanel(QPushButton* panel, const QColor& color) {
  panel->setProperty("color", color);
  // The caption stays readable on dark and saturated colours alike.
  const int luminance = (299 * color.red() + 587 * color.green() + 114 * color.blue()) / 1000;
  const char* text = luminance < 140 ? "white" : "black";
  panel->setStyleSheet(QString("QPushButton { background-color: %1; color: %2; border: 1px solid gray; "
                               "padding: 4px; }").arg(color.name(), QString::fromLatin1(text)));
}

QColor panelColor(const QPushButton* panel) { return panel->property("color").value<QColor>(); }

// The page's own widget with a vertical layout.
QWidget* newPage(const char* name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  new QVBoxLayout(page);
  return page;
}

QGroupBox* newGroup(QWidget* parent, const std::string& title, QLayout* layout) {
  auto* group = new QGroupBox(qs(title), parent);
  group->setLayout(layout);
  return group;
}

}  // namespace

TSettingsForm::TSettingsForm(QWidget* parent) : QDialog(parent) {
  setObjectName("SettingsForm");
  setWindowTitle(qs(_("Settings")));
  AskColor = [this](QWidget*, const QColor& initial) -> std::optional<QColor> {
    CDialog->setCurrentColor(initial);
    if (CDialog->exec() != QDialog::Accepted) return std::nullopt;
    return CDialog->currentColor();
  };
  BuildControls();
  PageControl1->setCurrentIndex(0);
  lbSettings->setCurrentRow(0);
  // Wide enough for the six tabs side by side.
  resize(std::max(880, sizeHint().width()), sizeHint().height());
}

void TSettingsForm::BuildControls() {
  auto* main = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  main->addLayout(row, 1);
  lbSettings = new QListWidget(this);
  lbSettings->setObjectName("lbSettings");
  for (const std::string& entry : {_("Preview"), _("Track edition"), _("Google Maps"),
                                   _("Bottom pane"), _("Internet"), _("Status bar")})
    lbSettings->addItem(qs(entry));
  lbSettings->setFixedWidth(130);
  row->addWidget(lbSettings);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setDocumentMode(true);  // flat tabs over the page
  row->addWidget(PageControl1, 1);

  auto addPage = [this](int index, QWidget* (TSettingsForm::*build)(), const std::string& caption) {
    building_ = &fill_[static_cast<size_t>(index)];
    PageControl1->addTab((this->*build)(), qs(caption));
    building_ = nullptr;
  };
  addPage(0, &TSettingsForm::BuildPreviewPage, _(" Preview "));
  addPage(1, &TSettingsForm::BuildEditionPage, _(" Track and route edition "));
  addPage(2, &TSettingsForm::BuildMapPage, _(" Google Maps "));
  addPage(3, &TSettingsForm::BuildBottomPanePage, _(" Bottom pane "));
  addPage(4, &TSettingsForm::BuildInternetPage, _(" Internet "));
  addPage(5, &TSettingsForm::BuildStatusBarPage, _(" Status bar "));

  CDialog = new QColorDialog(this);
  CDialog->setObjectName("CDialog");

  auto* buttons = new QDialogButtonBox(this);
  btnOK = buttons->addButton(qs(_("OK")), QDialogButtonBox::AcceptRole);
  btnOK->setObjectName("btnOK");
  btnCancel = buttons->addButton(qs(_("Cancel")), QDialogButtonBox::RejectRole);
  btnCancel->setObjectName("btnCancel");
  // Cancel is the default: Enter and Escape both leave the options as they were.
  btnOK->setAutoDefault(false);
  btnCancel->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  main->addWidget(buttons);

  connect(lbSettings, &QListWidget::itemClicked, this, [this] { lbSettingsClick(); });
  connect(lbSettings, &QListWidget::currentRowChanged, this, [this] { lbSettingsClick(); });
  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
    const QSignalBlocker block(lbSettings);
    lbSettings->setCurrentRow(index);
    ShowPage(index);
  });
}

template <class T>
QCheckBox* TSettingsForm::flagBox(QWidget* parent, const char* name, const std::string& caption,
                                  T* flag, const std::string& hint) {
  auto* box = new QCheckBox(qs(caption), parent);
  box->setObjectName(name);
  if (!hint.empty()) box->setToolTip(qs(hint));
  building_->push_back([box, flag] {
    const QSignalBlocker block(box);
    box->setChecked(*flag != 0);
  });
  connect(box, &QCheckBox::toggled, this, [flag](bool on) { *flag = static_cast<T>(on); });
  return box;
}

QPushButton* TSettingsForm::colorPanel(QWidget* parent, const char* name, const std::string& caption,
                                       uint32_t* color) {
  auto* panel = new QPushButton(qs(caption), parent);
  panel->setObjectName(name);
  building_->push_back([panel, color] { paintPanel(panel, toQColor(*color)); });
  connect(panel, &QPushButton::clicked, this, [this, panel, color] {
    PickColor(panel);
    *color = fromQColor(panelColor(panel));
  });
  return panel;
}

QPushButton* TSettingsForm::colorPanel(QWidget* parent, const char* name, const std::string& caption,
                                       std::string* hexColor) {
  auto* panel = new QPushButton(qs(caption), parent);
  panel->setObjectName(name);
  building_->push_back([panel, hexColor] { paintPanel(panel, toQColor(HexToColor(*hexColor))); });
  connect(panel, &QPushButton::clicked, this, [this, panel, hexColor] {
    PickColor(panel);
    *hexColor = ColorToHex(fromQColor(panelColor(panel)));
  });
  return panel;
}

template <class T>
TRadioGroup* TSettingsForm::radioGroup(QWidget* parent, const char* name, const std::string& caption,
                                       const std::vector<std::string>& items, T* field) {
  auto* group = new TRadioGroup(qs(caption), items, parent);
  group->setObjectName(name);
  building_->push_back([group, field] {
    const QSignalBlocker block(group->buttons());
    group->setItemIndex(static_cast<int>(*field));
  });
  connect(group->buttons(), &QButtonGroup::idClicked, this,
          [field](int index) { *field = static_cast<T>(index); });
  return group;
}

QLineEdit* TSettingsForm::textEdit(QWidget* parent, const char* name, std::string* field) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  building_->push_back([edit, field] {
    const QSignalBlocker block(edit);
    edit->setText(qs(*field));
  });
  connect(edit, &QLineEdit::textChanged, this, [field](const QString& text) { *field = text.toStdString(); });
  return edit;
}

QWidget* TSettingsForm::BuildPreviewPage() {
  QWidget* page = newPage("TabSheet1");
  auto* layout = static_cast<QVBoxLayout*>(page->layout());
  TDrawOptions& d = DrawOptions;
  layout->addWidget(flagBox(page, "cbPreviewAskDelete", _("Ask before deleting anything"), &d.AskBeforeDelete));
  layout->addWidget(flagBox(page, "cbRightClickSelects", _("Right click selects"), &d.RightClickSelects));
  layout->addWidget(flagBox(page, "cbShowComputedSpeed", _("Show computed speed"), &d.ShowComputedSpeed));
  layout->addWidget(flagBox(page, "cbShowGPXData", _("Show item count on preview"), &d.ShowGPXData));

  auto* colors = new QGridLayout;
  QGroupBox* group = newGroup(page, _(" Colors "), colors);
  colors->addWidget(colorPanel(group, "pDrawTrackColor", _("Track"), &d.TrackColor), 0, 0);
  colors->addWidget(colorPanel(group, "pDrawWayPointColor", _("Waypoint"), &d.WayPointColor), 0, 1);
  colors->addWidget(colorPanel(group, "pDrawBackgroundColor", _("Background"), &d.BackgroundColor), 0, 2);
  colors->addWidget(colorPanel(group, "pDrawRouteColor", _("Route"), &d.RouteColor), 1, 0);
  colors->addWidget(colorPanel(group, "pDrawSelectionColor", _("Selection"), &d.SelectionColor), 1, 1);
  colors->addWidget(colorPanel(group, "pDrawCutPointColor", _("Cut point"), &d.CutPointColor), 1, 2);
  cbGPXDrawLineStyle = flagBox(group, "cbGPXDrawLineStyle", _("Use GPX Style line color"), &d.GPXDrawLineStyle);
  colors->addWidget(cbGPXDrawLineStyle, 2, 0, 1, 3);
  layout->addWidget(group);

  cbGPX_Style = new QCheckBox(qs(_("Support GPX Style")), page);
  cbGPX_Style->setObjectName("cbGPX_Style");
  connect(cbGPX_Style, &QCheckBox::toggled, this, [this] { cbGPX_StyleClick(); });
  layout->addWidget(cbGPX_Style);
  QCheckBox* compress = flagBox(page, "cbCompressGPX", _("Compress GPX file"), &GPXOptions.Compress,
                                _("A few bytes less, but also less human-readable"));
  layout->addWidget(compress);

  auto* history = new QHBoxLayout;
  history->addWidget(new QLabel(qs(_("File history depth : ")), page));
  edtFileHistory = new QLineEdit(page);
  edtFileHistory->setObjectName("edtFileHistory");
  edtFileHistory->setMaximumWidth(60);
  connect(edtFileHistory, &QLineEdit::textChanged, this, [this] { edtFileHistoryChange(); });
  history->addWidget(edtFileHistory);
  history->addStretch(1);
  layout->addLayout(history);
  layout->addWidget(radioGroup(page, "rgClipboerdStyle", _(" Clipboard format "), {"GPX", "CSV"},
                               &GPXOptions.ClipboardFormat));
  layout->addStretch(1);
  building_->push_back([this] {
    const QSignalBlocker b1(cbGPX_Style), b2(edtFileHistory);
    cbGPX_Style->setChecked(GPXOptions.GPXStyle);
    edtFileHistory->setText(qs(formatInt(GPXOptions.FileHistory)));
    // The copy's own flag decides, whatever the box showed before.
    cbGPXDrawLineStyle->setEnabled(GPXOptions.GPXStyle);
  });
  return page;
}

QWidget* TSettingsForm::BuildEditionPage() {
  QWidget* page = newPage("TabSheet3");
  auto* layout = static_cast<QVBoxLayout*>(page->layout());
  layout->addWidget(flagBox(page, "cbTREResetZoom", _("Reset Zoom every change"), &DrawOptions.TREResetZoom));
  layout->addWidget(radioGroup(page, "rgTREDrawing", _(" Drawing "),
                               {_("Lines"), _("Points"), _("Lines and points")}, &DrawOptions.TREDrawing));
  layout->addStretch(1);
  return page;
}

QWidget* TSettingsForm::BuildMapPage() {
  QWidget* page = newPage("TabSheet2");
  auto* layout = static_cast<QVBoxLayout*>(page->layout());
  TGMapOptions& g = GMapOptions;
  auto* ui = new QGridLayout;
  QGroupBox* iface = newGroup(page, _(" Interface "), ui);
  ui->addWidget(flagBox(iface, "cbShowControls", _("Show controls"), &g.ShowControl), 0, 0);
  ui->addWidget(flagBox(iface, "cbAutoHide", _("Auto-hide controls"), &g.AutoHide), 1, 0);
  ui->addWidget(radioGroup(iface, "rgControl", _(" Zoom control "), {_("None"), _("Small"), _("Large")},
                           &g.Control), 2, 0, 4, 1);
  ui->addWidget(flagBox(iface, "cbScale", _("Scale"), &g.Scale), 0, 1);
  ui->addWidget(flagBox(iface, "cbMapType", _("Map type"), &g.MapType), 1, 1);
  ui->addWidget(flagBox(iface, "cbOverView", _("Overview"), &g.OverView), 2, 1);
  QCheckBox* street = flagBox(iface, "cbMapTypeStreet", _("Street"), &g.MapTypeStreet);
  street->setEnabled(false);  // always offered
  ui->addWidget(street, 0, 2);
  ui->addWidget(flagBox(iface, "cbMapTypeSatellite", _("Satellite"), &g.MapTypeSatellite), 1, 2);
  ui->addWidget(flagBox(iface, "cbMapTypeHybrid", _("Hybrid"), &g.MapTypeHybrid), 2, 2);
  ui->addWidget(flagBox(iface, "cbMapTypePhysical", _("Physical"), &g.MapTypePhysical), 3, 2);
  ui->addWidget(flagBox(iface, "cbMapTypeMapnik", _("Mapnik"), &g.MapTypeMapnik), 0, 3);
  ui->addWidget(flagBox(iface, "cbMapTypeOSMCycle", _("OSM Cycle"), &g.MapTypeOSMCycle), 1, 3);
  ui->addWidget(flagBox(iface, "cbMapTypeOSMAerial", _("OSM Aerial"), &g.MapTypeOSMAerial), 2, 3);
  ui->addWidget(flagBox(iface, "cbMapTypeOSMPiste", _("OSM Piste"), &g.MapTypeOSMPiste), 3, 3);
  layout->addWidget(iface);

  auto* colors = new QGridLayout;
  QGroupBox* group = newGroup(page, _(" Colors "), colors);
  colors->addWidget(colorPanel(group, "pGMapRouteColor", _("Route"), &g.RouteColor), 0, 0);
  colors->addWidget(colorPanel(group, "pGMapTrackColor", _("Track"), &g.TrackColor), 0, 1);
  cbGMapLineStyle = flagBox(group, "cbGMapLineStyle", _("Use GPX Style line color"), &g.ExtensionLineColor);
  colors->addWidget(cbGMapLineStyle, 1, 0, 1, 2);
  layout->addWidget(group);
  layout->addWidget(flagBox(page, "cbWriteSatFile", _("Write a .sat file on screenshot"), &g.WriteSatFile));
  layout->addWidget(flagBox(page, "cbWriteMapFile", _("Write a .map file on screenshot"), &g.WriteMapFile));
  layout->addStretch(1);
  building_->push_back([this] { cbGMapLineStyle->setEnabled(GPXOptions.GPXStyle); });
  return page;
}

QWidget* TSettingsForm::BuildBottomPanePage() {
  QWidget* page = newPage("TabSheet4");
  auto* layout = static_cast<QVBoxLayout*>(page->layout());
  TStatOptions& s = StatOptions;
  auto* colors = new QGridLayout;
  QGroupBox* group = newGroup(page, _(" Colors "), colors);
  colors->addWidget(colorPanel(group, "pStatLineColor", _("Line"), &s.LineColor), 0, 0);
  colors->addWidget(colorPanel(group, "pStatBackGroundColor", _("Background"), &s.BackgroundColor), 0, 1);
  colors->addWidget(colorPanel(group, "pStatAxisColor", _("Axis"), &s.AxisColor), 0, 2);
  colors->addWidget(colorPanel(group, "pStatSelectionColor", _("Hairline"), &s.SelectionColor), 1, 0);
  colors->addWidget(colorPanel(group, "pStatTextColor", _("Text"), &s.TextColor), 1, 1);
  colors->addWidget(colorPanel(group, "pStatRangeSelectionColor", _("Selection"), &s.RangeSelectionColor), 1, 2);
  layout->addWidget(group);
  layout->addWidget(radioGroup(page, "rgSelectByXorXY", _(" How to choose closest point "),
                               {_("Width"), _("Width and height")}, &s.SelectByXorXY));
  layout->addWidget(radioGroup(page, "rgShowHorizontalHairline", _(" Horizontal hairline "),
                               {_("Hide"), _("Show"), _("Inverse color")}, &s.ShowHorizontalHairline));
  layout->addStretch(1);
  return page;
}

QWidget* TSettingsForm::BuildInternetPage() {
  QWidget* page = newPage("TabSheet5");
  auto* layout = static_cast<QVBoxLayout*>(page->layout());
  TGPXOptions& o = GPXOptions;
  layout->addWidget(radioGroup(page, "rgProxySettings", _(" Proxy settings "),
                               {_("None"), _("HTTP"), _("Socks")}, &o.ProxyType));
  auto* addresses = new QGridLayout;
  addresses->addWidget(new QLabel(qs(_("HTTP")), page), 0, 0);
  addresses->addWidget(textEdit(page, "edtHttpProxyIP", &o.HttpIP), 0, 1);
  addresses->addWidget(new QLabel(":", page), 0, 2);
  addresses->addWidget(textEdit(page, "edtHttpProxyPort", &o.HttpPort), 0, 3);
  addresses->addWidget(new QLabel(qs(_("Socks")), page), 1, 0);
  addresses->addWidget(textEdit(page, "edtSocksProxyIP", &o.SocksIP), 1, 1);
  addresses->addWidget(new QLabel(":", page), 1, 2);
  addresses->addWidget(textEdit(page, "edtSocksProxyPort", &o.SocksPort), 1, 3);
  addresses->setColumnStretch(1, 3);
  addresses->setColumnStretch(3, 1);
  layout->addLayout(addresses);
  layout->addWidget(radioGroup(page, "rgElevationDatabase", _(" Elevation database "),
                               {"gtopo30", "srtm3", _("srtm3 then gtopo30")}, &o.ElevationDatabase));
  layout->addStretch(1);
  return page;
}

QWidget* TSettingsForm::BuildStatusBarPage() {
  QWidget* page = newPage("TabSheet6");
  auto* layout = static_cast<QVBoxLayout*>(page->layout());
  auto* title = new QLabel(qs(_("Values to display in the status bar when a point is selected")), page);
  title->setWordWrap(true);
  layout->addWidget(title);
  TStatOptions& s = StatOptions;
  struct Field {
    const char* name;
    std::string caption;
    bool* flag;
    std::string hint;
  };
  const Field fields[] = {
      {"cbaltitude", _("Altitude"), &s.altitude, _("Elevation (in meters) of the point.")},
      {"cbmagvar", _("Magnetic variation"), &s.magvar, _("Magnetic variation (in degrees) at the point.")},
      {"cbgeoidheight", _("Geoid height"), &s.geoidheight,
       _("Height (in meters) of geoid (mean sea level) above WGS84 earth ellipsoid.")},
      {"cbname", _("Name"), &s.name, _("The GPS name of the point.")},
      {"cbcmt", _("Comment"), &s.cmt, _("GPS comment of the point.")},
      {"cbdesc", _("Description"), &s.desc, _("A text description of the point.")},
      {"cbsrc", _("Source"), &s.src, _("Source of the data.")},
      {"cbsym", _("Symbol"), &s.sym, _("Text of the GPS symbol name.")},
      {"cbtype", _("Type"), &s.type, _("Type (classification) of the point.")},
      {"cbfix", _("Fix"), &s.fix, _("Type of GPS fix.")},
      {"cbsat", _("Satellites"), &s.sat, _("Number of satellites used to calculate the GPS fix.")},
      {"cbhdop", _("HDOP"), &s.hdop, _("Horizontal dilution of precision.")},
      {"cbvdop", _("VDOP"), &s.vdop, _("Vertical dilution of precision.")},
      {"cbpdop", _("PDOP"), &s.pdop, _("Position dilution of precision.")},
      {"cbageofgpsdata", _("Age of gps data"), &s.ageofgpsdata,
       _("Number of seconds since last DGPS update.")},
      {"cbdgps", _("DGPSID"), &s.dgps, _("ID of DGPS station used in differential correction.")},
      {"cbDistance", _("Distance"), &s.Distance, _("Distance from the start of the list.")},
      {"cbDuration", _("Duration"), &s.Duration, _("Time since the start of the list.")},
      {"cbParentName", _("Parent name"), &s.ParentName, _("Name of the route or track of the point.")},
      {"cbSpeed", _("Speed"), &s.Speed, _("Speed at the point.")},
      {"cbIndex", _("Index"), &s.Index, _("Index of the point in the point list")},
  };
  auto* grid = new QGridLayout;
  constexpr int kRows = 8;
  int i = 0;
  for (const Field& f : fields) {
    grid->addWidget(flagBox(page, f.name, f.caption, f.flag, f.hint), i % kRows, i / kRows);
    ++i;
  }
  // The graph's own value is always shown.
  auto* value = new QCheckBox(qs(_("Value")), page);
  value->setObjectName("cbValue");
  value->setToolTip(qs(_("Value from the bottom pane")));
  value->setChecked(true);
  value->setEnabled(false);
  grid->addWidget(value, i % kRows, i / kRows);
  layout->addLayout(grid);
  layout->addStretch(1);
  return page;
}

void TSettingsForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The copies were overwritten since the page was last filled.
  ShowPage(PageControl1->currentIndex());
}

void TSettingsForm::ShowPage(int index) {
  if (index < 0 || index >= static_cast<int>(fill_.size())) return;
  for (const auto& fill : fill_[static_cast<size_t>(index)]) fill();
}

void TSettingsForm::TabSheet1Show() { ShowPage(0); }
void TSettingsForm::TabSheet3Show() { ShowPage(1); }
void TSettingsForm::TabSheet2Show() { ShowPage(2); }
void TSettingsForm::TabSheet4Show() { ShowPage(3); }
void TSettingsForm::TabSheet5Show() { ShowPage(4); }
void TSettingsForm::TabSheet6Show() { ShowPage(5); }

void TSettingsForm::lbSettingsClick() {
  const int row = lbSettings->currentRow();
  if (row >= 0) PageControl1->setCurrentIndex(row);
}

void TSettingsForm::cbGPX_StyleClick() {
  GPXOptions.GPXStyle = cbGPX_Style->isChecked();
  for (QCheckBox* box : {cbGPXDrawLineStyle, cbGMapLineStyle}) {
    box->setEnabled(GPXOptions.GPXStyle);
    // Unchecking writes the flag through the box's own handler.
    if (!GPXOptions.GPXStyle) box->setChecked(false);
  }
  // A box on a page not shown yet was never filled: its flag is cleared here as well.
  if (!GPXOptions.GPXStyle) {
    DrawOptions.GPXDrawLineStyle = 0;
    GMapOptions.ExtensionLineColor = false;
  }
}

void TSettingsForm::edtFileHistoryChange() {
  int depth = 0;
  GPXOptions.FileHistory = parseIntStrict(edtFileHistory->text().toStdString(), depth) ? depth : 8;
}

void TSettingsForm::PickColor(QPushButton* panel) {
  if (const std::optional<QColor> chosen = AskColor(this, panelColor(panel))) paintPanel(panel, *chosen);
}
