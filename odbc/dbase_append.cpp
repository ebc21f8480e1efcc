#include "odbc/dbase_append.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "odbc/driver_error.h"

namespace {

// The table file header, as far as appending needs it (little-endian):
//   OFFSET  SIZE  MEANING
//        4     4  number of records
//        8     2  header length: where the first record starts
//       10     2  record length: deletion flag plus every field's width
constexpr size_t kHeaderSize = 32;
constexpr off_t kRecordCountOffset = 4;
constexpr unsigned char kEndOfFile = 0x1A;
constexpr char kLiveRecord = ' ';

class TableFile {
 public:
  explicit TableFile(const std::string& path) : path_(path), descriptor_(open(path.c_str(), O_RDWR | O_CLOEXEC)) {
    if (descriptor_ < 0) Fail("Cannot open");
  }
  ~TableFile() { close(descriptor_); }
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  void ReadAt(off_t offset, unsigned char* bytes, size_t count) {
    size_t done = 0;
    while (done < count) {
      const ssize_t read = pread(descriptor_, bytes + done, count - done, offset + static_cast<off_t>(done));
      if (read < 0 && errno == EINTR) continue;
      if (read <= 0) throw DriverError("HY000", "\"" + path_ + "\" is not a dBase file: the header is cut short");
      done += static_cast<size_t>(read);
    }
  }

  void WriteAt(off_t offset, const void* bytes, size_t count) {
    const auto* data = static_cast<const unsigned char*>(bytes);
    size_t done = 0;
    while (done < count) {
      const ssize_t written = pwrite(descriptor_, data + done, count - done, offset + static_cast<off_t>(done));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) Fail("Cannot write");
      done += static_cast<size_t>(written);
    }
  }

  void Sync() {
    if (fsync(descriptor_) != 0) Fail("Cannot flush to disk");
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw DriverError("HY000", std::string(what) + " \"" + path_ + "\": " + std::strerror(errno));
  }

  std::string path_;
  int descriptor_;
};

uint32_t LittleEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

size_t RecordLength(const std::vector<DbaseField>& fields) {
  size_t length = 1;
  for (const DbaseField& field : fields) length += static_cast<size_t>(field.width);
  return length;
}

// One record: the live flag, then each field's text cut or padded with blanks to its width.
void AppendRecord(std::string& bytes, const std::vector<DbaseField>& fields, const std::vector<Value>& row) {
  bytes += kLiveRecord;
  for (size_t column = 0; column < fields.size(); ++column) {
    const size_t width = static_cast<size_t>(fields[column].width);
    std::string text = column < row.size() ? DbaseFieldText(row[column], fields[column]) : std::string();
    text.resize(width, ' ');
    bytes += text;
  }
}

}  // namespace

void AppendDbaseRecords(const std::string& path, const std::vector<DbaseField>& fields,
                        const std::vector<std::vector<Value>>& rows, bool durable) {
  if (rows.empty()) return;
  TableFile file(path);
  unsigned char header[kHeaderSize];
  file.ReadAt(0, header, sizeof header);
  const uint32_t records = LittleEndian(header + 4, 4);
  const uint32_t header_length = LittleEndian(header + 8, 2);
  const size_t record_length = RecordLength(fields);
  if (LittleEndian(header + 10, 2) != record_length) {
    throw DriverError("HY000", "\"" + path + "\" is not a dBase file: the record length does not match its fields");
  }
  if (rows.size() > UINT32_MAX - records) throw DriverError("HY000", "\"" + path + "\" cannot hold more records");

  std::string bytes;
  bytes.reserve(rows.size() * record_length + 1);
  for (const std::vector<Value>& row : rows) AppendRecord(bytes, fields, row);
  bytes += static_cast<char>(kEndOfFile);
  file.WriteAt(static_cast<off_t>(header_length + static_cast<uint64_t>(records) * record_length), bytes.data(),
               bytes.size());
  if (durable) file.Sync();

  const uint32_t count = records + static_cast<uint32_t>(rows.size());
  const unsigned char count_bytes[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                        static_cast<unsigned char>(count >> 16),
                                        static_cast<unsigned char>(count >> 24)};
  file.WriteAt(kRecordCountOffset, count_bytes, sizeof count_bytes);
  if (durable) file.Sync();
}
