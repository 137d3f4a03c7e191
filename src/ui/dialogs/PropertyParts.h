// Pieces the property dialogs share: the link button's address check, the colour dialog and
// the link opener that tests replace, the check of typed extension text, and the time
// controls (a date and a time of day, each with its check box).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QColor>
#include <QString>

class QBoxLayout;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QTimeEdit;
class QUrl;
class QWidget;
class TGPX;

// Opens an address on the desktop.
using LinkOpener = std::function<void(const QUrl&)>;
LinkOpener desktopLinkOpener();
// Hands `href` (trimmed) to `open` when it is longer than 4 characters and a web, file
// transfer or mail address: never a local program or file.
void openLinkText(const QString& href, const LinkOpener& open);

// The colour dialog preset to a colour ($00BBGGRR); the chosen colour, none on Cancel.
using ColorAsker = std::function<std::optional<uint32_t>(QWidget* parent, uint32_t initial)>;
ColorAsker qtColorAsker();
QColor colorFromBGR(uint32_t color);
uint32_t colorToBGR(const QColor& color);

// The problem with extension text typed into a dialog, in the scope of the document it will
// be saved in (none: a document's defaults); empty when it can be written as it stands.
std::string ExtensionTextError(const std::string& text, const TGPX* document);

// A memo of `lines` lines at least, where TAB moves on to the next control.
QPlainTextEdit* NewMemo(const char* name, int lines);

// A date-time edited in two parts: a date, and a time of day that needs the date. The
// pickers remember the last values shown, so unchecking and checking again restores them.
// Builds its five controls (lblTime, cbDate, dtpDate, cbTime, dtpTime) as children of
// `owner` and runs its handlers on their changes.
class TTimeControls {
public:
  explicit TTimeControls(QWidget* owner);
  // The date-time edited, owned by the dialog's item; 0 means none.
  double* Value = nullptr;
  QLabel* Label;
  QCheckBox *Date, *Time;
  QDateEdit* DatePicker;
  QTimeEdit* TimePicker;
  // The two check boxes and pickers in a row.
  QBoxLayout* PickerRow() const;
  // Before filling: nothing of an earlier showing stays; the pickers start at today.
  void Reset();
  // `fromCheckBox`: the check boxes keep the state the user gave them.
  void Show(bool fromCheckBox);
  void DateClick();
  void TimeClick();
  void DateChange();
  void TimeChange();

private:
  double dateValue_ = 0, timeValue_ = 0;
};
