// A dBase table held in memory: read whole from a .dbf file through shapelib's dBase module, and
// written whole to a temporary file beside the target that is then renamed over it.
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

// Values must already fit their fields (see dbase_values.h). With durable, the data reach the disk
// (fsync of the file and of its directory) before the call returns.
void WriteDbaseTable(const std::string& path, const DbaseTable& table, bool durable);
