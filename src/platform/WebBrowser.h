// The embedded web browser as the main window sees it: load a local page, run a script
// statement in it, hear the page's status texts and its loading progress, take a picture.
// The real one runs Qt WebEngine (WebEngineBrowser.h); tests put a fake page in its place.
#pragma once
#include <functional>
#include <memory>

#include <QImage>
#include <QString>
#include <QWidget>

class TWebBrowser : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  // Loads a page file; navigation elsewhere stays refused.
  virtual void Navigate(const QString& fileName) = 0;
  // Runs one script statement in the loaded page, without waiting for its result.
  virtual void RunScript(const QString& statement) = 0;
  // Script text run in every page the browser loads, before the page's own scripts: how
  // the host hands settings to the page's script library.
  virtual void SetStartScript(const QString& source) {}
  // What the view shows right now.
  virtual QImage Snapshot() { return grab().toImage(); }

signals:
  // Every assignment the page makes to window.status, in order, repeats included.
  void StatusTextChange(const QString& text);
  void ProgressChange(int progress, int progressMax);
  void DownloadComplete();
};

// Builds the browser of the map tab; tests replace it with a fake page.
using WebBrowserFactory = std::function<TWebBrowser*(QWidget* parent)>;
WebBrowserFactory& webBrowserFactory();
