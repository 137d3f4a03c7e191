// The metadata dialog's controls, how they show the metadata, and how each user change
// writes into it and marks the part it touches present.
#include "ui/dialogs/MetaProperties.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPX.h"
#include "ui/CommandGuard.h"
#include "ui/QtText.h"

TMetadataPropertiesForm::TMetadataPropertiesForm(QWidget* parent) : TPropertyDialog(parent) {
  setObjectName("MetadataPropertiesForm");
  setWindowTitle(qs(_("Metadata properties")));
  OpenLink = desktopLinkOpener();
  BuildControls();
}

TMetadataPropertiesForm::~TMetadataPropertiesForm() = default;

void TMetadataPropertiesForm::SetMetadata(TGPXmetadata* metadata) {
  metadata_ = metadata;
  time_->Value = metadata ? &metadata->time : nullptr;
}

void TMetadataPropertiesForm::BuildControls() {
  auto edit = [](const char* name) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    return e;
  };
  auto memo = NewMemo;
  auto linkButton = [this](const char* name) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setIcon(style()->standardIcon(QStyle::SP_DirLinkIcon));
    b->setToolTip(qs(_("Open link")));
    return b;
  };
  // A link's three texts, each on a page of its own, and its open button beside them.
  auto linkPages = [](const char* name, QLineEdit* url, QLineEdit* text, QLineEdit* type, QToolButton* open) {
    auto* pages = new QTabWidget;
    pages->setObjectName(name);
    for (auto [caption, e] : {std::pair{_("URL"), url}, {_("Text"), text}, {_("Type"), type}}) {
      auto* page = new QWidget;
      (new QHBoxLayout(page))->addWidget(e);
      pages->addTab(page, qs(caption));
    }
    auto* row = new QHBoxLayout;
    row->addWidget(pages, 1);
    row->addWidget(open, 0, Qt::AlignBottom);
    return std::pair{pages, row};
  };
  auto row = [](QGridLayout* grid, int r, const std::string& caption, auto* w) {
    grid->addWidget(new QLabel(qs(caption)), r, 0, Qt::AlignTop);
    if constexpr (std::is_base_of_v<QLayout, std::remove_pointer_t<decltype(w)>>)
      grid->addLayout(w, r, 1);
    else
      grid->addWidget(w, r, 1);
  };

  auto page = [this](const char* name, const std::string& text) { return AddPage(name, text); };

  auto* b = new QGridLayout(page("TabSheetBasic", _("Basic")));
  edtMetaName = edit("edtMetaName");
  mMetaDesc = memo("mMetaDesc", 3);
  time_ = std::make_unique<TTimeControls>(this);
  lblTime = time_->Label;
  auto* times = time_->PickerRow();
  times->insertWidget(0, lblTime);
  mMetaKeywords = memo("mMetaKeywords", 2);
  edtMetaLinkURL = edit("edtMetaLinkURL");
  edtMetaLinkText = edit("edtMetaLinkText");
  edtMetaLinkType = edit("edtMetaLinkType");
  btnOpenLink = linkButton("btnOpenLink");
  QLayout* link;
  std::tie(pgMetaLink, link) = linkPages("pgMetaLink", edtMetaLinkURL, edtMetaLinkText, edtMetaLinkType, btnOpenLink);
  row(b, 0, _("Name :"), edtMetaName);
  row(b, 1, _("Description :"), mMetaDesc);
  row(b, 2, _("Time :"), times);
  row(b, 3, _("Keywords :"), mMetaKeywords);
  row(b, 4, _("Link :"), link);
  b->setColumnStretch(1, 1);

  auto* a = new QVBoxLayout(page("TabSheetAdvanced", _("Advanced")));
  // A framed group of captioned rows on the page.
  auto group = [a](const std::string& caption, const char* name) {
    auto* box = new QGroupBox(qs(caption));
    box->setObjectName(name);
    a->addWidget(box);
    return new QGridLayout(box);
  };
  auto* ag = group(_(" Author "), "gbAuthor");
  edtMetaAuthorName = edit("edtMetaAuthorName");
  edtMetaAuthorEmailId = edit("edtMetaAuthorEmailId");
  edtMetaAuthorEmailDomain = edit("edtMetaAuthorEmailDomain");
  edtMetaAuthorLinkURL = edit("edtMetaAuthorLinkURL");
  edtMetaAuthorLinkText = edit("edtMetaAuthorLinkText");
  edtMetaAuthorLinkType = edit("edtMetaAuthorLinkType");
  SpeedButton1 = linkButton("SpeedButton1");
  auto* email = new QHBoxLayout;
  email->addWidget(new QLabel(qs(_("id"))));
  email->addWidget(edtMetaAuthorEmailId, 1);
  email->addWidget(new QLabel("@"));
  email->addWidget(new QLabel(qs(_("domain"))));
  email->addWidget(edtMetaAuthorEmailDomain, 1);
  QLayout* authorLink;
  std::tie(pgMetaAuthorLink, authorLink) = linkPages("pgMetaAuthorLink", edtMetaAuthorLinkURL,
                                                     edtMetaAuthorLinkText, edtMetaAuthorLinkType, SpeedButton1);
  row(ag, 0, _("Name :"), edtMetaAuthorName);
  row(ag, 1, _("Email :"), email);
  row(ag, 2, _("Link :"), authorLink);
  auto* cg = group(_(" Copyright "), "gbCopyright");
  row(cg, 0, _("Author :"), edtMetaCopyrightAuthor = edit("edtMetaCopyrightAuthor"));
  row(cg, 1, _("Year :"), edtMetaCopyrightYear = edit("edtMetaCopyrightYear"));
  row(cg, 2, _("License :"), edtMetaCopyrightLicense = edit("edtMetaCopyrightLicense"));
  a->addStretch();

  // Extension text marks nothing present.
  BuildExtensionsPage([this](const std::string& t) {
    if (metadata_) metadata_->extensions = t;
  });

  auto* main = new QVBoxLayout(this);
  main->addWidget(PageControl1);
  main->addLayout(BuildButtonRow(nullptr));
  resize(500, 420);

  // Each user change writes at once and marks what it touched present; the filling runs
  // with the signals blocked.
  auto text = [this](QLineEdit* e, auto write) {
    connect(e, &QLineEdit::textChanged, this, [this, write](const QString& t) {
      if (metadata_) write(*metadata_, t.toStdString());
    });
  };
  auto memoText = [this](QPlainTextEdit* m, auto write) {
    connect(m, &QPlainTextEdit::textChanged, this, [this, m, write] {
      if (metadata_) write(*metadata_, m->toPlainText().toStdString());
    });
  };
  using M = TGPXmetadata;
  using S = const std::string&;
  text(edtMetaName, [](M& m, S t) { m.name = t, m.Present = true; });
  memoText(mMetaDesc, [](M& m, S t) { m.desc = t, m.Present = true; });
  memoText(mMetaKeywords, [](M& m, S t) { m.keywords = t, m.Present = true; });
  text(edtMetaLinkURL, [](M& m, S t) { m.link.href = t, m.link.Present = true; });
  text(edtMetaLinkText, [](M& m, S t) { m.link.text = t, m.link.Present = true; });
  text(edtMetaLinkType, [](M& m, S t) { m.link.type = t, m.link.Present = true; });
  text(edtMetaAuthorName, [](M& m, S t) { m.author.name = t, m.author.Present = true; });
  // The writer leaves out an author not marked present, and with it what was typed for the
  // author's e-mail or link: those edits mark the author too.
  text(edtMetaAuthorEmailId, [](M& m, S t) { m.author.email.id = t, m.author.email.Present = m.author.Present = true; });
  text(edtMetaAuthorEmailDomain,
       [](M& m, S t) { m.author.email.domain = t, m.author.email.Present = m.author.Present = true; });
  text(edtMetaAuthorLinkURL, [](M& m, S t) { m.author.link.href = t, m.author.link.Present = m.author.Present = true; });
  text(edtMetaAuthorLinkText, [](M& m, S t) { m.author.link.text = t, m.author.link.Present = m.author.Present = true; });
  text(edtMetaAuthorLinkType, [](M& m, S t) { m.author.link.type = t, m.author.link.Present = m.author.Present = true; });
  text(edtMetaCopyrightAuthor, [](M& m, S t) { m.copyright.author = t, m.copyright.Present = true; });
  text(edtMetaCopyrightYear, [](M& m, S t) { m.copyright.year = parseIntOr(t, -1), m.copyright.Present = true; });
  text(edtMetaCopyrightLicense, [](M& m, S t) { m.copyright.license = t, m.copyright.Present = true; });
  auto guarded = [this](auto handler) { return [this, handler] { RunGuarded(this, [&] { handler(); }); }; };
  connect(btnOpenLink, &QToolButton::clicked, this, guarded([this] { btnOpenLinkClick(); }));
  connect(SpeedButton1, &QToolButton::clicked, this, guarded([this] { SpeedButton1Click(); }));
}

