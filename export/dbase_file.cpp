#include "export/dbase_file.h"

#include <shapefil.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "core/collation.h"
#include "export/dbase_code_page.h"

namespace {

constexpr size_t kFileHeaderSize = 32;
constexpr size_t kFieldDescriptorSize = 32;
constexpr char kDeletedFlag = '*';

struct TDbaseHeader {
  unsigned RecordCount = 0;
  unsigned HeaderLength = 0;
  unsigned RecordLength = 0;
  unsigned char LanguageDriver = 0;
};

struct TDbfCloser {
  void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
using TDbfHandle = std::unique_ptr<DBFInfo, TDbfCloser>;

[[noreturn]] void NotDbase(const std::string& path, const std::string& reason) {
  throw EDbaseFileError(path + ": not a dBase table: " + reason);
}

unsigned LittleEndian(const unsigned char* bytes, int count) {
  unsigned value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// shapelib trusts the header's sizes; they are checked here against the file on disk.
TDbaseHeader CheckedHeader(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw EDbaseFileError(path + ": cannot be opened: " + std::strerror(errno));
  unsigned char bytes[kFileHeaderSize] = {};
  file.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  static const unsigned char kVersions[] = {0x02, 0x03, 0x04, 0x05, 0x30, 0x31, 0x32, 0x43,
                                            0x63, 0x83, 0x8B, 0x8E, 0xCB, 0xE5, 0xF5, 0xFB};
  if (file.gcount() > 0 && std::memchr(kVersions, bytes[0], sizeof kVersions) == nullptr) {
    NotDbase(path, "unknown version byte");
  }
  if (static_cast<size_t>(file.gcount()) != sizeof bytes) NotDbase(path, "shorter than a dBase header");
  std::error_code error;
  const unsigned long long size = std::filesystem::file_size(path, error);
  if (error) throw EDbaseFileError(path + ": cannot be read: " + error.message());
  const TDbaseHeader header{LittleEndian(bytes + 4, 4), LittleEndian(bytes + 8, 2), LittleEndian(bytes + 10, 2),
                            bytes[29]};
  if (header.HeaderLength < kFileHeaderSize + 1 || header.HeaderLength > size) NotDbase(path, "bad header length");
  if (header.RecordLength < 1) NotDbase(path, "bad record length");
  if (header.HeaderLength + static_cast<unsigned long long>(header.RecordCount) * header.RecordLength > size) {
    NotDbase(path, "shorter than its records");
  }
  return header;
}

// shapelib opens names it derives from the one given ("x.Dbf" becomes "x.dbf", then "x.DBF"); the
// hook opens the file that was found instead, and any side file under its own name.
thread_local const char* opening_path = nullptr;

SAFile OpenFoundFile(const char* name, const char* access) {
  const size_t length = std::strlen(name);
  const bool side_file = length >= 4 && strcasecmp(name + length - 4, ".dbf") != 0;
  return reinterpret_cast<SAFile>(std::fopen(side_file || opening_path == nullptr ? name : opening_path, access));
}

void IgnoreLibraryMessage(const char*) {}

TDbfHandle OpenWithShapelib(const std::string& path) {
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.FOpen = OpenFoundFile;
  hooks.Error = IgnoreLibraryMessage;
  opening_path = path.c_str();
  TDbfHandle handle(DBFOpenLL(path.c_str(), "rb", &hooks));
  opening_path = nullptr;
  if (!handle) NotDbase(path, "the field descriptors cannot be read");
  return handle;
}

}  // namespace

TDbaseFile TDbaseFile::Read(const std::string& path) {
  const TDbaseHeader header = CheckedHeader(path);
  const TDbfHandle handle = OpenWithShapelib(path);
  TDbaseFile table;
  const int field_count = DBFGetFieldCount(handle.get());
  if (static_cast<size_t>(field_count) > (header.HeaderLength - kFileHeaderSize) / kFieldDescriptorSize) {
    NotDbase(path, "more fields than its header holds");
  }
  size_t offset = 0;
  for (int i = 0; i < field_count; ++i) {
    char name[XBASE_FLDNAME_LEN_READ + 1] = {};
    TDbaseField field;
    DBFGetFieldInfo(handle.get(), i, name, &field.Width, &field.Decimals);
    field.Name = name;
    field.Type = DBFGetNativeFieldType(handle.get(), i);
    if (field.Width <= 0) NotDbase(path, "field " + field.Name + " has no width");
    table.offsets_.push_back(offset);
    offset += static_cast<size_t>(field.Width);
    table.fields_.push_back(std::move(field));
  }
  if (offset + 1 != header.RecordLength) NotDbase(path, "the record length does not match its fields");
  const int record_count = DBFGetRecordCount(handle.get());
  for (int row = 0; row < record_count; ++row) {
    const char* record = DBFReadTuple(handle.get(), row);
    if (record == nullptr) NotDbase(path, "record " + std::to_string(row + 1) + " cannot be read");
    if (record[0] == kDeletedFlag) continue;
    table.records_.emplace_back(record + 1, offset);
  }
  if (IsDosCyrillic(header.LanguageDriver)) table.RecodeTexts();
  return table;
}

void TDbaseFile::RecodeTexts() {
  for (size_t column = 0; column < fields_.size(); ++column) {
    if (fields_[column].Type != 'C') continue;
    const size_t width = static_cast<size_t>(fields_[column].Width);
    for (std::string& record : records_) {
      record.replace(offsets_[column], width,
                     DosCyrillicToAnsi(std::string_view(record).substr(offsets_[column], width)));
    }
  }
}

std::string_view TDbaseFile::Value(int record, int column) const {
  const TDbaseField& field = fields_.at(static_cast<size_t>(column));
  return std::string_view(records_.at(static_cast<size_t>(record)))
      .substr(offsets_[static_cast<size_t>(column)], static_cast<size_t>(field.Width));
}

int TDbaseFile::FindField(std::string_view name) const {
  const std::string_view wanted = name.substr(0, std::min(name.size(), kDbaseNameLength));
  for (size_t i = 0; i < fields_.size(); ++i) {
    const std::string_view stored = std::string_view(fields_[i].Name).substr(0, kDbaseNameLength);
    if (SameText(stored, wanted)) return static_cast<int>(i);
  }
  return -1;
}
