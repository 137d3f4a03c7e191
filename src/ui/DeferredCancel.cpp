// The deferred Cancel.
#include "ui/DeferredCancel.h"

#include <QDialog>

void TDeferredCancel::Run(QDialog* dialog, const std::function<void()>& request) {
  struct Finish {
    TDeferredCancel& self;
    QDialog* dialog;
    ~Finish() {
      self.busy_ = false;
      if (!self.pending_) return;
      self.pending_ = false;
      dialog->reject();
    }
  } finish{*this, dialog};
  busy_ = true;
  pending_ = false;
  request();
}
