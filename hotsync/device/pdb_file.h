// Palm database (.pdb) files: the bytes of a record database turned into a PdbDatabase and back.
// Files of more than 65,535 records chain further record lists, as the format allows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/exceptions.h"

// A file that is not a sound record database; the message names the file and what is wrong.
class EPdbFormatError : public Exception {
 public:
  using Exception::Exception;
};

// Record attribute flags, the high nibble of a record entry's attribute byte.
enum : uint8_t {
  kRecordDeleted = 0x80,
  kRecordDirty = 0x40,
  kRecordBusy = 0x20,
  kRecordSecret = 0x10,
  kRecordFlagsMask = 0xF0,
  kRecordCategoryMask = 0x0F
};

constexpr size_t kPdbHeaderSize = 78;
constexpr size_t kPdbNameSize = 32;
constexpr size_t kPdbMaxRecordsPerList = 65535;
constexpr uint16_t kPdbResourceDatabase = 0x0001;
// Seconds from 1.1.1904, where the handheld counts its dates from, to 1.1.1970.
constexpr uint32_t kPdbEpochTo1970 = 2082844800u;

struct PdbRecord {
  uint8_t flags = 0;       // kRecordDeleted ... kRecordSecret
  uint8_t category = 0;    // 0..15
  uint32_t unique_id = 0;  // 24 bits
  std::string data;

  bool operator==(const PdbRecord&) const = default;
};

struct PdbDatabase {
  std::string name;  // at most 31 bytes
  uint16_t attributes = 0;
  uint16_t version = 0;
  uint32_t creation_date = 0;
  uint32_t modification_date = 0;
  uint32_t backup_date = 0;
  uint32_t modification_number = 0;
  uint32_t type = 0;
  uint32_t creator = 0;
  uint32_t unique_id_seed = 0;
  std::string app_info;   // empty: the file has no application info block
  std::string sort_info;  // empty: the file has no sort info block
  std::vector<PdbRecord> records;

  bool operator==(const PdbDatabase&) const = default;
};

// Parses a whole file; throws EPdbFormatError naming file_name for anything unsound.
PdbDatabase ParsePdb(std::string_view bytes, const std::string& file_name);

// The database name held by a file's header; throws EPdbFormatError when the header is short.
std::string ReadPdbName(std::string_view bytes, const std::string& file_name);

// The file's bytes. Throws EPdbFormatError when the database cannot be laid out (a name of 32
// bytes or more, a file of 4 GiB or more).
std::string SerializePdb(const PdbDatabase& database);
