// Reading a text file as lines.
#include "formats/TextLines.h"

#include <stdexcept>

#include "base/FileText.h"

std::vector<std::string> splitTextLines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string> lines;
  size_t start = 0;
  const size_t n = text.size();
  while (start < n) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::vector<std::string> readTextLines(const std::string& fileName) {
  std::string text, error;
  if (!readFileText(fileName, text, error)) throw std::runtime_error(error);
  return splitTextLines(text);
}
