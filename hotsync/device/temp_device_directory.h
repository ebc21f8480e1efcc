// Test support: a fresh empty directory under the system's temporary directory, removed with
// everything in it when the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class TempDeviceDirectory {
 public:
  TempDeviceDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zp-device-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    std::filesystem::create_directory(root_ / "device");
  }
  ~TempDeviceDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  // The device directory; its parent is also private to the test.
  std::string Path() const { return (root_ / "device").string(); }
  std::string File(const std::string& name) const { return (root_ / "device" / name).string(); }
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};
