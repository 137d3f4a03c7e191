// A main window in a temporary program folder, with its dialogs, prompts and beep answered
// by the test, and small GPX documents written for it.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "base/DateTime.h"
#include "platform/AppPaths.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"

namespace fs = std::filesystem;

class WindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvantel_win_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    AppPaths::setProgramFolder(dir_.string());
    hooks_.Now = [] { return encodeDateTime(2024, 3, 17, 14, 3, 59); };
    hooks_.Proxy = std::make_shared<ProxyStore>(ProxyRegistryValues{true, 0, ""});
    hooks_.AskYesNoCancel = [this](QWidget*, const QString&, const QString&) { return answer_; };
    hooks_.AskFileNames = [this](QWidget*, const TFileDialogRequest& request) {
      requests_.push_back(request);
      if (answers_.empty()) return std::vector<std::string>{};
      auto names = answers_.front();
      answers_.pop_front();
      return names;
    };
    hooks_.Beep = [this] { ++beeps_; };
    errorBoxFunction() = [this](QWidget*, const QString& m) { errors_.push_back(m.toStdString()); };
  }
  void TearDown() override {
    form_.reset();
    AppPaths::setProgramFolder("");
    fs::remove_all(dir_);
  }

  TMainForm& form(const std::vector<std::string>& arguments = {}) {
    form_ = std::make_unique<TMainForm>(arguments, hooks_);
    form_->resize(800, 600);
    return *form_;
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string write(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
    return path(name);
  }
  std::string copyData(const std::string& from, const std::string& to) const {
    fs::copy_file(fs::path(CORVANTEL_TEST_DATA) / from, dir_ / to, fs::copy_options::overwrite_existing);
    return path(to);
  }
  // A GPX file with one track "name" of one segment of `points` points along a meridian.
  std::string writeTrack(const std::string& file, const std::string& name, int points = 2) const {
    std::string text = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"t\" "
                       "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>" + name + "</name><trkseg>";
    for (int i = 0; i < points; ++i)
      text += "<trkpt lat=\"" + std::to_string(45 + i * 0.01) + "\" lon=\"5\"/>";
    return write(file, text + "</trkseg></trk></gpx>\n");
  }

  QTreeWidget* tree() { return form_->findChild<QTreeWidget*>("tvItems"); }
  QAction* action(const char* name) { return form_->findChild<QAction*>(name); }
  QString panel(int i) { return form_->findChild<QLabel*>(QString("StatusPanel%1").arg(i))->text(); }
  std::vector<std::string> log() {
    std::vector<std::string> lines;
    const QString text = form_->findChild<QPlainTextEdit*>("mLog")->toPlainText();
    if (text.isEmpty()) return lines;
    for (const QString& l : text.split('\n')) lines.push_back(l.toStdString());
    return lines;
  }
  std::string lastLog() { return log().empty() ? std::string() : log().back(); }
  // Every node caption in the tree's order, children indented by two blanks a level.
  std::vector<std::string> captions() {
    std::vector<std::string> out;
    for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
      int depth = 0;
      for (auto* p = (*it)->parent(); p; p = p->parent()) ++depth;
      out.push_back(std::string(2 * depth, ' ') + (*it)->text(0).toStdString());
    }
    return out;
  }
  QTreeWidgetItem* node(const std::string& caption) {
    for (QTreeWidgetItemIterator it(tree()); *it; ++it)
      if ((*it)->text(0).toStdString() == caption) return *it;
    ADD_FAILURE() << "no node " << caption;
    return nullptr;
  }
  // Makes the node current as a click does, which runs the selection change.
  void select(const std::string& caption) {
    QTreeWidgetItem* n = node(caption);
    if (n) tree()->setCurrentItem(n);
  }
  std::string title() { return form_->windowTitle().toStdString(); }

  fs::path dir_;
  TMainFormHooks hooks_;
  std::unique_ptr<TMainForm> form_;
  std::deque<std::vector<std::string>> answers_;
  std::vector<TFileDialogRequest> requests_;
  TQuestionAnswer answer_ = TQuestionAnswer::No;
  int beeps_ = 0;
  std::vector<std::string> errors_;
};
