// The About box: the product name, the version (with a mark on debug runs) and the thanks.
#pragma once
#include <string>

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The acknowledgements, translated, lines joined by CR LF.
std::string AboutCommentsText();
// "Version <text>", with " ß" appended on a debug run.
std::string AboutVersionText(const std::string& version, bool beta);

class TAboutBox : public QDialog {
  Q_OBJECT
public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // Set by the caller before each showing.
  std::string VersionText;
  bool Beta = false;

  void FormShow();

protected:
  void showEvent(QShowEvent* event) override;

private:
  QLabel *ProductName = nullptr, *Version = nullptr;
  QPlainTextEdit* Comments = nullptr;
  QPushButton* OKButton = nullptr;
};
