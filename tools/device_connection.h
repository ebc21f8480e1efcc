// Host-side connection of the bound Sync Manager (libsync20.so) to a directory of handheld
// database files: what the HotSync Manager does before it calls a conduit. For the handheld
// tool, tests and benchmarks; the conduit itself never connects.
#pragma once

#include <dlfcn.h>

#include <string>

#include "conduit/desktop_libraries.h"
#include "conduit/sync_error.h"

class TDeviceConnection {
 public:
  // Binds the desktop libraries from `library_directory` and connects the handheld in
  // `device_directory`. Throws Exception naming what could not be loaded or connected.
  TDeviceConnection(const std::string& library_directory, const std::string& device_directory) {
    if (!BindDesktopLibraries(library_directory)) {
      throw Exception("The desktop libraries could not be loaded from " + library_directory);
    }
    std::string directory = library_directory;
    if (!directory.empty() && directory.back() != '/') directory += '/';
    // The library is already loaded by the binding; this only finds the same instance again.
    library_ = dlopen((directory + "libsync20.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library_ != nullptr) {
      connect_ = reinterpret_cast<decltype(&::SyncHostConnect)>(dlsym(library_, "SyncHostConnect"));
      disconnect_ = reinterpret_cast<decltype(&::SyncHostDisconnect)>(dlsym(library_, "SyncHostDisconnect"));
      discard_ = reinterpret_cast<decltype(&::SyncHostDiscard)>(dlsym(library_, "SyncHostDiscard"));
    }
    if (connect_ == nullptr || disconnect_ == nullptr || discard_ == nullptr) {
      Release();
      throw Exception("libsync20.so offers no handheld connection (SyncHostConnect)");
    }
    const int32_t result = connect_(device_directory.c_str());
    if (result != 0) {
      Release();
      throw Exception("The handheld directory " + device_directory +
                      " cannot be connected: " + EPalmSyncError(result).what());
    }
  }
  TDeviceConnection(const TDeviceConnection&) = delete;
  TDeviceConnection& operator=(const TDeviceConnection&) = delete;
  // Closes what is still open on the handheld and releases the libraries.
  ~TDeviceConnection() {
    if (disconnect_ != nullptr) disconnect_();
    Release();
  }

  // Drops what is still open on the handheld unsaved (its files stay as they were) and
  // disconnects: the way out of a load that failed half way.
  void Discard() {
    if (discard_ != nullptr) discard_();
  }

 private:
  void Release() {
    if (library_ != nullptr) dlclose(library_);
    library_ = nullptr;
    ReleaseDesktopLibraries();
  }

  void* library_ = nullptr;
  decltype(&::SyncHostConnect) connect_ = nullptr;
  decltype(&::SyncHostDisconnect) disconnect_ = nullptr;
  decltype(&::SyncHostDiscard) discard_ = nullptr;
};
