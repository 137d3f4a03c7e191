// The route and track dialog's controls, how they show the item, and how each user change
// writes into it.
#include "ui/dialogs/RouteProperties.h"

#include <cmath>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPX.h"
#include "ui/CommandGuard.h"
#include "ui/QtText.h"

template <class F>
void TRoutePropertiesForm::EditItem(F&& f) {
  if (track_)
    f(*track_);
  else if (route_)
    f(*route_);
}

TRoutePropertiesForm::TRoutePropertiesForm(QWidget* parent, bool track) : TPropertyDialog(parent) {
  setObjectName(track ? "TrackPropertiesForm" : "RoutePropertiesForm");
  setWindowTitle(qs(track ? _("Track properties") : _("Route properties")));
  AskColor = qtColorAsker();
  OpenLink = desktopLinkOpener();
  BuildControls(track);
}

void TRoutePropertiesForm::BuildControls(bool track) {
  auto named = [](auto* w, const char* name) {
    w->setObjectName(name);
    return w;
  };
  auto memo = NewMemo;
  auto page = [this](const char* name, const std::string& text) { return AddPage(name, text); };
  auto captioned = [](QGridLayout* grid, int& row, std::initializer_list<std::pair<std::string, QWidget*>> rows) {
    for (const auto& [text, w] : rows) {
      grid->addWidget(new QLabel(qs(text)), row, 0, Qt::AlignTop);
      grid->addWidget(w, row++, 1);
    }
  };

  TabSheetBasic = page("TabSheetBasic", _("Basic"));
  auto* b = new QGridLayout(TabSheetBasic);
  edtRouteName = named(new QLineEdit, "edtRouteName");
  mRouteComment = memo("mRouteComment", 3);
  mRouteDesc = memo("mRouteDesc", 3);
  mRouteSrc = memo("mRouteSrc", 2);
  int row = 0;
  captioned(b, row,
            {{_("Name :"), edtRouteName}, {_("Comment :"), mRouteComment}, {_("Description :"), mRouteDesc},
             {_("Source :"), mRouteSrc}});
  b->setColumnStretch(1, 1);

  auto* a = new QGridLayout(page("TabSheetAdvanced", _("Advanced")));
  edtRouteNumber = named(new QLineEdit, "edtRouteNumber");
  edtRoutetype = named(new QLineEdit, "edtRoutetype");
  row = 0;
  captioned(a, row, {{_("Number :"), edtRouteNumber}, {_("Type :"), edtRoutetype}});
  auto* linkBox = new QGroupBox(qs(_("Link")));
  auto* l = new QGridLayout(linkBox);
  edtRouteLinkURL = named(new QLineEdit, "edtRouteLinkURL");
  edtRouteLinkText = named(new QLineEdit, "edtRouteLinkText");
  edtRouteLinkType = named(new QLineEdit, "edtRouteLinkType");
  btnOpenLink = named(new QToolButton, "btnOpenLink");
  btnOpenLink->setIcon(style()->standardIcon(QStyle::SP_DirLinkIcon));
  btnOpenLink->setToolTip(qs(_("Open link")));
  int linkRow = 0;
  captioned(l, linkRow, {{_("URL :"), edtRouteLinkURL}, {_("Text :"), edtRouteLinkText}, {_("Type :"), edtRouteLinkType}});
  l->addWidget(btnOpenLink, 0, 2);
  a->addWidget(linkBox, row++, 0, 1, 2);
  a->setColumnStretch(1, 1);
  a->setRowStretch(row, 1);

  BuildExtensionsPage([this](const std::string& t) { EditItem([&](auto& i) { i.extensions = t; }); });

  auto* s = new QGridLayout(page("TabSheetStyle", _("Style")));
  pLineColor = named(new QPushButton, track ? "pTrackLineColor" : "pRouteLineColor");
  pLineColor->setFixedSize(64, 24);
  pLineColor->setFlat(true);
  pLineColor->setAutoFillBackground(true);
  pLineColor->setAutoDefault(false);
  Button3 = named(new QPushButton(qs(_("Reset to default color"))), "Button3");
  Button3->setAutoDefault(false);
  tbOpacity = named(new QSlider(Qt::Horizontal), "tbOpacity");
  tbOpacity->setRange(0, 100);
  tbOpacity->setPageStep(10);
  tbOpacity->setTickInterval(10);
  tbOpacity->setTickPosition(QSlider::TicksBelow);
  lblOpacityValue = named(new QLabel, "lblOpacityValue");
  lblOpacityValue->setMinimumWidth(40);
  s->addWidget(new QLabel(qs(track ? _("Track color") : _("Route color"))), 0, 0);
  s->addWidget(pLineColor, 0, 1);
  s->addWidget(Button3, 0, 2, Qt::AlignLeft);
  s->addWidget(new QLabel(qs(_("Opacity :"))), 1, 0);
  s->addWidget(tbOpacity, 1, 1, 1, 2);
  s->addWidget(lblOpacityValue, 1, 3);
  s->setColumnStretch(2, 1);
  s->setRowStretch(2, 1);

  cbEnabled = named(new QCheckBox(qs(_("Enabled"))), "cbEnabled");
  QBoxLayout* bottom = BuildButtonRow(cbEnabled);
  auto* main = new QVBoxLayout(this);
  main->addWidget(PageControl1);
  main->addLayout(bottom);
  resize(460, 360);

  // Each user change writes at once; the filling runs with the signals blocked.
  auto text = [this](QLineEdit* edit, auto write) {
    connect(edit, &QLineEdit::textChanged, this, [this, write](const QString& t) {
      EditItem([&](auto& item) { write(item, t.toStdString()); });
    });
  };
  auto memoText = [this](QPlainTextEdit* m, auto write) {
    connect(m, &QPlainTextEdit::textChanged, this, [this, m, write] {
      EditItem([&](auto& item) { write(item, m->toPlainText().toStdString()); });
    });
  };
  text(edtRouteName, [](auto& i, const std::string& t) { i.name = t; });
  text(edtRoutetype, [](auto& i, const std::string& t) { i.type = t; });
  // GPX numbers are not negative: anything else stands for none.
  text(edtRouteNumber, [](auto& i, const std::string& t) { i.number = std::max(parseIntOr(t, -1), -1); });
  text(edtRouteLinkURL, [](auto& i, const std::string& t) { i.link.href = t, i.link.Present = true; });
  text(edtRouteLinkText, [](auto& i, const std::string& t) { i.link.text = t, i.link.Present = true; });
  text(edtRouteLinkType, [](auto& i, const std::string& t) { i.link.type = t, i.link.Present = true; });
  memoText(mRouteComment, [](auto& i, const std::string& t) { i.cmt = t; });
  memoText(mRouteDesc, [](auto& i, const std::string& t) { i.desc = t; });
  memoText(mRouteSrc, [](auto& i, const std::string& t) { i.src = t; });
  auto guarded = [this](auto handler) { return [this, handler] { RunGuarded(this, [&] { handler(); }); }; };
  connect(btnOpenLink, &QToolButton::clicked, this, guarded([this] { btnOpenLinkClick(); }));
  connect(pLineColor, &QPushButton::clicked, this, guarded([this] { ColorClick(); }));
  connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
  connect(tbOpacity, &QSlider::valueChanged, this, [this](int v) { tbOpacityChange(v); });
  connect(cbEnabled, &QCheckBox::clicked, this, [this](bool on) { cbEnabledClick(on); });
}

