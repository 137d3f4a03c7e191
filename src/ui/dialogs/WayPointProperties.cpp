// The waypoint dialog's controls, how they show a point, and how each user change writes
// into it.
#include "ui/dialogs/WayPointProperties.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPX.h"
#include "ui/CommandGuard.h"
#include "ui/QtText.h"

namespace {

// The numeric fields show their '.' text, or nothing for the field's unset value.
QString numberText(double value) { return value >= 0 ? qs(formatGeneral(value)) : QString(); }

// The value these edits read for a text that is no number: typed, it changes nothing either.
constexpr double kNoNumber = -99999;

// A typed number with '.', else with the locale's decimal separator.
bool parseTypedNumber(const QString& text, double& value) {
  const std::string s = text.trimmed().toStdString();
  const std::string sep = localeFormats().decimalSeparator();
  return (parseFloatStrict(s, value) || (sep.size() == 1 && parseFloatWithSeparator(s, sep[0], value))) &&
         value != kNoNumber;
}

// A non-negative '.' number, else the unset value -1: a negative one would be written to the
// file while the dialog shows the field as empty.
double optionalNumber(const QString& text) {
  double v;
  return parseFloatStrict(text.trimmed().toStdString(), v) && v >= 0 ? v : -1.0;
}

// A whole number within [low, high], else `none`.
int boundedInt(const QString& text, int low, int high, int none) {
  int v;
  return parseIntStrict(text.trimmed().toStdString(), v) && v >= low && v <= high ? v : none;
}

const char* const kFixes[] = {"", "2d", "3d", "dgps", "pps"};

}  // namespace

bool parseCoordinateText(const QString& text, const QString& negativeLetter, double& value) {
  QString s = text.trimmed();
  if (s.isEmpty()) return false;
  const QString letter = s.right(1);
  if (!s.back().isDigit()) s = s.chopped(1).trimmed();
  // The shown text ends in a degree sign before the letter.
  if (!s.isEmpty() && !s.back().isDigit()) s = s.chopped(1).trimmed();
  if (!parseTypedNumber(s, value)) return false;
  if (letter.compare(negativeLetter, Qt::CaseInsensitive) == 0) value = -value;
  return true;
}

TWayPointPropertiesForm::TWayPointPropertiesForm(QWidget* parent) : TPropertyDialog(parent) {
  setObjectName("WayPointPropertiesForm");
  setWindowTitle(qs(_("WayPoint Properties")));
  OpenLink = desktopLinkOpener();
  BuildControls();
}

