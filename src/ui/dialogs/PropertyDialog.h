// The frame the property dialogs share: their pages, the extension text that is checked
// before OK, the Cancel-by-default button row, and the filling at each showing.
#pragma once
#include <functional>
#include <string>

#include <QDialog>

class QBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TGPX;

class TPropertyDialog : public QDialog {
  Q_OBJECT
public:
  // The document the item belongs to: the prefixes its gpx element declares may be used in
  // extension text.
  const TGPX* Document = nullptr;
  // Fills every control from the item without writing into it.
  virtual void FormShow() = 0;

protected:
  explicit TPropertyDialog(QWidget* parent);
  void showEvent(QShowEvent* event) override;
  QWidget* AddPage(const char* name, const std::string& caption);
  // The page of extension text: a memo without wrapping and, below it, the error label.
  // Each change of the memo is handed to `write`.
  void BuildExtensionsPage(std::function<void(const std::string&)> write);
  // The bottom row: `left` (may be null), then OK and Cancel.
  QBoxLayout* BuildButtonRow(QWidget* left);
  // At each showing: the first page in front, Cancel focused, no error of an earlier showing.
  void StartShowing();
  // Before OK: true (OK must wait) when extension text typed in this showing is not sound;
  // the error shows under the memo.
  bool ExtensionsRefused(const std::string& text);

  QTabWidget* PageControl1 = nullptr;
  QPlainTextEdit* mExtensions = nullptr;
  QLabel* lblExtensionsError = nullptr;
  QPushButton *btnOK = nullptr, *btnCancel = nullptr;

private:
  bool extensionsTyped_ = false;
};

