// Reading and writing Palm record database files.
#include "hotsync/device/pdb_file.h"

#include <algorithm>
#include <optional>

#include "hotsync/device/byte_order.h"

// Layout of a record database file (all numbers big-endian):
//
//   OFFSET  SIZE  MEANING
//   0       32    database name, zero-terminated
//   32      2     attributes (0x0001 = resource database, not handled here)
//   34      2     version
//   36      4     creation date, seconds since 1.1.1904
//   40      4     modification date
//   44      4     last backup date
//   48      4     modification number
//   52      4     offset of the application info block, 0 = none
//   56      4     offset of the sort info block, 0 = none
//   60      4     type, four characters
//   64      4     creator, four characters
//   68      4     unique ID seed
//   72      4     offset of the next record list header, 0 = none
//   76      2     number of record entries that follow the header
//   78      8*n   record entries
//
// Record entry:
//   0       4     offset of the record's bytes in the file
//   4       1     attributes: flags in the high nibble, category in the low nibble
//   5       3     unique ID
//
// Further record list (reached through the "next record list" offset, always forward):
//   0       4     offset of the next record list header, 0 = none
//   4       2     number of record entries that follow
//   6       8*n   record entries
//
// After the lists (usually two bytes of padding) come the application info block, the sort
// info block and the records, in that order; each runs up to the start of the next one, the
// last record to the end of the file.

