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

  bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QTest::qWait(10);
    return done();
  }
  // The value of a script expression in the page.
  QVariant eval(const std::string& expression) {
    QVariant result;
    bool done = false;
    browser_->View()->page()->runJavaScript(QString::fromStdString(expression), [&](const QVariant& v) {
      result = v;
      done = true;
    });
    waitFor([&] { return done; }, 3000);
    return result;
  }

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

  // The view draws and takes input through a child widget.
  QWidget* input() { return browser_->View()->focusProxy(); }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, input()->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(input(), &e);
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
  void drag(QPoint from, QPoint to) {
    mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    QTest::qWait(30);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= 10; ++i) {
      QTest::qWait(20);
      mouse(QEvent::MouseMove, from + (to - from) * i / 10, Qt::NoButton, Qt::LeftButton);
    }
    // The page moves what is dragged on its next animation frame, which comes late on a busy
    // machine: the last position is given a few frames before the release.
    for (int i = 0; i < 5; ++i) {
      QTest::qWait(60);
      mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    }
    QTest::qWait(60);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }

  std::filesystem::path dir_;
  std::unique_ptr<TWebEngineBrowser> browser_;
  std::vector<std::string> texts_;
  std::vector<QUrl> opened_;
};
