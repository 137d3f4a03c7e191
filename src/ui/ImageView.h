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
  // The mouse over the image; the owner acts on it.
  std::function<void(QMouseEvent*)> OnMouseDown, OnMouseMove, OnMouseUp, OnDblClick;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  ::Canvas canvas_;
};
