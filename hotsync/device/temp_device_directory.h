// Test support: a scratch directory with an empty device directory inside, both removed with
// everything in them when the object goes.
#pragma once

#include <filesystem>
#include <string>

#include "test_support/scratch_directory.h"

class TempDeviceDirectory {
 public:
  // The device directory; its parent is also private to the test.
  std::string Path() const { return device_; }
  std::string File(const std::string& name) const { return device_ + "/" + name; }
  const std::filesystem::path& Root() const { return scratch_.Root(); }

 private:
  TScratchDirectory scratch_{"zp-device"};
  std::string device_ = scratch_.MakeDirectory("device");
};
