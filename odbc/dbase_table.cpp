#include "odbc/dbase_table.h"

#include <fcntl.h>
#include <shapefil.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "odbc/driver_error.h"

namespace {

struct DbfCloser {
  void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
using DbfHandle = std::unique_ptr<DBFInfo, DbfCloser>;

// shapelib derives the names it opens from the one given ("x.Dbf" becomes "x.dbf", then "x.DBF");
// the hook opens the file that was found instead, and any side file under its own name.
thread_local const char* opening_path = nullptr;

SAFile OpenFoundFile(const char* name, const char* access) {
  const size_t length = std::strlen(name);
  const bool side_file = length >= 4 && strcasecmp(name + length - 4, ".cpg") == 0;
  return reinterpret_cast<SAFile>(std::fopen(side_file || opening_path == nullptr ? name : opening_path, access));
}

DbfHandle OpenForReading(const std::string& path) {
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.FOpen = OpenFoundFile;
  opening_path = path.c_str();
  DbfHandle handle(DBFOpenLL(path.c_str(), "rb", &hooks));
  opening_path = nullptr;
  return handle;
}

[[noreturn]] void NotDbase(const std::string& path, const std::string& reason) {
  throw DriverError("HY000", "\"" + path + "\" is not a dBase file: " + reason);
}

unsigned ReadLittleEndian(const unsigned char* bytes, int count) {
  unsigned value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// The header checks shapelib leaves to its callers: a known version byte and sizes that fit the file.
void CheckHeader(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw DriverError("HY000", "Cannot open \"" + path + "\": " + std::strerror(errno));
  unsigned char header[32] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  if (file.gcount() != sizeof header) NotDbase(path, "the file is shorter than a dBase header");
  static const unsigned char kVersions[] = {0x02, 0x03, 0x04, 0x05, 0x30, 0x31, 0x32, 0x43,
                                            0x63, 0x83, 0x8B, 0x8E, 0xCB, 0xE5, 0xF5, 0xFB};
  if (std::memchr(kVersions, header[0], sizeof kVersions) == nullptr) NotDbase(path, "unknown version byte");
  const unsigned long long size = std::filesystem::file_size(path);
  const unsigned records = ReadLittleEndian(header + 4, 4);
  const unsigned header_length = ReadLittleEndian(header + 8, 2);
  const unsigned record_length = ReadLittleEndian(header + 10, 2);
  if (header_length < 33 || header_length > size) NotDbase(path, "bad header length");
  if (record_length < 1) NotDbase(path, "bad record length");
  if (header_length + static_cast<unsigned long long>(records) * record_length > size) {
    NotDbase(path, "the file is shorter than its records");
  }
}

Value ReadField(DBFHandle handle, int row, int column, const DbaseField& field) {
  if (DBFIsAttributeNULL(handle, row, column)) return Value{};
  const char* raw = DBFReadStringAttribute(handle, row, column);
  std::string text = raw != nullptr ? raw : "";
  while (!text.empty() && text.back() == ' ') text.pop_back();
  switch (field.type) {
    case 'N':
    case 'F': {
      if (field.decimals == 0 && text.find_first_of(".eE") == std::string::npos) {
        char* end = nullptr;
        const long long number = std::strtoll(text.c_str(), &end, 10);
        if (end != text.c_str() && *end == '\0') return static_cast<int64_t>(number);
      }
      char* end = nullptr;
      const double number = std::strtod(text.c_str(), &end);
      if (end != text.c_str()) return number;
      return Value{};
    }
    case 'D': {
      int year = 0, month = 0, day = 0;
      if (std::sscanf(text.c_str(), "%4d%2d%2d", &year, &month, &day) == 3) return Date{year, month, day};
      return Value{};
    }
    case 'L':
      if (text == "T" || text == "t" || text == "Y" || text == "y") return int64_t{1};
      if (text == "F" || text == "f" || text == "N" || text == "n") return int64_t{0};
      return Value{};
    default:
      return text;
  }
}

std::string FieldText(const Value& value, const DbaseField& field) {
  char text[64];
  switch (field.type) {
    case 'D': {
      const Date& date = std::get<Date>(value);
      std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
      return text;
    }
    case 'L':
      return std::get<int64_t>(value) != 0 ? "T" : "F";
    case 'N':
    case 'F':
      if (const auto* integer = std::get_if<int64_t>(&value)) {
        std::snprintf(text, sizeof text, "%*lld", field.width, static_cast<long long>(*integer));
      } else {
        std::snprintf(text, sizeof text, "%*.*f", field.width, field.decimals, std::get<double>(value));
      }
      return text;
    default:
      return std::get<std::string>(value);
  }
}

void SyncPath(const std::string& path, int flags) {
  const int descriptor = open(path.c_str(), flags);
  if (descriptor < 0 || fsync(descriptor) != 0) {
    const int error = errno;
    if (descriptor >= 0) close(descriptor);
    throw DriverError("HY000", "Cannot flush \"" + path + "\" to disk: " + std::strerror(error));
  }
  close(descriptor);
}

// The table written into a new file whose name ends with ".dbf" (shapelib puts that ending in place of any other).
void WriteFile(const std::string& path, const DbaseTable& table) {
  DbfHandle handle(DBFCreateEx(path.c_str(), "LDID/201"));
  if (!handle) throw DriverError("HY000", "Cannot create \"" + path + "\": " + std::strerror(errno));
  for (const DbaseField& field : table.fields) {
    if (DBFAddNativeFieldType(handle.get(), field.name.c_str(), field.type, field.width, field.decimals) < 0) {
      throw DriverError("HY000", "Cannot add the field " + field.name + " to \"" + path + "\"");
    }
  }
  for (size_t row = 0; row < table.rows.size(); ++row) {
    for (size_t column = 0; column < table.fields.size(); ++column) {
      const Value& value = table.rows[row][column];
      const int r = static_cast<int>(row);
      const int c = static_cast<int>(column);
      // An empty value is stored as blanks, which every dBase reader takes for "no value".
      const std::string text = DbaseFieldText(value, table.fields[column]);
      const bool written = DBFWriteAttributeDirectly(handle.get(), r, c, const_cast<char*>(text.c_str()));
      if (!written) throw DriverError("HY000", "Cannot write row " + std::to_string(row + 1) + " of \"" + path + "\"");
    }
  }
  if (table.rows.empty()) DBFUpdateHeader(handle.get());
}

std::vector<DbaseField> ReadFields(const std::string& path, DBFHandle handle) {
  std::vector<DbaseField> fields;
  const int field_count = DBFGetFieldCount(handle);
  int record_length = 1;
  for (int i = 0; i < field_count; ++i) {
    char name[XBASE_FLDNAME_LEN_READ + 1] = {};
    DbaseField field;
    DBFGetFieldInfo(handle, i, name, &field.width, &field.decimals);
    field.name = name;
    field.type = DBFGetNativeFieldType(handle, i);
    if (field.width <= 0) NotDbase(path, "field " + field.name + " has no width");
    record_length += field.width;
    fields.push_back(field);
  }
  std::ifstream file(path, std::ios::binary);
  unsigned char header[12] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  if (static_cast<int>(ReadLittleEndian(header + 10, 2)) != record_length) {
    NotDbase(path, "the record length does not match its fields");
  }
  return fields;
}

DbfHandle OpenChecked(const std::string& path) {
  CheckHeader(path);
  DbfHandle handle = OpenForReading(path);
  if (!handle) NotDbase(path, "the field descriptors cannot be read");
  return handle;
}

}  // namespace

std::string DbaseFieldText(const Value& value, const DbaseField& field) {
  return IsNull(value) ? std::string() : FieldText(value, field);
}

std::vector<DbaseField> ReadDbaseFields(const std::string& path) {
  const DbfHandle handle = OpenChecked(path);
  return ReadFields(path, handle.get());
}

DbaseTable ReadDbaseTable(const std::string& path) {
  const DbfHandle handle = OpenChecked(path);
  DbaseTable table;
  table.fields = ReadFields(path, handle.get());
  const int field_count = static_cast<int>(table.fields.size());
  const int row_count = DBFGetRecordCount(handle.get());
  for (int row = 0; row < row_count; ++row) {
    if (DBFIsRecordDeleted(handle.get(), row)) continue;
    std::vector<Value> values;
    for (int column = 0; column < field_count; ++column) {
      values.push_back(ReadField(handle.get(), row, column, table.fields[static_cast<size_t>(column)]));
    }
    table.rows.push_back(std::move(values));
  }
  return table;
}

void WriteDbaseTable(const std::string& path, const DbaseTable& table, bool durable) {
  const std::filesystem::path target(path);
  const std::string directory = target.parent_path().empty() ? "." : target.parent_path().string();
  const std::string temporary = directory + "/." + target.stem().string() + ".writing." + std::to_string(getpid());
  try {
    WriteFile(temporary + ".dbf", table);
    if (durable) SyncPath(temporary + ".dbf", O_RDONLY);
    if (std::rename((temporary + ".dbf").c_str(), path.c_str()) != 0) {
      throw DriverError("HY000", "Cannot write \"" + path + "\": " + std::strerror(errno));
    }
  } catch (...) {
    std::remove((temporary + ".dbf").c_str());
    throw;
  }
  if (durable) SyncPath(directory, O_RDONLY | O_DIRECTORY);
}
