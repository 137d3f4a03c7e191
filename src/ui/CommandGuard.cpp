// Exception guard, busy cursor and the guarded application object.
#include "ui/CommandGuard.h"

#include <exception>

#include <QMessageBox>
#include <QWidget>

#include "base/Translate.h"

namespace {

void showErrorBox(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, "Corvantel", message);
}

QString messageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QString::fromStdString(_("Unknown error"));
  }
}

void restoreAfterFailure(QWidget* window, bool wasEnabled) {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  if (window) window->setEnabled(wasEnabled);
}

}  // namespace

ErrorBoxFunction& errorBoxFunction() {
  static ErrorBoxFunction box = showErrorBox;
  return box;
}

bool RunGuarded(QWidget* window, const std::function<void()>& command) {
  const bool wasEnabled = window ? window->isEnabled() : true;
  std::exception_ptr error;
  try {
    command();
    return true;
  } catch (...) {
    error = std::current_exception();
  }
  restoreAfterFailure(window, wasEnabled);
  errorBoxFunction()(window, messageOf(error));
  return false;
}

TBusyCursor::TBusyCursor(QWidget* window)
    : window_(window), wasEnabled_(window ? window->isEnabled() : true) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (window_) window_->setEnabled(false);
}

TBusyCursor::~TBusyCursor() {
  if (window_) window_->setEnabled(wasEnabled_);
  QApplication::restoreOverrideCursor();
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  QWidget* window = activeWindow();
  RunGuarded(window, [&] { result = QApplication::notify(receiver, event); });
  return result;
}
