// Device: the handheld stood in for by a directory of .pdb files. Databases are found by the
// name in their header; open ones live in memory behind one-byte handles and are saved on close.
// Headers read are kept while their files stay as they were, and so are databases closed
// unchanged, until opened again: a database read by two steps of a sync is read from its file once.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "hotsync/device/file_identity.h"
#include "hotsync/device/open_database.h"

constexpr size_t kMaxOpenDatabases = 8;

// What a .pdb file's header says: the database name, or why it cannot be read.
struct TPdbHeaderName {
  std::optional<std::string> Name;
  std::string Failure;
};

struct NewDatabase {
  std::string name;
  uint32_t creator = 0;
  uint32_t type = 0;
  uint16_t version = 0;
  uint16_t attributes = 0;
};

class Device {
 public:
  // Throws ESyncResult SYNCERR_NOT_FOUND when directory is not a directory.
  explicit Device(std::string directory);
  // Closes every open database; failures to save go to stderr.
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // All throw ESyncResult: SYNCERR_NOT_FOUND for a missing database, SYNCERR_OPEN_FAILED for a
  // damaged or unreadable file (the message names it and says why) or one already open, SYNCERR_ALREADY_EXISTS when
  // creating a name that exists, SYNCERR_TOO_MANY_OPEN, SYNCERR_NOT_OPEN for a handle that names nothing.
  uint8_t Open(const std::string& name, uint8_t mode);
  uint8_t Create(const NewDatabase& params);
  // Releases the handle, then saves the database (one atomic file write) if it changed.
  void Close(uint8_t handle);
  void Delete(const std::string& name);
  OpenDatabase& At(uint8_t handle);
  // Forgets every open database unsaved: their files keep what they held.
  void Discard();

 private:
  // The file holding the database, if one does. A file under the name DatabaseFileName gives it
  // whose header cannot be read leaves why in *damage.
  std::optional<std::string> FindFile(const std::string& name, std::string* damage = nullptr) const;
  const OpenDatabase* FindOpen(const std::string& name) const;
  std::string NewFilePath(const std::string& name) const;
  uint8_t Keep(std::unique_ptr<OpenDatabase> database);

  // Something learnt from a file, good while the file keeps this identity.
  template <class T>
  struct TKnown {
    TFileIdentity Identity;
    T Value;
  };
  TPdbHeaderName HeaderName(const std::string& path) const;

  std::string directory_;
  std::array<std::unique_ptr<OpenDatabase>, kMaxOpenDatabases> open_;
  // The identity of the file each open database was read from (none: created by its handle).
  std::array<std::optional<TFileIdentity>, kMaxOpenDatabases> read_from_;
  mutable std::unordered_map<std::string, TKnown<TPdbHeaderName>> headers_;
  std::unordered_map<std::string, TKnown<DeviceDatabase>> closed_unchanged_;  // by path
};
