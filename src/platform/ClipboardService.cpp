// The clipboard through Qt's: one mime-data object carries both formats, so one put
// replaces whatever another program left there.
#include "platform/ClipboardService.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ClipboardService {

void put(const std::string& document, const std::string& text) {
  auto* data = new QMimeData;
  QByteArray bytes(document.data(), static_cast<qsizetype>(document.size()));
  bytes.append('\0');  // the form another instance of ours reads: the text and a NUL
  data->setData(QString::fromLatin1(kPrivateMimeType), bytes);
  data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  QGuiApplication::clipboard()->setMimeData(data);  // the clipboard owns it now
}

bool hasPrivate() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasFormat(QString::fromLatin1(kPrivateMimeType));
}

std::string privateText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return {};
  const QByteArray bytes = data->data(QString::fromLatin1(kPrivateMimeType));
  const qsizetype end = bytes.indexOf('\0');
  return std::string(bytes.constData(), static_cast<size_t>(end < 0 ? bytes.size() : end));
}

}  // namespace ClipboardService
