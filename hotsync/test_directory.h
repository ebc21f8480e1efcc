// Tests' scratch directory: a fresh directory under the system's temporary folder, removed with
// everything in it when the object dies; also points $HOTSYNC_HOME at itself while it lives.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

class TTestDirectory {
 public:
  TTestDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hotsync-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    setenv("HOTSYNC_HOME", path_.c_str(), 1);
  }
  ~TTestDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    unsetenv("HOTSYNC_HOME");
  }
  TTestDirectory(const TTestDirectory&) = delete;
  TTestDirectory& operator=(const TTestDirectory&) = delete;

  // The directory, ending with '/'.
  std::string Path() const { return path_ + "/"; }

 private:
  std::string path_;
};
