// Opening files that must be regular files: settings, logs, exchange files and databases.
// A FIFO, directory or device under such a name is refused at once, never waited on.
#pragma once

#include <string>

#include "core/exceptions.h"

// The path names something that is not a regular file (a FIFO, directory, device or socket).
class ENotRegularFile : public Exception {
 public:
  using Exception::Exception;
};

// An open file descriptor that closes itself; move-only.
class TOpenFile {
 public:
  explicit TOpenFile(int fd) : fd_(fd) {}
  TOpenFile(TOpenFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  TOpenFile& operator=(TOpenFile&&) = delete;
  TOpenFile(const TOpenFile&) = delete;
  ~TOpenFile();
  int Fd() const { return fd_; }

 private:
  int fd_;
};

// Opens an existing regular file for reading. Throws ENotRegularFile ("Cannot open "PATH": not
// a regular file (a FIFO)") or Exception with the system's reason ("Cannot open "PATH": ...").
TOpenFile OpenRegularFileForReading(const std::string& path);

// Opens a regular file for appending, creating it (mode 0644) when missing; throws as above.
TOpenFile OpenRegularFileForAppending(const std::string& path);

// Throws ENotRegularFile when something that is not a regular file stands at the path; a
// missing path or a regular file passes.
void RefuseNonRegularFile(const std::string& path);
