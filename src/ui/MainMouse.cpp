// The preview's mouse: position in the status bar, panning, rubber bands, hover picking,
// the double click, and the wheel routed to the pane the mouse was last over.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QWheelEvent>

#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"

namespace {

// Sees the window's wheel events before the widget under the mouse, and notes which pane
// the mouse has moved into.
class TPaneWatcher : public QObject {
public:
  TPaneWatcher(TMainForm* form, QWidget* preview, QWidget* graphPane,
               std::vector<QWidget*> neutral)
      : QObject(form), form_(form), preview_(preview), graphPane_(graphPane),
        neutral_(std::move(neutral)) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Enter:
        if (watched == preview_)
          form_->ActivePane = 1;
        else if (watched == graphPane_)
          form_->ActivePane = 2;
        else if (std::find(neutral_.begin(), neutral_.end(), watched) != neutral_.end())
          form_->ActivePane = 0;
        break;
      case QEvent::Leave:
        if (watched == preview_ || watched == graphPane_) form_->ActivePane = 0;
        break;
      case QEvent::Wheel: {
        // An unused wheel goes on up to the parents and comes by here again, unused again.
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != form_) break;
        auto* wheel = static_cast<QWheelEvent*>(event);
        bool used = false;
        RunGuarded(form_, [&] {
          used = form_->FormMouseWheel(wheel->angleDelta().y(), wheel->globalPosition().toPoint());
        });
        if (used) return true;
        break;
      }
      default:
        break;
    }
    return false;
  }

private:
  TMainForm* form_;
  QWidget* preview_;
  QWidget* graphPane_;
  std::vector<QWidget*> neutral_;
};


}  // namespace

void TMainForm::BuildPreviewMouse() {
  GPXImage->setMouseTracking(true);  // the pick tools follow the mouse without a button
  GPXImage->setContextMenuPolicy(Qt::PreventContextMenu);
  auto xy = [](QMouseEvent* e) { return e->position().toPoint(); };
  GPXImage->OnMouseDown = [this, xy](QMouseEvent* e) {
    RunGuarded(this, [&] { GPXImageMouseDown(e->button(), e->buttons(), e->modifiers(), xy(e).x(), xy(e).y()); });
  };
  GPXImage->OnMouseMove = [this, xy](QMouseEvent* e) {
    RunGuarded(this, [&] { GPXImageMouseMove(e->buttons(), e->modifiers(), xy(e).x(), xy(e).y()); });
  };
  GPXImage->OnMouseUp = [this, xy](QMouseEvent* e) {
    RunGuarded(this, [&] { GPXImageMouseUp(e->button(), e->modifiers(), xy(e).x(), xy(e).y()); });
  };
  GPXImage->OnDblClick = [this](QMouseEvent*) { RunGuarded(this, [this] { GPXImageDblClick(); }); };

  // On the application: it sees every widget's events, the panes' entries included.
  qApp->installEventFilter(new TPaneWatcher(this, GPXImage, BottomPanel, {tvItems, mLog}));
}

void TMainForm::SetStatusText(int panel, const std::string& text) {
  statusPanels_.at(static_cast<size_t>(panel))->setText(QString::fromStdString(text));
}

void TMainForm::ClearStatusText() {
  for (QLabel* panel : statusPanels_) panel->clear();
}

void TMainForm::GPXImageMouseDown(Qt::MouseButton, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers, int X, int Y) {
  ActivePane = 1;
  if (!GPXLoaded) return;
  PreviewDraw->AnchorX = X;
  PreviewDraw->AnchorY = Y;
  if ((buttons & Qt::RightButton) && PreviewDraw->Options.RightClickSelects)
    GPXImage->setCursor(Cursors[3]);
}

void TMainForm::GPXImageMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int X,
                                  int Y) {
  ActivePane = 1;
  TGPXDraw& v = *PreviewDraw;
  if (!v.GPX || !GPXLoaded) {
    SetStatusText(0, "");
    return;
  }
  if (X != 0 || Y != 0) {
    v.MouseX = X;
    v.MouseY = Y;
  }
  const TPoint4D2 p = v.PointAtPixel(X, Y);
  SetStatusText(0, " " + p.LatLonToStr());
  SetStatusText(1, "");
  SetStatusText(2, "");
  const bool additive = shift & Qt::ControlModifier;
  const uint8_t mode = v.ToolMode;

  if (buttons & Qt::LeftButton) {
    if (mode == 1) {
      v.PanTo(X, Y);
      DrawPreview();
    } else if (mode == 2 || (mode >= 12 && mode <= 15)) {
      v.Draw();
      v.DrawRubberBand(X, Y, v.Options.SelectionColor);
      GPXImage->update();
    }
    return;
  }
  if (buttons & Qt::RightButton) {
    if (v.Options.RightClickSelects) {
      v.SelectNearestObject(p, additive);
      DrawPreview();
    }
    return;
  }
  switch (mode) {
    case 3: v.SelectNearestObject(p, additive); break;
    case 4: v.SelectNearestRoute(p, additive); break;
    case 5: v.SelectNearestTrackSeg(p, additive); break;
    case 6: v.SelectNearestWayPoint(p, additive); break;
    case 7: v.SelectNearestPoint(p); break;
    case 8:
    case 10:
    case 11: v.PickPointInSelection(p); break;
    case 9: v.SelectSecondOfKind(p); break;
    default: return;
  }
  v.Draw();
  if ((mode == 7 || mode == 8 || mode == 10 || mode == 11) && v.CurrentPoint) {
    v.DrawPoint(v.CurrentPoint, v.Options.CutPointColor, 5);
    SetStatusText(0, " " + v.CurrentPoint->LatLonToStr());
    SetStatusText(1, v.CurrentPoint->TimeToStr());
    ShowPointInfo("");
  }
  GPXImage->update();
}

void TMainForm::GPXImageDblClick() {
  if (GPXLoaded) ZoomPreview(0);
}

bool TMainForm::FormMouseWheel(int delta, const QPoint& globalPos) {
  // A sideways wheel has no vertical turn: it is not a zoom.
  if (delta == 0) return false;
  switch (ActivePane) {
    case 1: {
      const QPoint at = GPXImage->mapFromGlobal(globalPos);
      if (delta > 0)
        PreviewDraw->WheelZoomIn({at.x(), at.y()});
      else
        PreviewDraw->WheelZoomOut({at.x(), at.y()});
      DrawPreview();
      return true;
    }
    case 2:
      return GPXStatMouseWheel(delta, globalPos);
    case 3:
    case 4:
      return TREImageMouseWheel(ActivePane, delta, globalPos);
    default:
      return false;
  }
}
