// The metadata properties dialog: the document's GPX metadata (name, description, author,
// copyright, link, time, keywords, extensions), edited in a copy that the main window hands
// in and puts in place on OK. Each edit marks the part it touches present, so it is written.
#pragma once
#include <memory>

#include "ui/dialogs/PropertyDialog.h"
#include "ui/dialogs/PropertyParts.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TGPX;
class TGPXmetadata;

class TMetadataPropertiesForm : public TPropertyDialog {
  Q_OBJECT
public:
  explicit TMetadataPropertiesForm(QWidget* parent = nullptr);
  ~TMetadataPropertiesForm() override;

  // The metadata edited, owned by the caller; set before each showing.
  void SetMetadata(TGPXmetadata* metadata);
  TGPXmetadata* Metadata() const { return metadata_; }
  LinkOpener OpenLink;

  void FormShow() override;
  // `fromCheckBox`: the check boxes keep the state the user gave them.
  void ShowTime(bool fromCheckBox);
  void cbDateClick();
  void cbTimeClick();
  void dtpDateChange();
  void dtpTimeChange();
  void btnOpenLinkClick();
  void SpeedButton1Click();
  // OK: refused while extension text typed here is not sound XML.
  void accept() override;

private:
  void BuildControls();

  TGPXmetadata* metadata_ = nullptr;
  std::unique_ptr<TTimeControls> time_;
  QTabWidget *pgMetaLink = nullptr, *pgMetaAuthorLink = nullptr;
  QLineEdit *edtMetaName = nullptr, *edtMetaLinkURL = nullptr, *edtMetaLinkText = nullptr,
            *edtMetaLinkType = nullptr, *edtMetaAuthorName = nullptr, *edtMetaAuthorEmailId = nullptr,
            *edtMetaAuthorEmailDomain = nullptr, *edtMetaAuthorLinkURL = nullptr,
            *edtMetaAuthorLinkText = nullptr, *edtMetaAuthorLinkType = nullptr,
            *edtMetaCopyrightAuthor = nullptr, *edtMetaCopyrightYear = nullptr,
            *edtMetaCopyrightLicense = nullptr;
  QPlainTextEdit *mMetaDesc = nullptr, *mMetaKeywords = nullptr;
  QLabel* lblTime = nullptr;
  QToolButton *btnOpenLink = nullptr, *SpeedButton1 = nullptr;
};
