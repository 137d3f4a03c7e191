// Reading a text file as lines.
#include "formats/TextLines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

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
  // Plain reads, so that a read error (a folder opens, then refuses to be read) is reported
  // instead of being taken for an empty file.
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw std::runtime_error("Cannot read file \"" + fileName + "\". " + std::strerror(error));
    }
    if (n == 0) break;
    text.append(buffer, size_t(n));
  }
  ::close(fd);
  return splitTextLines(text);
}
