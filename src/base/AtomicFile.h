// Replaces a file as a whole: the new content goes to a temporary file beside the target,
// which is renamed over the target only once it is completely written. A save that fails
// half-way leaves the old file whole. A symbolic link at the name is followed and kept; the
// replaced file keeps its mode; anything but a regular file is never replaced.
#pragma once
#include <string>
#include <string_view>

class TAtomicFile {
public:
  // Creates the temporary file; raises std::system_error when it cannot, or when the name
  // is a folder, a device, a pipe or a socket.
  explicit TAtomicFile(const std::string& target);
  // Removes the temporary file unless Commit succeeded.
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  // Raises std::system_error on a write error (disk full, ...).
  void Write(std::string_view data);
  // Flushes the data to disk and renames the temporary file over the target.
  void Commit();

  const std::string& TargetName() const { return target_; }
  const std::string& TempName() const { return temp_; }

private:
  [[noreturn]] void fail(const std::string& what, int error);
  void discard();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

// Writes a whole text to a file through TAtomicFile.
void writeFileAtomically(const std::string& fileName, std::string_view data);
