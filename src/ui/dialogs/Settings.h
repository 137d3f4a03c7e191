// The settings dialog: edits copies of the four option objects (web map, preview drawing,
// statistics graph, general); the main window copies them in before and back after OK.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QColor>
#include <QDialog>

#include "model/GPX.h"
#include "views/DrawOptions.h"
#include "views/GMapOptions.h"
#include "views/StatOptions.h"

class QCheckBox;
class QColorDialog;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class TRadioGroup;

class TSettingsForm : public QDialog {
  Q_OBJECT
public:
  explicit TSettingsForm(QWidget* parent = nullptr);

  // The copies the controls edit.
  TGMapOptions GMapOptions;
  TDrawOptions DrawOptions;
  TStatOptions StatOptions;
  TGPXOptions GPXOptions;

  // The colour dialog run for one panel: the chosen colour, none on Cancel. Tests replace it.
  std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> AskColor;

  void lbSettingsClick();
  // Each page fills its controls from the copies when it is shown.
  void TabSheet1Show();
  void TabSheet3Show();
  void TabSheet2Show();
  void TabSheet4Show();
  void TabSheet5Show();
  void TabSheet6Show();
  void cbGPX_StyleClick();
  void edtFileHistoryChange();
  // Runs the colour dialog for a panel; the panel keeps its colour on Cancel.
  void PickColor(QPushButton* panel);

protected:
  void showEvent(QShowEvent* event) override;

private:
  void BuildControls();
  QWidget* BuildPreviewPage();
  QWidget* BuildEditionPage();
  QWidget* BuildMapPage();
  QWidget* BuildBottomPanePage();
  QWidget* BuildInternetPage();
  QWidget* BuildStatusBarPage();
  // The page at this index of PageControl1 fills its controls.
  void ShowPage(int index);
  // A check box bound to a flag of one of the copies, on the page being built.
  template <class T>
  QCheckBox* flagBox(QWidget* parent, const char* name, const std::string& caption, T* flag,
                     const std::string& hint = {});
  // A colour panel bound to a $00BBGGRR colour, or to a six-digit text colour.
  QPushButton* colorPanel(QWidget* parent, const char* name, const std::string& caption,
                          uint32_t* color);
  QPushButton* colorPanel(QWidget* parent, const char* name, const std::string& caption,
                          std::string* hexColor);
  // A group of radio buttons bound to an index field.
  template <class T>
  TRadioGroup* radioGroup(QWidget* parent, const char* name, const std::string& caption,
                          const std::vector<std::string>& items, T* field);
  QLineEdit* textEdit(QWidget* parent, const char* name, std::string* field);

  // What each page does when shown, in PageControl1's order; filled while it is built.
  std::array<std::vector<std::function<void()>>, 6> fill_;
  std::vector<std::function<void()>>* building_ = nullptr;

  QListWidget* lbSettings = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QColorDialog* CDialog = nullptr;
  QCheckBox *cbGPX_Style = nullptr, *cbGPXDrawLineStyle = nullptr, *cbGMapLineStyle = nullptr;
  QLineEdit* edtFileHistory = nullptr;
  QPushButton *btnOK = nullptr, *btnCancel = nullptr;
};
