// Reading a whole file.
#include "base/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
