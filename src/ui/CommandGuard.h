// The one guard every command runs in: no exception crosses the event loop. An exception
// becomes an error box titled "Corvantel" with its message; the busy cursor and the window's
// enabled state are restored.
#pragma once
#include <functional>

#include <QApplication>
#include <QString>

class QWidget;

// Shows the error box; tests replace it.
using ErrorBoxFunction = std::function<void(QWidget* parent, const QString& message)>;
ErrorBoxFunction& errorBoxFunction();

// Runs `command`; false when it threw.
bool RunGuarded(QWidget* window, const std::function<void()>& command);

// The hourglass and a disabled window while a long command runs, undone on every exit.
class TBusyCursor {
public:
  explicit TBusyCursor(QWidget* window);
  ~TBusyCursor();
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
  QWidget* window_;
  bool wasEnabled_;
};

// The application object: events whose handlers throw end in the same error box.
class TApplication : public QApplication {
public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
