// Whole-file reads and writes. A write goes to a temporary file beside the target, is flushed
// to disk and renamed over it: a reader sees the old file or the new one, never half of one.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// Throws Exception naming the path and the system's reason.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// The same for a file written in pieces: they go to the temporary file, which Commit flushes and
// renames over the target. Without Commit (an error on the way) the temporary file is removed
// and the target stays as it was.
class TAtomicFileWriter {
 public:
  explicit TAtomicFileWriter(std::string path);
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
  ~TAtomicFileWriter();

  void Write(std::string_view bytes);
  void Commit();

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// Throws Exception naming the path and the system's reason, ENotRegularFile (core/regular_file.h)
// for a FIFO, directory or device, which it never waits on.
std::string ReadWholeFile(const std::string& path);

// A whole file's bytes, read into memory that is not cleared first: the form for large files.
class TFileBytes {
 public:
  TFileBytes() = default;
  TFileBytes(std::unique_ptr<char[]> bytes, size_t size) : bytes_(std::move(bytes)), size_(size) {}

  std::string_view View() const { return {bytes_.get(), size_}; }
  char* Data() { return bytes_.get(); }
  size_t Size() const { return size_; }

 private:
  std::unique_ptr<char[]> bytes_;
  size_t size_ = 0;
};

// Throws as ReadWholeFile.
TFileBytes ReadFileBytes(const std::string& path);