void TWayPointPropertiesForm::BuildControls() {
  auto named = [](auto* w, const char* name, const std::string& hint = {}) {
    w->setObjectName(name);
    if (!hint.empty()) w->setToolTip(qs(hint));
    return w;
  };
  auto caption = [](const std::string& text, const std::string& hint = {}) {
    auto* l = new QLabel(qs(text));
    if (!hint.empty()) l->setToolTip(qs(hint));
    return l;
  };
  auto toolButton = [&](const char* name, QStyle::StandardPixmap icon, const std::string& hint) {
    auto* b = named(new QToolButton, name, hint);
    b->setIcon(style()->standardIcon(icon));
    return b;
  };
  auto lineEdit = [&](const char* name, const std::string& hint) { return named(new QLineEdit, name, hint); };
  auto memo = [&](const char* name, const std::string& hint, int lines) {
    auto* m = named(new QPlainTextEdit, name, hint);
    m->setTabChangesFocus(true);
    m->setFixedHeight(m->fontMetrics().lineSpacing() * lines + 12);
    return m;
  };

  auto page = [this](const char* name, const std::string& text) { return AddPage(name, text); };
  // A caption and its control on each row, from `row` on.
  auto captioned = [&](QGridLayout* grid, int& row, int span,
                       std::initializer_list<std::pair<std::string, QWidget*>> rows) {
    for (const auto& [text, w] : rows) {
      grid->addWidget(caption(text, w->toolTip().toStdString()), row, 0, Qt::AlignTop);
      grid->addWidget(w, row++, 1, 1, span);
    }
  };
  auto* g = new QGridLayout(page("TabSheetBasic", _("Basic")));

  // Position: each value applies only with its button, so a half-typed number never lands.
  struct CoordinateRow {
    const char* label;
    const char* edit;
    const char* button;
    std::string caption, hint;
  };
  const std::string apply = _("Apply the typed value");
  const std::string latHint = _("The latitude of the point, in decimal degrees (WGS84).");
  const std::string lonHint = _("The longitude of the point, in decimal degrees (WGS84).");
  const std::string eleHint = _("Elevation (in meters) of the point.");
  lblLatitude = named(new QLabel, "lblLatitude", latHint);
  lblLongitude = named(new QLabel, "lblLongitude", lonHint);
  lblAltitude = named(new QLabel, "lblAltitude", eleHint);
  edtLatitude = lineEdit("edtLatitude", latHint);
  edtLongitude = lineEdit("edtLongitude", lonHint);
  edtAltitude = lineEdit("edtAltitude", eleHint);
  sbLatitude = toolButton("sbLatitude", QStyle::SP_DialogApplyButton, apply);
  sbLongitude = toolButton("sbLongitude", QStyle::SP_DialogApplyButton, apply);
  sbAltitude = toolButton("sbAltitude", QStyle::SP_DialogApplyButton, apply);
  sbDownloadAltitudeData =
      toolButton("sbDownloadAltitudeData", QStyle::SP_ArrowDown, _("Get altitude from GeoNames"));
  int row = 0;
  for (auto [text, hint, label, edit, button] :
       {std::tuple{_("Latitude :"), latHint, lblLatitude, edtLatitude, sbLatitude},
        std::tuple{_("Longitude : "), lonHint, lblLongitude, edtLongitude, sbLongitude},
        std::tuple{_("Altitude :"), eleHint, lblAltitude, edtAltitude, sbAltitude}}) {
    g->addWidget(caption(text, hint), row, 0);
    g->addWidget(label, row, 1);
    g->addWidget(edit, row, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button);
    if (button == sbAltitude) buttons->addWidget(sbDownloadAltitudeData);
    buttons->addStretch();
    g->addLayout(buttons, row, 3);
    ++row;
  }

  const std::string timeHint = _("Creation/modification timestamp for element, in UTC.");
  time_ = std::make_unique<TTimeControls>(this);
  lblTime = time_->Label;
  cbDate = time_->Date;
  cbTime = time_->Time;
  dtpDate = time_->DatePicker;
  dtpTime = time_->TimePicker;
  for (QWidget* w : std::initializer_list<QWidget*>{lblTime, cbDate, cbTime, dtpDate, dtpTime})
    w->setToolTip(qs(timeHint));
  g->addWidget(caption(_("Time :"), timeHint), row, 0);
  g->addWidget(lblTime, row, 1);
  QBoxLayout* times = time_->PickerRow();
  g->addLayout(times, row++, 2, 1, 2);

  edtWPName = lineEdit("edtWPName", _("The GPS name of the waypoint."));
  mWPComment = memo("mWPComment", _("GPS waypoint comment. Sent to GPS as comment."), 2);
  mWPDesc = memo("mWPDesc", _("A text description of the element, intended for the user, not the GPS."), 3);
  edtWPSymbol = lineEdit("edtWPSymbol", _("Text of GPS symbol name."));
  captioned(g, row, 3,
            {{_("Name :"), edtWPName}, {_("Comment :"), mWPComment}, {_("Description :"), mWPDesc},
             {_("Symbol :"), edtWPSymbol}});

  const std::string linkHint = _("Link to additional information about the waypoint.");
  pgWPLink = named(new QTabWidget, "pgWPLink", linkHint);
  edtWPLinkURL = lineEdit("edtWPLinkURL", linkHint);
  edtWPLinkText = lineEdit("edtWPLinkText", linkHint);
  edtWPLinkType = lineEdit("edtWPLinkType", linkHint);
  for (auto [text, edit] : {std::pair{_("URL"), edtWPLinkURL}, {_("Text"), edtWPLinkText},
                            {_("Type"), edtWPLinkType}}) {
    auto* page = new QWidget;
    auto* l = new QHBoxLayout(page);
    l->addWidget(edit);
    pgWPLink->addTab(page, qs(text));
  }
  btnOpenLink = toolButton("btnOpenLink", QStyle::SP_DirLinkIcon, _("Open link"));
  g->addWidget(caption(_("Link :"), linkHint), row, 0, Qt::AlignTop);
  g->addWidget(pgWPLink, row, 1, 1, 2);
  g->addWidget(btnOpenLink, row++, 3, Qt::AlignTop);
  g->setColumnStretch(2, 1);
  g->setRowStretch(row, 1);

  auto* a = new QGridLayout(page("TabSheetAdvanced", _("Advanced")));
  mWPSrc = memo("mWPSrc", _("Source of data, to give an idea of its reliability and accuracy."), 2);
  edtWPtype = lineEdit("edtWPtype", _("Type (classification) of the waypoint."));
  edtWPSat = lineEdit("edtWPSat", _("Number of satellites used to calculate the GPX fix."));
  edtWPageofdata = lineEdit("edtWPageofdata", _("Number of seconds since last DGPS update."));
  edtWPdgpsid = lineEdit("edtWPdgpsid", _("ID of DGPS station used in differential correction."));
  edtWPhdop = lineEdit("edtWPhdop", _("Horizontal dilution of precision."));
  edtWPvdop = lineEdit("edtWPvdop", _("Vertical dilution of precision."));
  edtWPpdop = lineEdit("edtWPpdop", _("Position dilution of precision."));
  row = 0;
  captioned(a, row, 1,
            {{_("Source :"), mWPSrc}, {_("Type :"), edtWPtype}, {_("Satellites : "), edtWPSat},
             {_("Age of data :"), edtWPageofdata}, {_("dgpsid :"), edtWPdgpsid},
             {_("HDOP :"), edtWPhdop}, {_("VDOP :"), edtWPvdop}, {_("PDOP :"), edtWPpdop}});
  auto* fixBox = named(new QGroupBox(qs(_(" Fix "))), "gbWPtype", _("Type of GPX fix."));
  auto* fixLayout = new QHBoxLayout(fixBox);
  rgWPtype = new QButtonGroup(fixBox);
  rgWPtype->setObjectName("rgWPtype");
  int id = 0;
  for (auto [name, text] : {std::pair{"none", _("none")}, {"2d", _("2d")}, {"3d", _("3d")},
                             {"dgps", _("dgps")}, {"pps", _("pps")}}) {
    auto* r = new QRadioButton(qs(text));
    r->setObjectName(QString("rgWPtype_") + name);
    rgWPtype->addButton(r, id++);
    fixLayout->addWidget(r);
  }
  a->addWidget(fixBox, 0, 2, 3, 1, Qt::AlignTop);
  a->setColumnStretch(1, 1);
  a->setRowStretch(row, 1);

  BuildExtensionsPage([this](const std::string& t) {
    if (point_) point_->edit().extensions = t;
  });
  mExtensions->setToolTip(qs(_("You can extend GPX by adding your own elements from another schema here.")));

  cbEnabled = named(new QCheckBox(qs(_("Enabled"))), "cbEnabled");
  QBoxLayout* bottom = BuildButtonRow(cbEnabled);
  auto* main = new QVBoxLayout(this);
  main->addWidget(PageControl1);
  main->addLayout(bottom);

  // Each user change writes at once; the filling runs with the signals blocked.
  auto guarded = [this](auto handler) { return [this, handler] { RunGuarded(this, [&] { handler(); }); }; };
  auto text = [this](QLineEdit* edit, std::function<void(TGPXwpt&, const QString&)> write) {
    connect(edit, &QLineEdit::textChanged, this, [this, write](const QString& t) {
      if (point_) write(*point_, t);
    });
  };
  auto memoText = [this](QPlainTextEdit* m, std::function<void(TGPXwpt&, const std::string&)> write) {
    connect(m, &QPlainTextEdit::textChanged, this, [this, m, write] {
      if (point_) write(*point_, m->toPlainText().toStdString());
    });
  };
  text(edtWPName, [](TGPXwpt& p, const QString& t) { p.edit().name = t.toStdString(); });
  text(edtWPSymbol, [](TGPXwpt& p, const QString& t) { p.edit().sym = t.toStdString(); });
  text(edtWPtype, [](TGPXwpt& p, const QString& t) { p.edit().type = t.toStdString(); });
  text(edtWPLinkURL, [](TGPXwpt& p, const QString& t) {
    p.edit().link.href = t.toStdString();
    p.edit().link.Present = true;
  });
  text(edtWPLinkText, [](TGPXwpt& p, const QString& t) {
    p.edit().link.text = t.toStdString();
    p.edit().link.Present = true;
  });
  text(edtWPLinkType, [](TGPXwpt& p, const QString& t) {
    p.edit().link.type = t.toStdString();
    p.edit().link.Present = true;
  });
  // The satellite count is one byte, 255 meaning none: a larger number is no count.
  text(edtWPSat, [](TGPXwpt& p, const QString& t) { p.edit().sat = static_cast<uint8_t>(boundedInt(t, 0, 254, 255)); });
  // GPX allows station numbers 0 to 1023.
  text(edtWPdgpsid, [](TGPXwpt& p, const QString& t) { p.edit().dgpsid = boundedInt(t, 0, 1023, -1); });
  text(edtWPageofdata, [](TGPXwpt& p, const QString& t) { p.edit().ageofdgpsdata = optionalNumber(t); });
  text(edtWPhdop, [](TGPXwpt& p, const QString& t) { p.edit().hdop = optionalNumber(t); });
  text(edtWPvdop, [](TGPXwpt& p, const QString& t) { p.edit().vdop = optionalNumber(t); });
  text(edtWPpdop, [](TGPXwpt& p, const QString& t) { p.edit().pdop = optionalNumber(t); });
  memoText(mWPComment, [](TGPXwpt& p, const std::string& t) { p.edit().cmt = t; });
  memoText(mWPDesc, [](TGPXwpt& p, const std::string& t) { p.edit().desc = t; });
  memoText(mWPSrc, [](TGPXwpt& p, const std::string& t) { p.edit().src = t; });
  connect(rgWPtype, &QButtonGroup::idClicked, this, [this](int id) { rgWPtypeClick(id); });
  connect(cbEnabled, &QCheckBox::clicked, this, [this](bool on) {
    if (point_) point_->Visible = on;
  });
  connect(sbLatitude, &QToolButton::clicked, this, guarded([this] { sbLatitudeClick(); }));
  connect(sbLongitude, &QToolButton::clicked, this, guarded([this] { sbLongitudeClick(); }));
  connect(sbAltitude, &QToolButton::clicked, this, guarded([this] { sbAltitudeClick(); }));
  connect(sbDownloadAltitudeData, &QToolButton::clicked, this, guarded([this] { sbDownloadAltitudeDataClick(); }));
  connect(btnOpenLink, &QToolButton::clicked, this, guarded([this] { btnOpenLinkClick(); }));
}

