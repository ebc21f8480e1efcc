// Tests' scratch space: a fresh directory under the system's temporary directory, made with
// mkdtemp (a failure throws Exception) and removed with everything in it when the object dies.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class TScratchDirectory {
 public:
  // The directory's name starts with `prefix` and ends with six random characters.
  explicit TScratchDirectory(std::string_view prefix = "zp-test");
  ~TScratchDirectory();
  TScratchDirectory(const TScratchDirectory&) = delete;
  TScratchDirectory& operator=(const TScratchDirectory&) = delete;

  // The directory, ending with '/'.
  std::string Path() const { return root_.string() + "/"; }
  // A name inside it.
  std::string Path(const std::string& name) const { return Path() + name; }
  // The directory without the '/' at its end.
  const std::filesystem::path& Root() const { return root_; }

  // Creates the subdirectory (and its parents) and returns its path, without '/' at its end.
  std::string MakeDirectory(const std::string& name) const;
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::filesystem::path root_;
};

// Points $HOTSYNC_HOME at a directory for the lifetime of the object (the desktop stand-ins
// read it at each call).
class THomeVariable {
 public:
  explicit THomeVariable(const std::string& home);
  ~THomeVariable();
  THomeVariable(const THomeVariable&) = delete;
  THomeVariable& operator=(const THomeVariable&) = delete;
};

// A scratch directory that is the HotSync home while it lives.
class TScratchHome : public TScratchDirectory {
 public:
  explicit TScratchHome(std::string_view prefix = "hotsync-test") : TScratchDirectory(prefix), home_(Path()) {}

 private:
  THomeVariable home_;
};
