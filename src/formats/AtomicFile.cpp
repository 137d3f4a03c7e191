// Replaces a file as a whole through a temporary file beside it.
#include "formats/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/NumberText.h"

namespace {

std::atomic<unsigned> tempCounter{0};

// The file a save really replaces: a symbolic link is followed, so the link survives.
std::string resolvedTarget(const std::string& target) {
  std::error_code ec;
  if (std::filesystem::is_symlink(target, ec)) {
    auto real = std::filesystem::weakly_canonical(target, ec);
    if (!ec) return real.string();
  }
  return target;
}

}  // namespace

TAtomicFile::TAtomicFile(const std::string& target) : target_(resolvedTarget(target)) {
  // Only a regular file is replaced: renaming over a device node or a pipe would swap the
  // node itself for a plain file.
  struct stat existing;
  if (::stat(target_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
    fail("Cannot replace file " + target, S_ISDIR(existing.st_mode) ? EISDIR : EINVAL);
  const std::filesystem::path path(target_);
  const std::string folder = path.parent_path().string();
  const std::string prefix =
      (folder.empty() ? std::string() : folder + "/") + "." + path.filename().string() + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_ = prefix + formatInt(getpid()) + "-" + formatInt(tempCounter++) + ".tmp";
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0 || errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int error = errno;
    temp_.clear();
    fail("Cannot create file " + target, error);
  }
  // A replaced file keeps its permissions.
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) ::fchmod(fd_, st.st_mode & 07777);
}

TAtomicFile::~TAtomicFile() {
  if (!committed_) discard();
}

void TAtomicFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

void TAtomicFile::fail(const std::string& what, int error) {
  discard();
  throw std::system_error(error, std::generic_category(), what);
}

void TAtomicFile::Write(std::string_view data) {
  if (fd_ < 0) fail("Cannot write file " + target_, EBADF);
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("Cannot write file " + target_, errno);
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
}

void TAtomicFile::Commit() {
  if (fd_ < 0) fail("Cannot write file " + target_, EBADF);
  if (::fsync(fd_) != 0) fail("Cannot write file " + target_, errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) fail("Cannot write file " + target_, errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) fail("Cannot replace file " + target_, errno);
  temp_.clear();
  committed_ = true;
}

void writeFileAtomically(const std::string& fileName, std::string_view data) {
  TAtomicFile file(fileName);
  file.Write(data);
  file.Commit();
}
