#include "tools/handheld_commands.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <memory>

#include "conduit/desktop_libraries.h"
#include "conduit/sync_error.h"
#include "core/atomic_file.h"
#include "core/collation.h"
#include "hotsync/device/device_database.h"
#include "hotsync/device/pdb_file.h"
#include "tools/semicolon_file.h"

namespace {

std::string FourCharCodeText(uint32_t code) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i) {
    const auto c = static_cast<unsigned char>(code >> (24 - 8 * i));
    text[i] = c >= 32 && c < 127 ? static_cast<char>(c) : '?';
  }
  return text;
}

uint32_t RecordCountOnHandheld(const std::string& name) {
  const TSyncManagerCalls& sync = Desktop().Sync;
  uint8_t handle = 0;
  CheckSyncResult(sync.OpenDB(name.c_str(), 0, &handle, SYNC_MODE_READ));
  uint32_t count = 0;
  const int32_t counted = sync.GetDBRecordCount(handle, &count);
  const int32_t closed = sync.CloseDB(handle);
  CheckSyncResult(counted);
  CheckSyncResult(closed);
  return count;
}

TpfgPalmRemoteTable& KnownTable(TPalmCatalogue& catalogue, const std::string& database) {
  if (TpfgPalmRemoteTable* table = catalogue.FindByDatabaseName(database)) return *table;
  throw Exception("The database \"" + database + "\" is not one of the catalogue's 23 databases");
}

// For each field of the table, the column of the file that holds it, or -1.
std::vector<int> ColumnsOfFields(TpfgPalmRemoteTable& table, const TSemicolonFile& file, const std::string& path) {
  std::vector<int> columns(table.Fields().size(), -1);
  for (size_t column = 0; column < file.header.size(); ++column) {
    const TpfgPalmField* field = table.FindField(file.header[column]);
    if (field == nullptr) {
      throw Exception(path + ":1: the column \"" + file.header[column] + "\" is not a field of " + table.TableName());
    }
    columns[field->Index()] = static_cast<int>(column);
  }
  return columns;
}

std::vector<std::string> FieldTexts(const TSemicolonRow& row, const std::vector<int>& columns) {
  std::vector<std::string> texts(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] >= 0) texts[i] = row.values[columns[i]];
  }
  return texts;
}

// A value the handheld would cut at its NUL byte, shifting the fields after it.
void RefuseNulBytes(TpfgPalmRemoteTable& table, const std::vector<std::string>& texts) {
  for (size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].find('\0') != std::string::npos)
      throw Exception("the value of " + table.Fields()[i].FieldName() + " holds a NUL byte");
  }
}

// Packs every row in memory first, so a bad value or a record the handheld cannot hold is found
// before the database is emptied.
void CheckRowsFit(TpfgPalmRemoteTable& table, const TSemicolonFile& file, const std::vector<int>& columns,
                  const std::string& path) {
  const TRecordLayout layout{table.Options().Contains(opNumAlign), table.Options().Contains(opStringsAlign)};
  std::vector<uint8_t> record;
  for (const TSemicolonRow& row : file.rows) {
    try {
      const std::vector<std::string> texts = FieldTexts(row, columns);
      RefuseNulBytes(table, texts);
      LocalToRemoteRecord(table.FieldDefs(), layout, texts, record, CurrentFormats());
      if (record.size() > kMaxRecordSize)
        throw Exception("the record takes " + std::to_string(record.size()) + " bytes, more than the " +
                        std::to_string(kMaxRecordSize) + " a handheld record holds");
    } catch (const Exception& error) {
      throw Exception(path + ":" + std::to_string(row.line) + ": " + error.what());
    }
  }
}

}  // namespace

int ListDatabases(const std::string& directory, std::ostream& out) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    if (entry.is_regular_file() && entry.path().extension() == ".pdb") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  out << std::left << std::setw(32) << "Database"
      << " Type Crtr Version  Records\n";
  int unreadable = 0;
  for (const auto& path : files) {
    try {
      const PdbDatabase database = ParsePdb(std::make_shared<const std::string>(ReadWholeFile(path.string())), path.string());
      out << std::left << std::setw(32) << database.name << ' ' << FourCharCodeText(database.type) << ' '
          << FourCharCodeText(database.creator) << ' ' << std::right << std::setw(7) << database.version << ' '
          << std::setw(8) << RecordCountOnHandheld(database.name) << '\n';
    } catch (const Exception& error) {
      out << path.filename().string() << ": " << error.what() << '\n';
      ++unreadable;
    }
  }
  return unreadable;
}

void DumpDatabase(TPalmCatalogue& catalogue, const std::string& database, std::ostream& out,
                  const std::string& line_end, std::string (*convert)(std::string_view)) {
  TpfgPalmRemoteTable& table = KnownTable(catalogue, database);
  auto write = [&](const std::string& line) { out << (convert != nullptr ? convert(line) : line) << line_end; };
  std::vector<std::string> values;
  for (const TpfgPalmField& field : table.Fields()) values.push_back(field.FieldName());
  write(SemicolonLine(values, true));

  table.SetReadOnly(true);
  table.Open();
  for (const int count = table.RecordCount(); table.RecNo() < count; table.Next()) {
    for (size_t i = 0; i < values.size(); ++i) values[i] = table.Fields()[i].AsString();
    write(SemicolonLine(values, false));
  }
  table.Close();
}

size_t LoadDatabase(TPalmCatalogue& catalogue, const std::string& database, const std::string& path) {
  TpfgPalmRemoteTable& table = KnownTable(catalogue, database);
  const TSemicolonFile file = ParseSemicolonFile(ReadWholeFile(path), path);
  const std::vector<int> columns = ColumnsOfFields(table, file, path);
  CheckRowsFit(table, file, columns, path);

  if (table.Exists()) {
    table.Open();
  } else {
    table.CreateTable();
  }
  table.EmptyTable();
  std::vector<TpfgPalmField>& fields = table.Fields();
  for (const TSemicolonRow& row : file.rows) {
    try {
      table.Insert();
      for (size_t i = 0; i < fields.size(); ++i) {
        if (columns[i] >= 0) fields[i].SetAsString(row.values[columns[i]]);
      }
      table.Post();
    } catch (const Exception& error) {
      throw Exception(path + ":" + std::to_string(row.line) + ": " + error.what());
    }
  }
  table.Close();
  return file.rows.size();
}