namespace {

constexpr size_t kEntrySize = 8;
constexpr size_t kListHeaderSize = 6;

[[noreturn]] void Fail(const std::string& file_name, const std::string& what) {
  throw EPdbFormatError(file_name + ": " + what);
}

std::string Num(uint64_t value) { return std::to_string(value); }

// A record list: where its entries start and how many there are.
struct TRecordList {
  size_t Entries;
  size_t Count;
};

// Checks that a list's entries lie inside the file.
TRecordList CheckedList(std::string_view bytes, size_t entries, size_t count, const std::string& file_name) {
  if (entries + uint64_t{count} * kEntrySize > bytes.size())
    Fail(file_name, "record list of " + Num(count) + " entries at offset " + Num(entries) +
                        " runs past the end of the file (" + Num(bytes.size()) + " bytes)");
  return {entries, count};
}

// Follows the chain of record lists, checking each; lists_end is set where the last one ends.
std::vector<TRecordList> FindRecordLists(std::string_view bytes, const std::string& file_name, size_t& lists_end) {
  std::vector<TRecordList> lists{CheckedList(bytes, kPdbHeaderSize, ReadU16(bytes, 76), file_name)};
  lists_end = kPdbHeaderSize + lists.back().Count * kEntrySize;
  uint32_t next = ReadU32(bytes, 72);
  while (next != 0) {
    if (next < lists_end)
      Fail(file_name,
           "record list at offset " + Num(next) + " lies before the end of the previous list (" + Num(lists_end) + ")");
    if (uint64_t{next} + kListHeaderSize > bytes.size())
      Fail(file_name, "record list header at offset " + Num(next) + " lies past the end of the file (" +
                          Num(bytes.size()) + " bytes)");
    lists.push_back(CheckedList(bytes, next + kListHeaderSize, ReadU16(bytes, next + 4), file_name));
    lists_end = next + kListHeaderSize + lists.back().Count * kEntrySize;
    next = ReadU32(bytes, next);
  }
  return lists;
}

// Reads every list's entries: each record's attributes and ID, and apart its offset. The
// records' bytes are not placed yet.
void ReadEntries(std::string_view bytes, const std::vector<TRecordList>& lists, std::vector<PdbRecord>& records,
                 std::vector<uint32_t>& offsets) {
  size_t total = 0;
  for (const TRecordList& list : lists) total += list.Count;
  records.reserve(total);
  offsets.reserve(total);
  for (const TRecordList& list : lists) {
    const auto* entry = reinterpret_cast<const uint8_t*>(bytes.data() + list.Entries);
    for (size_t i = 0; i < list.Count; ++i, entry += kEntrySize) {
      offsets.push_back(uint32_t{entry[0]} << 24 | uint32_t{entry[1]} << 16 | uint32_t{entry[2]} << 8 | entry[3]);
      const uint8_t attributes = entry[4];
      records.push_back({static_cast<uint8_t>(attributes & kRecordFlagsMask),
                         static_cast<uint8_t>(attributes & kRecordCategoryMask),
                         uint32_t{entry[5]} << 16 | uint32_t{entry[6]} << 8 | entry[7],
                         {}});
    }
  }
}

// Checks that the block offsets and record offsets rise through the file after the lists. What
// an offset belongs to is named only when it fails.
void CheckOffsets(std::string_view bytes, size_t lists_end, uint32_t app_info, uint32_t sort_info,
                  const std::vector<uint32_t>& offsets, const std::string& file_name) {
  struct TOwner {
    const char* Block = nullptr;  // a block's name, or null for record `Record`
    size_t Record = 0;
    std::string Name() const { return Block != nullptr ? Block : "record " + Num(Record); }
  };
  uint64_t floor = lists_end;
  std::optional<TOwner> floor_owner;  // none: the record lists
  auto check = [&](uint64_t offset, TOwner owner) {
    if (offset > bytes.size()) [[unlikely]]
      Fail(file_name, owner.Name() + " offset " + Num(offset) + " lies past the end of the file (" +
                          Num(bytes.size()) + " bytes)");
    if (offset < floor && !floor_owner) [[unlikely]]
      Fail(file_name,
           owner.Name() + " offset " + Num(offset) + " lies inside the record list, which ends at " + Num(floor));
    if (offset < floor) [[unlikely]]
      Fail(file_name, owner.Name() + " offset " + Num(offset) + " lies before the " + floor_owner->Name() +
                          " offset " + Num(floor) + ": offsets out of order or overlapping");
    floor = offset;
    floor_owner = owner;
  };
  if (app_info != 0) check(app_info, {"application info block"});
  if (sort_info != 0) check(sort_info, {"sort info block"});
  // The records' offsets of a sound file rise to its end: looked at in one plain pass, and only
  // one that does not is named.
  uint64_t before = floor;
  size_t first_fault = 0;
  while (first_fault < offsets.size() && offsets[first_fault] >= before && offsets[first_fault] <= bytes.size()) {
    before = offsets[first_fault++];
  }
  if (first_fault == offsets.size()) return;
  for (size_t i = 0; i <= first_fault; ++i) check(offsets[i], {nullptr, i});
}

std::string NameFromHeader(std::string_view bytes) {
  const std::string_view field = bytes.substr(0, kPdbNameSize);
  return std::string(field.substr(0, std::min(field.find('\0'), field.size())));
}

void CheckHeaderSize(std::string_view bytes, const std::string& file_name) {
  if (bytes.size() < kPdbHeaderSize)
    Fail(file_name,
         "truncated header: " + Num(bytes.size()) + " bytes, a database header takes " + Num(kPdbHeaderSize));
}

PdbDatabase ParsePdbBytes(std::string_view bytes, std::shared_ptr<const void> file_bytes, const std::string& file_name) {
  CheckHeaderSize(bytes, file_name);
  PdbDatabase db;
  db.name = NameFromHeader(bytes);
  db.attributes = ReadU16(bytes, 32);
  if (db.attributes & kPdbResourceDatabase) Fail(file_name, "a resource database, not a record database");
  db.version = ReadU16(bytes, 34);
  db.creation_date = ReadU32(bytes, 36);
  db.modification_date = ReadU32(bytes, 40);
  db.backup_date = ReadU32(bytes, 44);
  db.modification_number = ReadU32(bytes, 48);
  const uint32_t app_info = ReadU32(bytes, 52);
  const uint32_t sort_info = ReadU32(bytes, 56);
  db.type = ReadU32(bytes, 60);
  db.creator = ReadU32(bytes, 64);
  db.unique_id_seed = ReadU32(bytes, 68);

  size_t lists_end = 0;
  const std::vector<TRecordList> lists = FindRecordLists(bytes, file_name, lists_end);
  std::vector<uint32_t> offsets;
  ReadEntries(bytes, lists, db.records, offsets);
  CheckOffsets(bytes, lists_end, app_info, sort_info, offsets, file_name);

  const size_t data_end = offsets.empty() ? bytes.size() : offsets.front();
  if (app_info != 0) db.app_info = std::string(bytes.substr(app_info, (sort_info ? sort_info : data_end) - app_info));
  if (sort_info != 0) db.sort_info = std::string(bytes.substr(sort_info, data_end - sort_info));
  for (size_t i = 0; i < offsets.size(); ++i) {
    const size_t end = i + 1 < offsets.size() ? offsets[i + 1] : bytes.size();
    db.records[i].data = bytes.substr(offsets[i], end - offsets[i]);
  }
  if (!db.records.empty()) db.file.Bytes = std::move(file_bytes);
  return db;
}

}  // namespace

std::string ReadPdbName(std::string_view bytes, const std::string& file_name) {
  CheckHeaderSize(bytes, file_name);
  return NameFromHeader(bytes);
}

PdbDatabase ParsePdb(std::string_view bytes, const std::string& file_name) {
  return ParsePdb(std::make_shared<const std::string>(bytes), file_name);
}

PdbDatabase ParsePdb(std::shared_ptr<const std::string> bytes, const std::string& file_name) {
  const std::string_view view = *bytes;
  return ParsePdbBytes(view, std::move(bytes), file_name);
}

PdbDatabase ParsePdb(std::shared_ptr<const TFileBytes> bytes, const std::string& file_name) {
  const std::string_view view = bytes->View();
  return ParsePdbBytes(view, std::move(bytes), file_name);
}


