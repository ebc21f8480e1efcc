#include "hotsync/conduit_library.h"

#include <dlfcn.h>

#include <array>

TConduitLibrary::TConduitLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    throw EConduitLibraryError("Cannot load the conduit " + path + ": " +
                               (reason != nullptr ? reason : "unknown reason"));
  }
}

TConduitLibrary::~TConduitLibrary() { dlclose(handle_); }

void* TConduitLibrary::Entry(const char* name) const {
  void* entry = dlsym(handle_, name);
  if (entry == nullptr) throw EConduitLibraryError("The conduit " + path_ + " has no entry point " + name);
  return entry;
}

std::string TConduitLibrary::ConduitName() const {
  auto get_name = reinterpret_cast<int16_t (*)(char*, uint16_t)>(Entry("GetConduitName"));
  std::array<char, 256> name{};
  if (get_name(name.data(), static_cast<uint16_t>(name.size())) != 0) {
    throw EConduitLibraryError("The conduit " + path_ + " does not give its name");
  }
  name.back() = '\0';
  return name.data();
}

uint32_t TConduitLibrary::ConduitVersion() const {
  return reinterpret_cast<uint32_t (*)()>(Entry("GetConduitVersion"))();
}

int32_t TConduitLibrary::OpenConduit(ProgressCallback progress, void* sync_properties) const {
  return reinterpret_cast<int32_t (*)(ProgressCallback, void*)>(Entry("OpenConduit"))(progress, sync_properties);
}

int32_t TConduitLibrary::CfgConduit(int32_t type, void* record, uint32_t* size) const {
  return reinterpret_cast<int32_t (*)(int32_t, void*, uint32_t*)>(Entry("CfgConduit"))(type, record, size);
}

int32_t TConduitLibrary::Register() const { return reinterpret_cast<int32_t (*)()>(Entry("DllRegisterServer"))(); }

int32_t TConduitLibrary::Unregister() const { return reinterpret_cast<int32_t (*)()>(Entry("DllUnregisterServer"))(); }

std::string VersionText(uint32_t version) {
  return std::to_string((version >> 8) & 0xFF) + "." + std::to_string(version & 0xFF);
}
