// Collects libxml2's diagnostics of one parse, so that nothing reaches stderr and the
// messages can go to the log pane instead.
#pragma once
#include <string>
#include <vector>

struct XmlErrorEntry {
  std::string message;  // libxml2's text, trimmed
  int code = 0;         // libxml2's error code
  int level = 0;        // 1 warning, 2 error, 3 fatal
  int line = 0;
  bool wholeLine = false;  // the message is the failure line as it stands
};

class XmlErrors {
public:
  void add(XmlErrorEntry entry) { entries_.push_back(std::move(entry)); }
  const std::vector<XmlErrorEntry>& entries() const { return entries_; }
  bool hasFatal() const;
  // An error or a fatal error (not a mere warning).
  bool hasError() const;
  // Every message, one a line.
  std::string text() const;
  // The line that reports a failed parse: the first fatal message (else the last error), " (", its code, ")."
  std::string failureLine() const;
  // Records a failure that libxml2 itself did not report (an unreadable file).
  void addFatal(const std::string& message, int code);
  // Records a refusal of our own, which the failure line gives as it stands.
  void addRefusal(const std::string& line);
  // libxml2's messages of a code become a refusal line of our own.
  void restate(int code, const std::string& line);

  // The handler for xmlStructuredErrorFunc; `ctx` is an XmlErrors*.
  static void structuredHandler(void* ctx, const void* error);

private:
  std::vector<XmlErrorEntry> entries_;
};

// While alive, routes libxml2's process-wide (thread-local) error channels into `errors`
// and silences the generic one; restores the previous handlers afterwards.
class XmlErrorCapture {
public:
  explicit XmlErrorCapture(XmlErrors& errors);
  ~XmlErrorCapture();
  XmlErrorCapture(const XmlErrorCapture&) = delete;
  XmlErrorCapture& operator=(const XmlErrorCapture&) = delete;

private:
  void* oldStructured_;
  void* oldStructuredCtx_;
  void* oldGeneric_;
  void* oldGenericCtx_;
};