std::string_view PdbDatabase::Keep(std::string_view bytes) {
  if (!file.Written) file.Written = std::make_shared<RecordByteStore>();
  return file.Written->Keep(bytes);
}

namespace {

// Hands the records' bytes on in runs: records that lie one after another in memory go as one
// piece, and short runs are gathered first, so a file is written in few large pieces.
class TRecordRuns {
 public:
  explicit TRecordRuns(const std::function<void(std::string_view)>& write) : write_(write) {}

  void Add(std::string_view bytes) {
    if (bytes.empty()) return;
    if (run_.data() + run_.size() == bytes.data()) {
      run_ = std::string_view(run_.data(), run_.size() + bytes.size());
      return;
    }
    Flush();
    run_ = bytes;
  }
  void Finish() {
    Flush();
    if (!gathered_.empty()) write_(gathered_);
  }

 private:
  static constexpr size_t kShortRun = 4 << 10;
  static constexpr size_t kGathered = 256 << 10;

  void Flush() {
    if (run_.empty()) return;
    if (run_.size() >= kShortRun) {
      if (!gathered_.empty()) write_(gathered_);
      gathered_.clear();
      write_(run_);
    } else {
      gathered_.append(run_);
      if (gathered_.size() >= kGathered) {
        write_(gathered_);
        gathered_.clear();
      }
    }
    run_ = {};
  }

  const std::function<void(std::string_view)>& write_;
  std::string_view run_;
  std::string gathered_;
};

}  // namespace

void WritePdb(const PdbDatabase& db, const std::function<void(std::string_view)>& write) {
  if (db.name.size() >= kPdbNameSize || db.name.find('\0') != std::string::npos)
    throw EPdbFormatError("database name \"" + db.name + "\" does not fit the 32-byte name field");
  const size_t count = db.records.size();
  const size_t first_list = std::min(count, kPdbMaxRecordsPerList);
  const size_t further_lists = (count - first_list + kPdbMaxRecordsPerList - 1) / kPdbMaxRecordsPerList;
  const uint64_t lists_end = kPdbHeaderSize + uint64_t{count} * kEntrySize + further_lists * kListHeaderSize;
  const uint64_t data_start = lists_end + 2;
  uint64_t file_size = data_start + db.app_info.size() + db.sort_info.size();
  for (const PdbRecord& record : db.records) file_size += record.data.size();
  if (file_size > UINT32_MAX)
    throw EPdbFormatError("database \"" + db.name + "\" needs " + Num(file_size) +
                          " bytes, more than a database file can address");

  std::string out;
  out.reserve(data_start + db.app_info.size() + db.sort_info.size());
  out.append(db.name);
  out.append(kPdbNameSize - db.name.size(), '\0');
  AppendU16(out, db.attributes);
  AppendU16(out, db.version);
  AppendU32(out, db.creation_date);
  AppendU32(out, db.modification_date);
  AppendU32(out, db.backup_date);
  AppendU32(out, db.modification_number);
  AppendU32(out, db.app_info.empty() ? 0 : static_cast<uint32_t>(data_start));
  AppendU32(out, db.sort_info.empty() ? 0 : static_cast<uint32_t>(data_start + db.app_info.size()));
  AppendU32(out, db.type);
  AppendU32(out, db.creator);
  AppendU32(out, db.unique_id_seed);
  AppendU32(out, count > first_list ? static_cast<uint32_t>(kPdbHeaderSize + first_list * kEntrySize) : 0);
  AppendU16(out, static_cast<uint16_t>(first_list));

  uint64_t record_offset = data_start + db.app_info.size() + db.sort_info.size();
  size_t written = 0;
  auto append_entries = [&](size_t n) {
    for (size_t i = 0; i < n; ++i, ++written) {
      const PdbRecord& record = db.records[written];
      AppendU32(out, static_cast<uint32_t>(record_offset));
      AppendU8(out, static_cast<uint8_t>((record.flags & kRecordFlagsMask) | (record.category & kRecordCategoryMask)));
      AppendU24(out, record.unique_id);
      record_offset += record.data.size();
    }
  };
  append_entries(first_list);
  // Each further list starts right after the entries of the one before it.
  while (written < count) {
    const size_t n = std::min(count - written, kPdbMaxRecordsPerList);
    const bool more = written + n < count;
    AppendU32(out, more ? static_cast<uint32_t>(out.size() + kListHeaderSize + n * kEntrySize) : 0);
    AppendU16(out, static_cast<uint16_t>(n));
    append_entries(n);
  }
  out.append(2, '\0');
  out.append(db.app_info);
  out.append(db.sort_info);
  write(out);
  TRecordRuns runs(write);
  for (const PdbRecord& record : db.records) runs.Add(record.data);
  runs.Finish();
}

std::string SerializePdb(const PdbDatabase& db) {
  std::string out;
  WritePdb(db, [&out](std::string_view piece) { out.append(piece); });
  return out;
}
