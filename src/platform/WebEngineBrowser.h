// The embedded browser over Qt WebEngine. The page reports through window.status: a script
// injected at document creation turns each assignment into a console message with a
// private prefix, which the page object catches and hands on. Only the page the host
// loads is shown: navigation away, new windows and dropped files are refused; links
// aimed at "_blank" open in the desktop's browser.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QUrl>

#include "platform/WebBrowser.h"

class QWebEngineView;

// What the start-up sets up for the browser, decided from the user and the environment.
struct WebEngineStartUp {
  // Environment variables to set: the ones the environment leaves unset or empty.
  std::vector<std::pair<std::string, std::string>> Variables;
  // The sandbox goes off because the editor runs as root (Chromium ends the whole process
  // rather than start its sandbox as root), and not because the environment asked.
  bool SandboxOffAsRoot = false;
};
// `userId` 0 is root; `environment` looks a variable up (null when unset). `headless`
// (tests, benchmarks) also runs the browser offscreen, without a GPU and without Chromium's
// sandbox, unless the environment says otherwise.
WebEngineStartUp webEngineStartUp(bool headless, unsigned userId,
                                  const std::function<const char*(const char*)>& environment);
// Applies that decision for this process before the application object exists (the browser
// also shares drawing contexts with the window), and returns it.
WebEngineStartUp prepareWebEngine(bool headless);
class TWebEnginePage;

// A link address the desktop's programs may open: http, https, ftp or mailto.
bool opensOutside(const QUrl& url);

class TWebEngineBrowser : public TWebBrowser {
  Q_OBJECT
public:
  explicit TWebEngineBrowser(QWidget* parent = nullptr);
  ~TWebEngineBrowser() override;

  void Navigate(const QString& fileName) override;
  void RunScript(const QString& statement) override;
  void SetStartScript(const QString& source) override;
  QImage Snapshot() override;

  QWebEngineView* View() const { return view_; }
  // Opens a link in the desktop's browser; tests replace it.
  std::function<void(const QUrl&)> OpenExternal;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  friend class TWebEnginePage;
  void PageMessage(const QString& message);
  void InstallScripts();

  QWebEngineView* view_ = nullptr;
  TWebEnginePage* page_ = nullptr;
  QString startScript_;
  QString statusPrefix_;  // unguessable per browser: the page cannot fake a link request
  QString linkPrefix_;
};
