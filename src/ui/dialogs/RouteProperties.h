// The route properties dialog and, built on it with two more buttons, the track properties
// dialog: the GPX fields, the visibility and the line style of one route or track, edited in
// a copy that the main window hands in and puts in place on OK.
#pragma once
#include <cstdint>
#include <functional>

#include "ui/dialogs/PropertyDialog.h"
#include "ui/dialogs/PropertyParts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QToolButton;
class TGPX;
class TGPXrte;
class TGPXtrk;

class TRoutePropertiesForm : public TPropertyDialog {
  Q_OBJECT
public:
  explicit TRoutePropertiesForm(QWidget* parent = nullptr) : TRoutePropertiesForm(parent, false) {}

  // The colour shown when the item's style has none; "Reset to default color" gives it.
  uint32_t DefaultColor = 0;
  // Replaceable by tests.
  ColorAsker AskColor;
  LinkOpener OpenLink;

  // The route edited, owned by the caller; set before each showing.
  void SetRoute(TGPXrte* route) { route_ = route; }
  TGPXrte* Route() const { return route_; }

  void FormShow() override;
  void btnOpenLinkClick();
  // The colour panel: the colour dialog, then the style takes the panel's colour.
  void ColorClick();
  void Button3Click();
  void tbOpacityChange(int position);
  void cbEnabledClick(bool checked);
  // OK: refused while extension text typed here is not sound XML.
  void accept() override;

protected:
  TRoutePropertiesForm(QWidget* parent, bool track);
  // Runs `f` on the item, whichever kind it is; nothing without one.
  template <class F>
  void EditItem(F&& f);

  TGPXrte* route_ = nullptr;
  TGPXtrk* track_ = nullptr;
  QPlainTextEdit* mRouteComment = nullptr;
  QWidget* TabSheetBasic = nullptr;

private:
  void BuildControls(bool track);
  void ShowPanelColor();
  void ShowOpacity(int position);

  uint32_t panelColor_ = 0;
  QLineEdit *edtRouteName = nullptr, *edtRouteNumber = nullptr, *edtRoutetype = nullptr,
            *edtRouteLinkURL = nullptr, *edtRouteLinkText = nullptr, *edtRouteLinkType = nullptr;
  QPlainTextEdit *mRouteDesc = nullptr, *mRouteSrc = nullptr;
  QLabel* lblOpacityValue = nullptr;
  QToolButton* btnOpenLink = nullptr;
  QPushButton *pLineColor = nullptr, *Button3 = nullptr;
  QSlider* tbOpacity = nullptr;
  QCheckBox* cbEnabled = nullptr;
};
