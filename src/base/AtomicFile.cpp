// Replaces a file as a whole through a temporary file beside it.
#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "NumberText.h"

namespace {

std::atomic<unsigned> tempCounter{0};

// The file a save really replaces: symbolic links are followed, so that a link survives
// the save, a dangling one too (the file is then created where it points).
std::string resolvedTarget(const std::string& target) {
  std::filesystem::path path(target);
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path.string();
    const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) return path.string();
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path.string();  // a loop of links: the rename fails on it below
}

// Saving replaces a regular file or creates one; a folder, device, pipe or socket at the
// name is never replaced (a rename would put a file in place of the device).
int checkReplaceable(const std::string& target) {
  struct stat st;
  if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
  if (S_ISREG(st.st_mode)) return 0;
  return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

std::string notReplaceable(const std::string& target, int error) {
  return "Cannot save to " + target + (error == EINVAL ? ": not a regular file" : "");
}

}  // namespace

TAtomicFile::TAtomicFile(const std::string& target) : target_(resolvedTarget(target)) {
  if (const int error = checkReplaceable(target_)) fail(notReplaceable(target, error), error);
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
  // Checked again: the name may have been taken by something else meanwhile.
  if (const int error = checkReplaceable(target_)) fail(notReplaceable(target_, error), error);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) fail("Cannot replace file " + target_, errno);
  temp_.clear();
  committed_ = true;
}

void writeFileAtomically(const std::string& fileName, std::string_view data) {
  TAtomicFile file(fileName);
  file.Write(data);
  file.Commit();
}
