// The track editing dialog: thins and trims the points of one track segment, with the
// source and the filtered result side by side, and hands the result back on OK.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

#include "model/GPX.h"
#include "views/GPXDraw.h"

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class TImageView;

// Which precision and time data the points carry: what the filters can work on.
struct TFilterAvailability {
  bool Fix = false;    // some point has a fix text
  bool Sat = false;    // some point has a satellite count
  bool HDOP = false;   // some point has a horizontal dilution
  bool Times = true;   // every point has a time (true for no points)
};
TFilterAvailability ScanFilterAvailability(const TPointList2& points);

// Cuts the ends of a list given as limits in its own indices: the points from `after` to the
// end go first, then, when before > 0, the first before + 1 of what is left. Cutting the end
// first keeps both limits on the points that were chosen.
void TrimPoints(TPointList2& list, int before, int after);

// "120 points filtered to 45 points."
std::string PointCountText(int source, int result);

class TTrackEditForm : public QDialog {
  Q_OBJECT
public:
  explicit TTrackEditForm(QWidget* parent = nullptr);
  ~TTrackEditForm() override;

  // The caller's two copies of the segment; the dialog holds them until ClearSegments.
  void SetSegments(std::unique_ptr<TGPXtrkseg> source, std::unique_ptr<TGPXtrkseg> result);
  void ClearSegments();
  // Held by the two views' documents; read ResultSegment after OK.
  TGPXtrkseg* SourceSegment = nullptr;
  TGPXtrkseg* ResultSegment = nullptr;
  std::unique_ptr<TGPXDraw> SourceDraw, ResultDraw;
  uint8_t MouseOverResult = 0;
  uint8_t SelectBefore = 1;  // which limit the pick sets: 1 before, 0 after

  // Both previews drawn, availability, and the active page's own showing.
  void FormShow();
  void ResetResult();
  void AcceptResult();
  void UpdateFilterAvailability();
  void UpdateCountLabel();
  void ApplyPrecisionFilter();
  void TabSheet2Show();
  void ApplyTrim();
  void SelectClick(bool before);
  void rgDouglasPeuckerClick();
  void tbScatterSpeedChange();
  void ApplyAngleFilter();
  void btnApplyClick();
  void btnLimitDPThresholdClick();
  void DrawThresholdSearch(int lower, int upper, int current);

  // The result preview's mouse, in DstImage's pixels.
  void DstImageMouseDown(Qt::MouseButton button, int X, int Y);
  void DstImageMouseMove(Qt::MouseButtons buttons, int X, int Y);
  void DstImageMouseUp(Qt::MouseButton button, int X, int Y);
  void DstImageDblClick();
  // True when the turn zoomed the result preview.
  bool DstImageMouseWheel(int delta, const QPoint& at);

  void reject() override;  // Escape and Cancel: result 2

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildWidgets();
  QWidget* BuildPrecisionPage();
  QWidget* BuildEndingPage();
  QWidget* BuildReductionPage();
  QWidget* BuildScatterPage();
  QWidget* BuildAnglePage();
  // Puts a segment into a view's only track, fits the view and draws it.
  void ShowInView(TGPXDraw& view, TImageView* image, TGPXtrkseg* segment);
  void DrawResult();
  void PageChanged();
  bool PageActive(QWidget* page) const;
  // Runs the chosen Douglas-Peucker method on the result.
  void RunDouglasPeucker(int threshold);
  void SetLimitLabel(QLabel* label, const TPoint4D2* point, bool candidate);

  std::unique_ptr<TGPX> sourceDoc_, resultDoc_;
  bool resultChanged_ = true;  // the result differs from a plain copy of the source

  TImageView* SrcImage = nullptr;
  QWidget* DstPanel = nullptr;
  TImageView* DstImage = nullptr;
  QLabel* lblPointCount = nullptr;
  QPushButton *Button1 = nullptr, *Button2 = nullptr, *btnApply = nullptr;
  QTabWidget* pcFilter = nullptr;
  QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr,
          *TabSheet4 = nullptr, *TabSheet5 = nullptr;
  QCheckBox *cbFix = nullptr, *cbSat = nullptr, *cbHDOP = nullptr;
  QGroupBox *rgFix = nullptr, *rgSat = nullptr, *rgHDOP = nullptr, *rgDouglasPeucker = nullptr;
  QButtonGroup *fixGroup_ = nullptr, *satGroup_ = nullptr, *hdopGroup_ = nullptr,
               *methodGroup_ = nullptr;
  QSpinBox* udSat = nullptr;
  QDoubleSpinBox* udHDOP = nullptr;
  QSlider *tbBefore = nullptr, *tbAfter = nullptr, *tbThreshold = nullptr,
          *tbMultiplier = nullptr, *tbScatterSpeed = nullptr, *tbAngleLess = nullptr;
  QSpinBox *udBefore = nullptr, *udAfter = nullptr, *udAngleLess = nullptr;
  QPushButton *btnSelectBefore = nullptr, *btnSelectAfter = nullptr,
              *btnLimitDPThreshold = nullptr;
  QLabel *lblBefore = nullptr, *lblAfter = nullptr, *lblValue = nullptr;
};
