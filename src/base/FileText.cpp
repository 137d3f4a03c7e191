// Reading a whole file.
#include "base/FileText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

int openFileToRead(const std::string& fileName, struct stat& st) {
  st = {};
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    // A socket cannot be opened at all; say what it is rather than "No such device".
    const int why = errno;
    struct stat found {};
    if (why == ENXIO && ::stat(fileName.c_str(), &found) == 0 && !S_ISREG(found.st_mode) &&
        !S_ISDIR(found.st_mode))
      st.st_mode = found.st_mode;
    errno = why;
    return -1;
  }
  const bool statted = ::fstat(fd, &st) == 0;
  if (statted && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    ::close(fd);  // a pipe, socket or device: closed unread
    return -1;
  }
  // Reads of the file wait for the disk as usual.
  const int flags = statted ? ::fcntl(fd, F_GETFL) : -1;
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int why = errno;
    ::close(fd);
    st = {};
    errno = why;
    return -1;
  }
  return fd;
}

bool readFileText(const std::string& fileName, std::string& text, std::string& error) {
  struct stat st {};
  const int fd = openFileToRead(fileName, st);
  if (fd < 0 && st.st_mode == 0) {
    error = "Cannot open file \"" + fileName + "\". " + std::strerror(errno);
    return false;
  }
  // A folder opens but reads as nothing, and a pipe or device may never end: neither is a file.
  if (!S_ISREG(st.st_mode)) {
    if (fd >= 0) ::close(fd);
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

bool readFileTextIfThere(const std::string& fileName, std::string& text, std::string& error, bool& found) {
  found = true;
  if (readFileText(fileName, text, error)) return true;
  struct stat st {};
  if (::stat(fileName.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR)) return false;
  found = false;
  text.clear();
  error.clear();
  return true;
}

std::FILE* createFileToWrite(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return nullptr;
  }
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) ::close(fd);
  return f;
}
