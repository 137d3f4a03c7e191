// A browser that loads nothing: it records the statements run in its page and shows a
// picture the test gives. Installed as the map tab's browser for one test's life.
#pragma once
#include <string>
#include <vector>

#include <QImage>

#include "platform/WebBrowser.h"

class TFakeBrowser : public TWebBrowser {
public:
  using TWebBrowser::TWebBrowser;
  void Navigate(const QString&) override {}
  void RunScript(const QString& statement) override { Scripts.push_back(statement.toStdString()); }
  QImage Snapshot() override { return Picture; }
  std::vector<std::string> Scripts;
  QImage Picture;
};

// Puts fake browsers in place of the real one until it goes; `made` is the last one built.
struct FakeBrowserScope {
  TFakeBrowser* made = nullptr;
  WebBrowserFactory saved = webBrowserFactory();
  FakeBrowserScope() {
    webBrowserFactory() = [this](QWidget* parent) { return made = new TFakeBrowser(parent); };
  }
  ~FakeBrowserScope() { webBrowserFactory() = saved; }
};
