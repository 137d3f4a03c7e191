// The canvas widget.
#include "ui/ImageView.h"

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
