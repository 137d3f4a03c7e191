// The system clipboard as the editor uses it: a GPX document in a private format of our own
// (the UTF-8 bytes and a NUL under a MIME type no other program claims) and a plain text
// beside it for other programs.
#pragma once
#include <string>

namespace ClipboardService {

inline constexpr const char* kPrivateMimeType = "application/x-corvantel-xml";

// Replaces the clipboard's contents by both formats at once.
void put(const std::string& document, const std::string& text);
// The clipboard holds the private format.
bool hasPrivate();
// The private format's bytes up to its first NUL; empty when it is absent.
std::string privateText();

}  // namespace ClipboardService
