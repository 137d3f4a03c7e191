// libxml2 error collection.
#include "formats/XmlErrors.h"

#include <libxml/xmlerror.h>
#include <libxml/globals.h>

#include "base/NumberText.h"

bool XmlErrors::hasFatal() const {
  for (const auto& e : entries_)
    if (e.level >= XML_ERR_FATAL) return true;
  return false;
}

bool XmlErrors::hasError() const {
  for (const auto& e : entries_)
    if (e.level >= XML_ERR_ERROR) return true;
  return false;
}

std::string XmlErrors::text() const {
  std::string out;
  for (const auto& e : entries_) {
    if (!out.empty()) out += '\n';
    out += e.message;
  }
  return out;
}

std::string XmlErrors::failureLine() const {
  const XmlErrorEntry* chosen = nullptr;
  for (const auto& e : entries_)
    if (e.level >= XML_ERR_FATAL) {
      chosen = &e;
      break;
    }
  // libxml2 reports some failures that stop the parse (a text node over its size limit)
  // as errors, not fatal ones: they name the cause better than a generic line.
  for (auto it = entries_.rbegin(); !chosen && it != entries_.rend(); ++it)
    if (it->level >= XML_ERR_ERROR) chosen = &*it;
  if (!chosen && !entries_.empty()) chosen = &entries_.back();
  if (!chosen) return "Unknown XML error (0).";
  if (chosen->wholeLine) return chosen->message;
  return chosen->message + " (" + formatInt(chosen->code) + ").";
}

void XmlErrors::addFatal(const std::string& message, int code) {
  add({message, code, XML_ERR_FATAL, 0});
}

void XmlErrors::addRefusal(const std::string& line) {
  XmlErrorEntry e{line, XML_ERR_USER_STOP, XML_ERR_FATAL, 0};
  e.wholeLine = true;
  add(std::move(e));
}

void XmlErrors::restate(int code, const std::string& line) {
  for (auto& e : entries_)
    if (e.code == code && !e.wholeLine) {
      e.message = line;
      e.wholeLine = true;
    }
}

void XmlErrors::structuredHandler(void* ctx, const void* error) {
  auto* self = static_cast<XmlErrors*>(ctx);
  auto* err = static_cast<const xmlError*>(error);
  if (!self || !err) return;
  // A flood of messages (one reference repeated a million times) is cut short: the first
  // ones, and the first fatal one, say what went wrong.
  constexpr size_t kKeptMessages = 100;
  if (self->entries_.size() >= kKeptMessages && (err->level < XML_ERR_FATAL || self->hasFatal())) return;
  XmlErrorEntry e;
  e.message = trim(err->message ? err->message : "");
  e.code = err->code;
  e.level = err->level;
  e.line = err->line;
  self->add(std::move(e));
}

namespace {
void structuredTrampoline(void* ctx, xmlErrorPtr error) { XmlErrors::structuredHandler(ctx, error); }
void silentGeneric(void*, const char*, ...) {}
}  // namespace

XmlErrorCapture::XmlErrorCapture(XmlErrors& errors)
    : oldStructured_(reinterpret_cast<void*>(xmlStructuredError)),
      oldStructuredCtx_(xmlStructuredErrorContext),
      oldGeneric_(reinterpret_cast<void*>(xmlGenericError)),
      oldGenericCtx_(xmlGenericErrorContext) {
  xmlSetStructuredErrorFunc(&errors, structuredTrampoline);
  xmlSetGenericErrorFunc(nullptr, silentGeneric);
}

XmlErrorCapture::~XmlErrorCapture() {
  xmlSetStructuredErrorFunc(oldStructuredCtx_, reinterpret_cast<xmlStructuredErrorFunc>(oldStructured_));
  xmlSetGenericErrorFunc(oldGenericCtx_, reinterpret_cast<xmlGenericErrorFunc>(oldGeneric_));
}
