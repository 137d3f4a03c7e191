// A widget that shows a drawing view's canvas as it is, pixel for pixel, and keeps the
// canvas the size of the widget.
#pragma once
#include <functional>

#include <QWidget>

#include "views/Canvas.h"

class TImageView : public QWidget {
public:
  explicit TImageView(QWidget* parent = nullptr);
  ::Canvas& canvas() { return canvas_; }
  // Called after the canvas took the widget's new size.
  std::function<void()> OnResize;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  ::Canvas canvas_;
};
