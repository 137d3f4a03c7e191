// A real browser showing a map page in a temporary folder, what the page reported, and
// mouse input as a user gives it.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "base/NumberText.h"
#include "platform/WebEngineBrowser.h"
#include "views/GPXToGmap.h"

struct TMapPositionText {
  double lat = 0, lon = 0;
};

// The build tree's map script as the page's provider address.
inline std::string providerAddress() { return QUrl::fromLocalFile(CORVANTEL_WEB_DIR).toString().toStdString(); }

inline bool waitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QTest::qWait(10);
  return done();
}

// The value of a script expression in the page.
inline QVariant evalIn(QWebEngineView* view, const std::string& expression) {
  QVariant result;
  bool done = false;
  view->page()->runJavaScript(QString::fromStdString(expression), [&](const QVariant& v) {
    result = v;
    done = true;
  });
  waitFor([&] { return done; }, 3000);
  return result;
}

// Mouse input as a user gives it, to the child widget through which the view takes it.
inline void mouseOn(QWebEngineView* view, QEvent::Type type, QPoint at, Qt::MouseButton button,
                    Qt::MouseButtons buttons) {
  QWidget* input = view->focusProxy();
  QMouseEvent e(type, at, input->mapToGlobal(at), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(input, &e);
}
// Presses at `from`, moves through `via` and lets go at `to` straight after the last move,
// as a quick hand does.
inline void dragOn(QWebEngineView* view, QPoint from, const std::vector<QPoint>& via, QPoint to) {
  mouseOn(view, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
  QTest::qWait(30);
  mouseOn(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  for (QPoint p : via) {
    QTest::qWait(20);
    mouseOn(view, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
  }
  mouseOn(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

class MapPageBrowser : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("corvantel_webmap_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    browser_ = std::make_unique<TWebEngineBrowser>();
    browser_->resize(640, 480);
    // No tile addresses: the tests never reach the network.
    browser_->SetStartScript("window.CorvantelMapConfig = {};");
    browser_->OpenExternal = [this](const QUrl& url) { opened_.push_back(url); };
    QObject::connect(browser_.get(), &TWebBrowser::StatusTextChange,
                     [this](const QString& text) { texts_.push_back(text.toStdString()); });
    browser_->show();
  }
  void TearDown() override {
    browser_.reset();
    std::filesystem::remove_all(dir_);
  }

  // The page of a track of three points and two waypoints, the first with a link.
  static std::string samplePage(const TGMapOptions& options = {}) {
    TGPX doc;
    auto* track = doc.Tracks.Add(std::make_unique<TGPXtrk>());
    auto* segment = track->Add(std::make_unique<TGPXtrkseg>());
    for (auto [lat, lon] : {std::pair{45.0, 5.0}, {45.01, 5.02}, {45.02, 5.0}}) {
      auto p = std::make_unique<TGPXwpt>();
      p->Lat = lat, p->Lon = lon;
      segment->AddPoint(std::move(p));
    }
    doc.Tracks.Present = true;
    for (auto [name, at] : {std::pair{"Start", 45.005}, {"End", 45.015}}) {
      auto w = std::make_unique<TGPXwpt>();
      w->Lat = at, w->Lon = at - 40;
      w->edit().name = name;
      doc.Waypoints.AddPoint(std::move(w));
    }
    TGPXLink& link = doc.Waypoints.GetPoint(0)->edit().link;
    link.Present = true;
    link.href = "https://example.org/";
    doc.Waypoints.Present = true;
    return pageOf(doc, options);
  }
  static std::string pageOf(TGPX& doc, const TGMapOptions& options = {}) {
    TGMap map;
    map.Options = options;
    map.GPX = &doc;
    map.Config.ScriptProvider = map.Config.MarkerServer = map.Config.SmallMarkerServer = providerAddress();
    return map.GetPageHTML();
  }
  void load(const std::string& page) {
    const std::string file = (dir_ / "GoogleMaps.htm").string();
    std::ofstream(file, std::ios::binary) << page;
    browser_->Navigate(QString::fromStdString(file));
  }

  QVariant eval(const std::string& expression) { return evalIn(browser_->View(), expression); }

  bool contains(const std::string& prefix) const { return count(prefix) > 0; }
  int count(const std::string& prefix) const {
    int n = 0;
    for (const auto& t : texts_) n += t.rfind(prefix, 0) == 0;
    return n;
  }
  std::string find(const std::string& prefix) const {
    for (const auto& t : texts_)
      if (t.rfind(prefix, 0) == 0) return t;
    return {};
  }
  std::string joined() const {
    std::string all;
    for (const auto& t : texts_) all += "[" + t + "] ";
    return all;
  }
  // "Click 45.1, 5.2" -> its two numbers.
  static TMapPositionText positionOf(const std::string& text) {
    TMapPositionText p;
    const std::string rest = text.substr(text.find(' ') + 1);
    const size_t comma = rest.find(',');
    EXPECT_TRUE(parseFloatStrict(rest.substr(0, comma), p.lat)) << text;
    EXPECT_TRUE(parseFloatStrict(rest.substr(comma + 1), p.lon)) << text;
    return p;
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    mouseOn(browser_->View(), type, at, button, buttons);
  }
  void click(QPoint at) {
    mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QTest::qWait(30);
    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    QTest::qWait(30);
    mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    // Further than a double click apart.
    QTest::qWait(600);
  }

  std::filesystem::path dir_;
  std::unique_ptr<TWebEngineBrowser> browser_;
  std::vector<std::string> texts_;
  std::vector<QUrl> opened_;
};
