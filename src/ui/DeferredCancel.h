// A modal dialog that runs a request dispatches events while it waits, so Escape and the
// window manager's close box (which reaches even a disabled dialog) still arrive. Ending the
// dialog then would leave the request writing into what its caller frees: the Cancel waits
// and happens once the request has finished.
#pragma once
#include <functional>

class QDialog;

class TDeferredCancel {
public:
  // Call first in the dialog's reject(): true when a request runs, the Cancel now waits and
  // reject() must return without closing.
  bool Defer() {
    if (busy_) pending_ = true;
    return busy_;
  }
  bool Busy() const { return busy_; }
  // Runs `request`; afterwards, also when it throws, a Cancel that waited rejects `dialog`.
  void Run(QDialog* dialog, const std::function<void()>& request);

private:
  bool busy_ = false;
  bool pending_ = false;
};