void TWayPointPropertiesForm::FormShow() {
  StartShowing();
  cancelPending_ = false;
  if (!point_) return;
  const TGPXwpt& p = *point_;
  const TGPXwptData& d = p.data();
  const QSignalBlocker blockers[] = {
      QSignalBlocker(edtWPName),      QSignalBlocker(edtWPSymbol),    QSignalBlocker(edtWPtype),
      QSignalBlocker(edtWPLinkURL),   QSignalBlocker(edtWPLinkText),  QSignalBlocker(edtWPLinkType),
      QSignalBlocker(edtWPSat),       QSignalBlocker(edtWPdgpsid),    QSignalBlocker(edtWPageofdata),
      QSignalBlocker(edtWPhdop),      QSignalBlocker(edtWPvdop),      QSignalBlocker(edtWPpdop),
      QSignalBlocker(mWPComment),     QSignalBlocker(mWPDesc),        QSignalBlocker(mWPSrc),
      QSignalBlocker(mExtensions),    QSignalBlocker(cbEnabled),      QSignalBlocker(cbDate),
      QSignalBlocker(cbTime),         QSignalBlocker(dtpDate),        QSignalBlocker(dtpTime)};
  ShowLatitude();
  ShowLongitude();
  ShowAltitude();
  // Nothing of an earlier showing may stay: the pickers start at today until the point says.
  time_->Value = &point_->Time;
  time_->Reset();
  ShowTime(false);

  edtWPName->setText(qs(d.name));
  mWPComment->setPlainText(qs(d.cmt));
  mWPDesc->setPlainText(qs(d.desc));
  edtWPSymbol->setText(qs(d.sym));
  mWPSrc->setPlainText(qs(d.src));
  edtWPLinkURL->setText(d.link.Present ? qs(d.link.href) : QString());
  edtWPLinkText->setText(d.link.Present ? qs(d.link.text) : QString());
  edtWPLinkType->setText(d.link.Present ? qs(d.link.type) : QString());
  pgWPLink->setCurrentIndex(0);
  int fix = 0;
  switch (d.fix.empty() ? 'n' : d.fix[0]) {
    case '2': fix = 1; break;
    case '3': fix = 2; break;
    case 'd': fix = 3; break;
    case 'p': fix = 4; break;
    default: break;
  }
  rgWPtype->button(fix)->setChecked(true);
  edtWPSat->setText(d.sat < 255 ? qs(formatInt(d.sat)) : QString());
  edtWPageofdata->setText(numberText(d.ageofdgpsdata));
  edtWPdgpsid->setText(d.dgpsid >= 0 ? qs(formatInt(d.dgpsid)) : QString());
  edtWPhdop->setText(numberText(d.hdop));
  edtWPvdop->setText(numberText(d.vdop));
  edtWPpdop->setText(numberText(d.pdop));
  edtWPtype->setText(qs(d.type));
  mExtensions->setPlainText(qs(d.extensions));
  cbEnabled->setChecked(p.Visible);
}

