// A small memory file system mounted on a scratch directory, so tests can fill a disk. Mounting
// needs the right to mount (root); without it Mounted() is false and the test skips.
#pragma once

#include <string>

#include "test_support/scratch_directory.h"

class TSmallFilesystem {
 public:
  explicit TSmallFilesystem(const std::string& size = "64k");
  ~TSmallFilesystem();
  TSmallFilesystem(const TSmallFilesystem&) = delete;
  TSmallFilesystem& operator=(const TSmallFilesystem&) = delete;

  bool Mounted() const { return mounted_; }
  // The mounted directory, ending with '/'.
  std::string Path() const { return mount_point_ + "/"; }
  // Fills the file system to its last byte with one file of that name.
  void Fill(const std::string& name) const;

 private:
  TScratchDirectory scratch_{"zp-small-fs"};
  std::string mount_point_;
  bool mounted_ = false;
};
