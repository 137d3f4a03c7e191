// Drawing of the custom cursors: black outlines on white so they show on any background,
// 32 by 32 pixels with a transparent ground.
#include "ui/ToolCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32;

// Every shape twice: a wide white halo first, then the black line on top.
void strokeTwice(QPainter& p, const QPainterPath& path, qreal width = 1.5) {
  p.strokePath(path, QPen(Qt::white, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.strokePath(path, QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Open scissors; the hot spot (2, 5) lies between the blades' tips.
void drawScissors(QPainter& p) {
  QPainterPath blades;
  blades.moveTo(2, 2);
  blades.lineTo(17, 17);
  blades.moveTo(2, 8);
  blades.lineTo(17, 11);
  strokeTwice(p, blades, 2);
  QPainterPath rings;
  rings.addEllipse(QPointF(21, 21), 4.5, 4.5);
  rings.addEllipse(QPointF(23, 11), 4.5, 4.5);
  strokeTwice(p, rings, 2);
}

// A box cutter: a grip with its blade pointing up-left to the hot spot (2, 2).
void drawCutter(QPainter& p) {
  QPainterPath blade;
  blade.moveTo(2, 2);
  blade.lineTo(12, 8);
  blade.lineTo(8, 12);
  blade.closeSubpath();
  p.fillPath(blade, Qt::white);
  strokeTwice(p, blade, 1.2);
  QPainterPath grip;
  grip.moveTo(10, 10);
  grip.lineTo(26, 22);
  grip.lineTo(22, 26);
  grip.lineTo(8, 13);
  grip.closeSubpath();
  p.fillPath(grip, QColor(255, 200, 0));
  strokeTwice(p, grip, 1.2);
}

// A picker: an arrow head with a small crosshair under it at the hot spot (1, 1).
void drawPicker(QPainter& p) {
  QPainterPath arrow;
  arrow.moveTo(1, 1);
  arrow.lineTo(1, 17);
  arrow.lineTo(5, 13);
  arrow.lineTo(9, 20);
  arrow.lineTo(12, 19);
  arrow.lineTo(8, 12);
  arrow.lineTo(13, 12);
  arrow.closeSubpath();
  p.fillPath(arrow, Qt::white);
  strokeTwice(p, arrow, 1.2);
  QPainterPath cross;
  cross.addEllipse(QPointF(22, 22), 5, 5);
  cross.moveTo(22, 14);
  cross.lineTo(22, 30);
  cross.moveTo(14, 22);
  cross.lineTo(30, 22);
  strokeTwice(p, cross, 1.2);
}

}  // namespace

QCursor MakeToolCursor(TToolCursor which) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (which) {
    case TToolCursor::Cut:
      drawScissors(p);
      p.end();
      return QCursor(pixmap, 2, 5);
    case TToolCursor::Cutter:
      drawCutter(p);
      p.end();
      return QCursor(pixmap, 2, 2);
    case TToolCursor::Pick:
      drawPicker(p);
      break;
  }
  p.end();
  return QCursor(pixmap, 1, 1);
}