void TMetadataPropertiesForm::FormShow() {
  StartShowing();
  if (!metadata_) return;
  const TGPXmetadata& m = *metadata_;
  const QSignalBlocker blockers[] = {
      QSignalBlocker(edtMetaName),           QSignalBlocker(mMetaDesc),
      QSignalBlocker(mMetaKeywords),         QSignalBlocker(edtMetaLinkURL),
      QSignalBlocker(edtMetaLinkText),       QSignalBlocker(edtMetaLinkType),
      QSignalBlocker(edtMetaAuthorName),     QSignalBlocker(edtMetaAuthorEmailId),
      QSignalBlocker(edtMetaAuthorEmailDomain), QSignalBlocker(edtMetaAuthorLinkURL),
      QSignalBlocker(edtMetaAuthorLinkText), QSignalBlocker(edtMetaAuthorLinkType),
      QSignalBlocker(edtMetaCopyrightAuthor), QSignalBlocker(edtMetaCopyrightYear),
      QSignalBlocker(edtMetaCopyrightLicense), QSignalBlocker(mExtensions)};
  time_->Reset();
  ShowTime(false);
  edtMetaName->setText(qs(m.name));
  mMetaDesc->setPlainText(qs(m.desc));
  mMetaKeywords->setPlainText(qs(m.keywords));
  auto showLink = [](const TGPXLink& link, QLineEdit* url, QLineEdit* text, QLineEdit* type) {
    url->setText(link.Present ? qs(link.href) : QString());
    text->setText(link.Present ? qs(link.text) : QString());
    type->setText(link.Present ? qs(link.type) : QString());
  };
  showLink(m.link, edtMetaLinkURL, edtMetaLinkText, edtMetaLinkType);
  showLink(m.author.link, edtMetaAuthorLinkURL, edtMetaAuthorLinkText, edtMetaAuthorLinkType);
  pgMetaLink->setCurrentIndex(0);
  pgMetaAuthorLink->setCurrentIndex(0);
  edtMetaAuthorName->setText(qs(m.author.name));
  edtMetaAuthorEmailId->setText(qs(m.author.email.id));
  edtMetaAuthorEmailDomain->setText(qs(m.author.email.domain));
  edtMetaCopyrightAuthor->setText(qs(m.copyright.author));
  edtMetaCopyrightYear->setText(m.copyright.year > 0 ? qs(formatInt(m.copyright.year)) : QString());
  edtMetaCopyrightLicense->setText(qs(m.copyright.license));
  mExtensions->setPlainText(qs(m.extensions));
}

void TMetadataPropertiesForm::ShowTime(bool fromCheckBox) { time_->Show(fromCheckBox); }

void TMetadataPropertiesForm::cbDateClick() { time_->DateClick(); }

void TMetadataPropertiesForm::cbTimeClick() { time_->TimeClick(); }

void TMetadataPropertiesForm::dtpDateChange() { time_->DateChange(); }

void TMetadataPropertiesForm::dtpTimeChange() { time_->TimeChange(); }

void TMetadataPropertiesForm::btnOpenLinkClick() { openLinkText(edtMetaLinkURL->text(), OpenLink); }

void TMetadataPropertiesForm::SpeedButton1Click() { openLinkText(edtMetaAuthorLinkURL->text(), OpenLink); }

void TMetadataPropertiesForm::accept() {
  if (metadata_ && ExtensionsRefused(metadata_->extensions)) return;
  QDialog::accept();
}
