#include "test_support/scratch_directory.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/atomic_file.h"
#include "core/exceptions.h"

TScratchDirectory::TScratchDirectory(std::string_view prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw Exception("cannot create a scratch directory " + pattern + ": " + std::strerror(errno));
  }
  root_ = pattern;
}

TScratchDirectory::~TScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TScratchDirectory::MakeDirectory(const std::string& name) const {
  const std::filesystem::path directory = root_ / name;
  std::filesystem::create_directories(directory);
  return directory.string();
}

void TScratchDirectory::Write(const std::string& name, const std::string& bytes) const {
  WriteFileAtomic(Path(name), bytes);
}

std::string TScratchDirectory::Read(const std::string& name) const { return ReadWholeFile(Path(name)); }

bool TScratchDirectory::Exists(const std::string& name) const { return std::filesystem::exists(root_ / name); }

THomeVariable::THomeVariable(const std::string& home) { setenv("HOTSYNC_HOME", home.c_str(), 1); }

THomeVariable::~THomeVariable() { unsetenv("HOTSYNC_HOME"); }
