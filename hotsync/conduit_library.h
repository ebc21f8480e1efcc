// A conduit library loaded by the host (dlopen by path), with its entry points looked up by
// name as the HotSync Manager calls them. Unloaded when the object dies.
#pragma once

#include <cstdint>
#include <string>

#include "core/exceptions.h"

// A conduit library that cannot be loaded or lacks an entry point.
class EConduitLibraryError : public Exception {
 public:
  using Exception::Exception;
};

class TConduitLibrary {
 public:
  using ProgressCallback = void (*)(const char*);

  // Loads the library; throws EConduitLibraryError with the loader's reason.
  explicit TConduitLibrary(const std::string& path);
  ~TConduitLibrary();
  TConduitLibrary(const TConduitLibrary&) = delete;
  TConduitLibrary& operator=(const TConduitLibrary&) = delete;

  const std::string& Path() const { return path_; }

  // GetConduitName; throws EConduitLibraryError when it fails.
  std::string ConduitName() const;
  uint32_t ConduitVersion() const;
  int32_t OpenConduit(ProgressCallback progress, void* sync_properties) const;
  int32_t CfgConduit(int32_t type, void* record, uint32_t* size) const;
  int32_t Register() const;
  int32_t Unregister() const;

 private:
  void* Entry(const char* name) const;

  std::string path_;
  void* handle_ = nullptr;
};

// "2.6" for the version word 0x0206: major (high byte) and minor (low byte) in decimal.
std::string VersionText(uint32_t version);
