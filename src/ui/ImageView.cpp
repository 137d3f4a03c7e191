// The canvas widget.
#include "ui/ImageView.h"

#include <QMouseEvent>
#include <QPainter>

TImageView::TImageView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // the canvas covers every pixel
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TImageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_.Image());
}

void TImageView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  canvas_.SetSize(width(), height());
  if (OnResize) OnResize();
  update();
}

void TImageView::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(event);
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(event);
}

void TImageView::mouseReleaseEvent(QMouseEvent* event) {
  if (OnMouseUp) OnMouseUp(event);
}

// The second press of a double click is a press as well: the tools' anchor follows it.
void TImageView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDblClick) OnDblClick(event);
  if (OnMouseDown) OnMouseDown(event);
}
