// A main window over a small document, shown offscreen with its preview fitted, for the
// tests of the tools, the editing commands and the tree's drag and drop.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "platform/AppPaths.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"

class EditFixture : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("corvantel_edit_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    AppPaths::setProgramFolder(dir_.string());
    TMainFormHooks hooks;
    hooks.Now = [] { return 45000.5; };
    hooks.Proxy = std::make_shared<ProxyStore>(ProxyRegistryValues{true, 0, ""});
    hooks.AskYesNoCancel = [](QWidget*, const QString&, const QString&) { return TQuestionAnswer::No; };
    errorBoxFunction() = [this](QWidget*, const QString& m) { errors_.push_back(m.toStdString()); };
    form_ = std::make_unique<TMainForm>(std::vector<std::string>{}, hooks);
    form_->AskYesNo = [this](QWidget*, const QString& text) {
      questions_.push_back(text.toStdString());
      return answerYes_;
    };
    form_->resize(900, 650);
    form_->show();
    QApplication::processEvents();
    image_ = form_->findChild<TImageView*>("GPXImage");
    gpx_ = form_->CurrentGPX.get();
  }

  void TearDown() override {
    form_.reset();
    AppPaths::setProgramFolder("");
    std::filesystem::remove_all(dir_);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
  }

  static TGPXwpt* addPoint(TGPXwptList& list, double lat, double lon, double ele = 0,
                           double time = 0, const std::string& name = {}) {
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = lat;
    p->Lon = lon;
    p->Ele = ele;
    p->Time = time;
    if (!name.empty()) p->edit().name = name;
    return list.AddPoint(std::move(p));
  }
  // n points eastwards from (lat, lon), 0.01 degree apart.
  static void addLine(TGPXwptList& list, double lat, double lon, int n) {
    for (int i = 0; i < n; ++i) addPoint(list, lat, lon + 0.01 * i);
  }
  TGPXrte* addRoute(const std::string& name, double lat, int n) {
    auto* r = gpx_->Routes.Add(std::make_unique<TGPXrte>());
    r->name = name;
    addLine(*r, lat, 5.0, n);
    gpx_->Routes.Present = true;
    return r;
  }
  TGPXtrk* addTrack(const std::string& name) {
    auto* t = gpx_->Tracks.Add(std::make_unique<TGPXtrk>());
    t->name = name;
    gpx_->Tracks.Present = true;
    return t;
  }
  TGPXtrkseg* addSegment(TGPXtrk* t, double lat, int n) {
    auto* s = t->Add(std::make_unique<TGPXtrkseg>());
    addLine(*s, lat, 5.0, n);
    return s;
  }

  // Shows the document as a read file does: preview fitted and drawn, commands updated.
  void load() {
    form_->GPXLoaded = true;
    TGPXDraw& v = *form_->PreviewDraw;
    v.SetGPX(gpx_);
    v.Canvas = &image_->canvas();
    v.SetSize(image_->width(), image_->height());
    v.FitAll(true, true);
    v.Draw();
    form_->RefreshTree();
    form_->UpdateCommands(true);
    form_->findChild<QPlainTextEdit*>("mLog")->clear();
  }
  void select(std::initializer_list<TItem*> items) {
    gpx_->Selection.Clear();
    for (TItem* i : items) gpx_->Selection.Add(i);
    form_->UpdateCommands(true);
  }

  QPoint at(const TPoint4D2& p) const {
    return {form_->PreviewDraw->PointToX(p), form_->PreviewDraw->PointToY(p)};
  }
  void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(pos), QPointF(image_->mapToGlobal(pos)), button, buttons, mods);
    QApplication::sendEvent(image_, &e);
  }
  void hover(QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    mouse(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton, mods);
  }
  void click(QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier,
             Qt::MouseButton button = Qt::LeftButton) {
    mouse(QEvent::MouseButtonPress, pos, button, button, mods);
    mouse(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, mods);
  }
  void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
    mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton, mods);
    mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, mods);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, mods);
  }

  QAction* action(const char* name) const {
    auto* a = form_->findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  uint8_t mode() const { return form_->PreviewDraw->ToolMode; }
  std::vector<std::string> logLines() const {
    std::vector<std::string> lines;
    const QString text = form_->findChild<QPlainTextEdit*>("mLog")->toPlainText();
    if (text.isEmpty()) return lines;
    for (const QString& l : text.split('\n')) lines.push_back(l.toStdString());
    return lines;
  }

  std::filesystem::path dir_;
  std::unique_ptr<TMainForm> form_;
  TImageView* image_ = nullptr;
  TGPX* gpx_ = nullptr;
  bool answerYes_ = true;
  std::vector<std::string> questions_, errors_;
};
