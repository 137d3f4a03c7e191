// Files dropped from the desktop onto a widget.
#include "ui/FileDrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

std::vector<std::string> localFiles(const QMimeData* data) {
  std::vector<std::string> names;
  if (!data || !data->hasUrls()) return names;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) names.push_back(url.toLocalFile().toStdString());
  return names;
}

class TFileDropFilter : public QObject {
public:
  TFileDropFilter(QObject* parent, std::function<void(const std::vector<std::string>&)> onDrop)
      : QObject(parent), onDrop_(std::move(onDrop)) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (localFiles(drag->mimeData()).empty()) return false;
        drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const auto names = localFiles(drop->mimeData());
        if (names.empty()) return false;
        drop->acceptProposedAction();
        onDrop_(names);
        return true;
      }
      default:
        return QObject::eventFilter(watched, event);
    }
  }

private:
  std::function<void(const std::vector<std::string>&)> onDrop_;
};

}  // namespace

void installFileDrop(QWidget* widget, std::function<void(const std::vector<std::string>&)> onDrop) {
  widget->setAcceptDrops(true);
  widget->installEventFilter(new TFileDropFilter(widget, std::move(onDrop)));
}
