#include "ui/dialogs/AboutForm.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "base/Translate.h"
#include "ui/ProgramIcons.h"
#include "ui/QtText.h"

std::string AboutCommentsText() {
  const std::string lines[] = {
      _("Thanks go to :"),
      _("- the libxml2 developers, for the XML library that reads and writes every file"),
      _("- the Qt Project, for Qt 6, its widgets, its standard icons and Qt WebEngine"),
      _("- the GCC, GNU C Library and libjpeg-turbo developers, for fast runtime routines"),
      _("- GeoNames, for the elevation web service and its data, reached with libcurl"),
      _("- David Douglas and Thomas Peucker, for their line simplification algorithm"),
      _("- the authors of the encoded polyline format, on which the map's encoder is built"),
      _("- the GNU gettext developers, for the translation library"),
      _("- the OpenStreetMap community of GPS mappers, for their tracks and advice"),
      _("- the Leaflet developers, for the map library"),
      _("- the OpenStreetMap contributors, for the map tiles and their data"),
      "",
      _("Thanks also to the translators :"),
      _("- the translators of the Spanish catalogue"),
      _("- the translators of the German catalogue"),
      _("- the translators of the Russian catalogue"),
      "",
      _("And of course all the people who helped me to develop this tool")};
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

std::string AboutVersionText(const std::string& version, bool beta) {
  return _("Version") + " " + version + (beta ? " \u00DF" : "");
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(qs(_("About")));
  auto* icon = new QLabel;
  icon->setObjectName("ProgramIcon");
  icon->setPixmap(programIcon("gpx.svg").pixmap(48, 48));
  ProductName = new QLabel("Corvantel");
  ProductName->setObjectName("ProductName");
  QFont big = ProductName->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  ProductName->setFont(big);
  Version = new QLabel;
  Version->setObjectName("Version");
  Comments = new QPlainTextEdit;
  Comments->setObjectName("Comments");
  Comments->setReadOnly(true);
  Comments->setFrameShape(QFrame::NoFrame);
  Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Comments->setBackgroundRole(QPalette::Window);
  Comments->viewport()->setBackgroundRole(QPalette::Window);
  Comments->setPlainText(qs(AboutCommentsText()));
  OKButton = new QPushButton(qs(_("OK")));
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* names = new QVBoxLayout;
  names->addWidget(ProductName);
  names->addWidget(Version);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(names, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(OKButton);
  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(Comments, 1);
  main->addLayout(bottom);
  resize(560, 400);
}

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TAboutBox::FormShow() {
  Version->setText(qs(AboutVersionText(VersionText, Beta)));
  OKButton->setFocus();
}
