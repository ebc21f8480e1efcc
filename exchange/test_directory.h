// Tests only: a fresh directory under the system's temporary directory, removed with its files.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "core/atomic_file.h"

class TTestDirectory {
 public:
  TTestDirectory() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("zp_exchange_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TTestDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TTestDirectory(const TTestDirectory&) = delete;
  TTestDirectory& operator=(const TTestDirectory&) = delete;

  // The directory with '/' at its end.
  std::string Dir() const { return path_.string() + "/"; }
  std::string Path(const std::string& name) const { return Dir() + name; }
  void Write(const std::string& name, const std::string& bytes) const { WriteFileAtomic(Path(name), bytes); }
  std::string Read(const std::string& name) const { return ReadWholeFile(Path(name)); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

 private:
  std::filesystem::path path_;
};
