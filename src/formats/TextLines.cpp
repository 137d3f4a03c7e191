// Reading a text file as lines.
#include "formats/TextLines.h"

#include <fcntl.h>
#include <sys/stat.h>
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

bool readFileText(const std::string& fileName, std::string& text, std::string& error) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "Cannot open file \"" + fileName + "\". " + std::strerror(errno);
    return false;
  }
  // A folder opens but reads as nothing, and a pipe or device may never end: neither is a file.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = "Cannot read file \"" + fileName + "\". " +
            (S_ISDIR(st.st_mode) ? std::string(std::strerror(EISDIR)) : std::string("Not a regular file"));
    return false;
  }
  text.clear();
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = "Cannot read file \"" + fileName + "\". " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buffer, size_t(n));
  }
  ::close(fd);
  return true;
}

std::vector<std::string> readTextLines(const std::string& fileName) {
  std::string text, error;
  if (!readFileText(fileName, text, error)) throw std::runtime_error(error);
  return splitTextLines(text);
}
