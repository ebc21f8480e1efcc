// OpenDatabase: a database opened through one handle: its file, its open mode and the position
// from which the "next record" reads go on. Record reads return an index or throw "not found".
#pragma once

#include <cstdint>
#include <string>

#include "hotsync/device/device_database.h"

class OpenDatabase {
 public:
  // is_new: created by this handle and not on disk yet, so closing saves it even unchanged.
  OpenDatabase(std::string path, uint8_t mode, DeviceDatabase database, bool is_new);

  const std::string& Path() const { return path_; }
  const std::string& Name() const { return database_.Contents().name; }
  DeviceDatabase& Database() { return database_; }
  const DeviceDatabase& Database() const { return database_; }
  bool NeedsSaving() const { return is_new_ || database_.Changed(); }
  // Throws ESyncResult when the handle was opened without write access.
  void RequireWritable() const;

  // Each returns the index of the record found or throws ESyncResult SYNCERR_NOT_FOUND.
  uint32_t IndexOf(uint32_t index) const;
  uint32_t IndexOfId(uint32_t id) const;
  // The "next" reads walk from the position that ResetIndex sets back to the first record.
  // Unless the handle was opened with the secret mode, they pass over secret records.
  uint32_t NextModified();
  uint32_t NextInCategory(uint8_t category);
  uint32_t NextModifiedInCategory(uint8_t category);
  void ResetIndex() { next_index_ = 0; }
  // Where the next walk starts; a read that cannot hand its record over puts it back.
  uint32_t WalkPosition() const { return next_index_; }
  void SetWalkPosition(uint32_t position) { next_index_ = position; }

 private:
  template <class Predicate>
  uint32_t NextWhere(Predicate wanted);

  std::string path_;
  uint8_t mode_;
  DeviceDatabase database_;
  bool is_new_;
  uint32_t next_index_ = 0;
};
