// Palm database (.pdb) files: the bytes of a record database turned into a PdbDatabase and back.
// Files of more than 65,535 records chain further record lists, as the format allows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/exceptions.h"
#include "hotsync/device/record_byte_store.h"

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

// A record: its bytes are a view of the file bytes it was read from or of bytes its database
// keeps (PdbDatabase::Keep), so a database of many records costs no allocation per record.
struct PdbRecord {
  uint8_t flags = 0;       // kRecordDeleted ... kRecordSecret
  uint8_t category = 0;    // 0..15
  uint32_t unique_id = 0;  // 24 bits
  std::string_view data;

  bool operator==(const PdbRecord&) const = default;
};

// The bytes the records of a database view: the file's they were read from and those kept
// since; not part of the database's value. Copies of a database share them.
struct PdbFileBytes {
  std::shared_ptr<const void> Bytes;  // whatever holds the bytes read
  std::shared_ptr<RecordByteStore> Written;
  bool operator==(const PdbFileBytes&) const { return true; }
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
  PdbFileBytes file;  // what the records view

  // A copy of bytes for a record to view, kept as long as the database or a copy of it.
  std::string_view Keep(std::string_view bytes);

  bool operator==(const PdbDatabase&) const = default;
};

// Parses a whole file; throws EPdbFormatError naming file_name for anything unsound. The
// records view the bytes, which the database keeps (the first form keeps a copy of them).
PdbDatabase ParsePdb(std::string_view bytes, const std::string& file_name);
PdbDatabase ParsePdb(std::shared_ptr<const std::string> bytes, const std::string& file_name);
PdbDatabase ParsePdb(std::shared_ptr<const TFileBytes> bytes, const std::string& file_name);

// The database name held by a file's header; throws EPdbFormatError when the header is short.
std::string ReadPdbName(std::string_view bytes, const std::string& file_name);

// The file's bytes handed to `write` in order, in pieces as large as the records' bytes lie
// together. Throws EPdbFormatError, before any piece, when the database cannot be laid out (a
// name of 32 bytes or more, a file of 4 GiB or more).
void WritePdb(const PdbDatabase& database, const std::function<void(std::string_view)>& write);
// The same bytes as one string.
std::string SerializePdb(const PdbDatabase& database);
