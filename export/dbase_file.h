// TDbaseFile: one dBase table of the accounting system read whole into memory through shapelib,
// its header first checked against the file's real size, its live records kept as stored bytes
// (the texts of a table marked as Russian MS-DOS recoded to Windows-1251).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exceptions.h"

// A file that is no dBase table, or whose header promises more than the file holds.
class EDbaseFileError : public Exception {
 public:
  using Exception::Exception;
};

// A column asked for that the table lacks (after its message was shown).
class EDbaseFieldNotFound : public EDbaseFileError {
 public:
  using EDbaseFileError::EDbaseFileError;
};

struct TDbaseField {
  std::string Name;  // as stored: at most 10 characters
  char Type = 'C';   // 'C', 'N', 'F', 'D', 'L', or any other letter read as text
  int Width = 0;
  int Decimals = 0;
};

// The longest name a dBase column holds; longer names are matched on this many characters.
inline constexpr size_t kDbaseNameLength = 10;

class TDbaseFile {
 public:
  // Reads every record not marked deleted. Throws EDbaseFileError naming the path for a file that
  // cannot be opened or is no dBase table; nothing is handed to shapelib before the sizes fit.
  static TDbaseFile Read(const std::string& path);

  const std::vector<TDbaseField>& Fields() const { return fields_; }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  // One field of one live record, its bytes as stored (blanks included).
  std::string_view Value(int record, int column) const;
  // The first field whose name equals name's first 10 characters ignoring case; -1 when none.
  int FindField(std::string_view name) const;

 private:
  // The 'C' fields of every record from 866 to Windows-1251.
  void RecodeTexts();

  std::vector<TDbaseField> fields_;
  std::vector<size_t> offsets_;       // of each field within a record, after the deletion flag
  std::vector<std::string> records_;  // without the deletion flag
};