void TWayPointPropertiesForm::ShowLatitude() {
  lblLatitude->setText(qs(point_->LatToStr()));
  edtLatitude->setText(qs(point_->LatToStr()));
}

void TWayPointPropertiesForm::ShowLongitude() {
  lblLongitude->setText(qs(point_->LonToStr()));
  edtLongitude->setText(qs(point_->LonToStr()));
}

void TWayPointPropertiesForm::ShowAltitude() {
  // 0 stands for no elevation.
  lblAltitude->setText(point_->Ele == 0 ? qs(_("None")) : qs(point_->EleToStr()));
  edtAltitude->setText(point_->Ele == 0 ? QString() : qs(formatGeneral(point_->Ele)));
}

void TWayPointPropertiesForm::ShowTime(bool fromCheckBox) { time_->Show(fromCheckBox); }

void TWayPointPropertiesForm::cbDateClick() { time_->DateClick(); }

void TWayPointPropertiesForm::cbTimeClick() { time_->TimeClick(); }

void TWayPointPropertiesForm::dtpDateChange() { time_->DateChange(); }

void TWayPointPropertiesForm::dtpTimeChange() { time_->TimeChange(); }

void TWayPointPropertiesForm::applyCoordinate(QLineEdit* edit, bool latitude) {
  // The text shows six decimals: applied untouched, it keeps the value it was shown from.
  if (edit->text().trimmed() == qs(latitude ? point_->LatToStr() : point_->LonToStr())) return;
  double v;
  if (!parseCoordinateText(edit->text(), qs(latitude ? _("S") : _("W")), v)) return;
  // A place off the globe would make a file other programs refuse.
  if (latitude ? (v < -90 || v > 90) : (v < -180 || v >= 180)) return;
  (latitude ? point_->Lat : point_->Lon) = v;
}