void TRoutePropertiesForm::FormShow() {
  StartShowing();
  const QSignalBlocker blockers[] = {
      QSignalBlocker(edtRouteName),    QSignalBlocker(mRouteComment),    QSignalBlocker(mRouteDesc),
      QSignalBlocker(mRouteSrc),       QSignalBlocker(edtRouteNumber),   QSignalBlocker(edtRoutetype),
      QSignalBlocker(edtRouteLinkURL), QSignalBlocker(edtRouteLinkText), QSignalBlocker(edtRouteLinkType),
      QSignalBlocker(mExtensions),     QSignalBlocker(tbOpacity),        QSignalBlocker(cbEnabled)};
  EditItem([this](const auto& i) {
    edtRouteName->setText(qs(i.name));
    mRouteComment->setPlainText(qs(i.cmt));
    mRouteDesc->setPlainText(qs(i.desc));
    mRouteSrc->setPlainText(qs(i.src));
    edtRouteNumber->setText(i.number == -1 ? QString() : qs(formatInt(i.number)));
    edtRoutetype->setText(qs(i.type));
    edtRouteLinkURL->setText(i.link.Present ? qs(i.link.href) : QString());
    edtRouteLinkText->setText(i.link.Present ? qs(i.link.text) : QString());
    edtRouteLinkType->setText(i.link.Present ? qs(i.link.type) : QString());
    mExtensions->setPlainText(qs(i.extensions));
    panelColor_ = i.Style.IsColorUnset() ? DefaultColor : i.Style.Color;
    const int position = static_cast<int>(std::clamp<int64_t>(roundHalfEven(i.Style.Opacity * 100), 0, 100));
    tbOpacity->setValue(position);
    ShowOpacity(position);
    cbEnabled->setChecked(i.Visible);
  });
  ShowPanelColor();
}

void TRoutePropertiesForm::ShowPanelColor() {
  pLineColor->setStyleSheet(QString("background-color: %1; border: 1px solid palette(dark);")
                                .arg(colorFromBGR(panelColor_).name()));
}

void TRoutePropertiesForm::ShowOpacity(int position) {
  lblOpacityValue->setText(qs(formatGeneral(position / 100.0)));
  // A line this faint hardly shows on the map: the label warns.
  QPalette p = palette();
  if (position < 10)
    p.setColor(QPalette::WindowText, Qt::red);
  else if (position < 20)
    p.setColor(QPalette::WindowText, QColor(128, 0, 0));
  lblOpacityValue->setPalette(p);
}

void TRoutePropertiesForm::tbOpacityChange(int position) {
  ShowOpacity(position);
  EditItem([&](auto& i) { i.Style.Opacity = position / 100.0; });
}

void TRoutePropertiesForm::btnOpenLinkClick() { openLinkText(edtRouteLinkURL->text(), OpenLink); }

void TRoutePropertiesForm::ColorClick() {
  if (AskColor)
    if (const auto chosen = AskColor(this, panelColor_)) panelColor_ = *chosen & 0xFFFFFF;
  ShowPanelColor();
  // Confirmed or not, the style takes the colour shown.
  EditItem([this](auto& i) { i.Style.Color = panelColor_; });
}

void TRoutePropertiesForm::Button3Click() {
  panelColor_ = DefaultColor;
  ShowPanelColor();
  EditItem([this](auto& i) { i.Style.Color = DefaultColor; });
}

void TRoutePropertiesForm::cbEnabledClick(bool checked) {
  EditItem([checked](auto& i) { i.SetVisible(checked); });
}

void TRoutePropertiesForm::accept() {
  std::string extensions;
  EditItem([&](const auto& i) { extensions = i.extensions; });
  if (ExtensionsRefused(extensions)) return;
  QDialog::accept();
}
