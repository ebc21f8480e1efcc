// dBase table files: read whole through shapelib's dBase module, created through it in a temporary
// file beside the target that is then renamed over it, and grown by appending records in place.
#pragma once

#include <string>
#include <vector>

#include "odbc/value.h"

struct DbaseField {
  std::string name;
  char type = 'C';  // 'C' text, 'N' number, 'F' float, 'D' date, 'L' logical
  int width = 0;
  int decimals = 0;
};

struct DbaseTable {
  std::vector<DbaseField> fields;
  std::vector<std::vector<Value>> rows;  // numbers without decimals as integers, dates as Date
};

// The language byte written into every table: Windows-1251.
inline constexpr unsigned char kWindows1251LanguageByte = 0xC9;

// Throws DriverError HY000 naming the path when it is not a readable dBase file.
DbaseTable ReadDbaseTable(const std::string& path);
// The same checks, reading only the header and the field descriptors.
std::vector<DbaseField> ReadDbaseFields(const std::string& path);

// Values must already fit their fields (see dbase_values.h). With durable, the data reach the disk
// (fsync of the file and of its directory) before the call returns.
void WriteDbaseTable(const std::string& path, const DbaseTable& table, bool durable);

// A value as the bytes of its field (before padding to the width); a null value is empty.
std::string DbaseFieldText(const Value& value, const DbaseField& field);