void TWayPointPropertiesForm::sbLatitudeClick() {
  if (!point_) return;
  applyCoordinate(edtLatitude, true);
  ShowLatitude();
}

void TWayPointPropertiesForm::sbLongitudeClick() {
  if (!point_) return;
  applyCoordinate(edtLongitude, false);
  ShowLongitude();
}

void TWayPointPropertiesForm::sbAltitudeClick() {
  if (!point_) return;
  double v;
  // Typing 0 takes the elevation away; an empty edit changes nothing.
  if (parseTypedNumber(edtAltitude->text(), v)) {
    point_->SetEle(v);
    point_->ElePresent = v != 0;
  }
  ShowAltitude();
}

void TWayPointPropertiesForm::setRequestRunning(bool running) {
  busy_ = running;
  // Cancel stays live: it ends the dialog once the answer is in.
  PageControl1->setEnabled(!running);
  cbEnabled->setEnabled(!running);
  btnOK->setEnabled(!running);
  if (running)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void TWayPointPropertiesForm::finishRequest() {
  setRequestRunning(false);
  if (cancelPending_) QDialog::reject();
}

void TWayPointPropertiesForm::sbDownloadAltitudeDataClick() {
  if (!point_ || !QueryElevation || busy_) return;
  setRequestRunning(true);
  std::optional<double> answer;
  try {
    answer = QueryElevation(point_->Lat, point_->Lon);
  } catch (...) {
    finishRequest();
    throw;
  }
  if (answer) {
    edtAltitude->setText(qs(formatGeneral(*answer)));
    sbAltitudeClick();
  }
  finishRequest();
}

void TWayPointPropertiesForm::btnOpenLinkClick() { openLinkText(edtWPLinkURL->text(), OpenLink); }

void TWayPointPropertiesForm::rgWPtypeClick(int id) {
  if (point_ && id >= 0 && id < 5) point_->edit().fix = kFixes[id];
}

void TWayPointPropertiesForm::accept() {
  if (busy_) return;
  if (point_ && ExtensionsRefused(point_->data().extensions)) return;
  QDialog::accept();
}

void TWayPointPropertiesForm::reject() {
  if (busy_) {
    cancelPending_ = true;
    return;
  }
  QDialog::reject();
}

void TWayPointPropertiesForm::closeEvent(QCloseEvent* event) {
  if (busy_) {
    cancelPending_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}
