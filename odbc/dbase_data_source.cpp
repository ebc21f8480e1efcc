#include "odbc/dbase_data_source.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>

#include "core/file_lookup.h"
#include "odbc/dbase_append.h"
#include "odbc/dbase_statement.h"
#include "odbc/driver_error.h"

namespace {

std::string Attribute(const ConnectionAttributes& attributes, const char* key) {
  const auto found = attributes.find(key);
  return found != attributes.end() ? found->second : std::string();
}

bool EndsWithDbf(const std::string& name) {
  return name.size() >= 4 && strcasecmp(name.c_str() + name.size() - 4, ".dbf") == 0;
}

}  // namespace

DbaseDataSource::DbaseDataSource(const ConnectionAttributes& attributes) {
  std::string driver = Attribute(attributes, "DRIVER");
  std::transform(driver.begin(), driver.end(), driver.begin(), [](unsigned char c) { return std::toupper(c); });
  family_ = driver.find("VFP") != std::string::npos ? DbaseFamily::FoxPro : DbaseFamily::Dbase;
  directory_ = Attribute(attributes, "SOURCEDB");
  if (family_ == DbaseFamily::Dbase && !Attribute(attributes, "DEFAULTDIR").empty()) {
    directory_ = Attribute(attributes, "DEFAULTDIR");
  }
  if (directory_.empty()) throw DriverError("08001", "The connection string names no directory (SourceDB=)");
  std::error_code error;
  if (!std::filesystem::is_directory(directory_, error)) {
    throw DriverError("08001", "The directory \"" + directory_ + "\" does not exist");
  }
}

std::unique_ptr<PreparedStatement> DbaseDataSource::Prepare(const std::string& sql) {
  return std::make_unique<DbaseStatement>(*this, ParseSqlStatement(sql));
}

void DbaseDataSource::SetAutoCommit(bool on) {
  if (!on && !SupportsTransactions()) {
    throw DriverError("HYC00", "The dBase family of this driver does not support transactions");
  }
  if (on && !auto_commit_) EndTransaction(true);
  auto_commit_ = on;
}

void DbaseDataSource::EndTransaction(bool commit) {
  std::map<std::string, std::vector<std::vector<Value>>> rows;
  rows.swap(pending_rows_);
  if (!commit) return;
  for (const auto& [path, table_rows] : rows) AppendDbaseRecords(path, Fields(path), table_rows, Durable());
}

std::string DbaseDataSource::TablePath(const std::string& name) const {
  std::filesystem::path given(name);
  std::string file = given.filename().string();
  if (file.empty()) throw DriverError("42000", "\"" + name + "\" names no table file");
  if (!EndsWithDbf(file)) file += ".dbf";
  const std::string directory =
      given.has_parent_path() ? (given.is_absolute() ? given.parent_path().string()
                                                     : WithTrailingSlash(directory_) + given.parent_path().string())
                              : directory_;
  // The same name is looked up for every insert: the file found last time serves while it exists.
  const std::string requested = WithTrailingSlash(directory) + file;
  const auto cached = resolved_paths_.find(requested);
  std::error_code error;
  if (cached != resolved_paths_.end() && std::filesystem::exists(cached->second, error)) return cached->second;
  std::string path = PathNoCase(directory, file);
  if (std::filesystem::exists(path, error)) resolved_paths_[requested] = path;
  return path;
}

bool DbaseDataSource::TableExists(const std::string& path) const {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

DbaseTable DbaseDataSource::ReadTable(const std::string& path) const {
  if (!TableExists(path)) throw DriverError("42S02", "Table not found: \"" + path + "\"");
  DbaseTable table = ReadDbaseTable(path);
  const auto pending = pending_rows_.find(path);
  if (pending != pending_rows_.end())
    table.rows.insert(table.rows.end(), pending->second.begin(), pending->second.end());
  return table;
}

const std::vector<DbaseField>& DbaseDataSource::Fields(const std::string& path) {
  const auto found = fields_.find(path);
  if (found != fields_.end()) return found->second;
  if (!TableExists(path)) throw DriverError("42S02", "Table not found: \"" + path + "\"");
  return fields_[path] = ReadDbaseFields(path);
}

void DbaseDataSource::InsertRow(const std::string& path, std::vector<Value> row) {
  if (!auto_commit_) {
    pending_rows_[path].push_back(std::move(row));
    return;
  }
  AppendDbaseRecords(path, Fields(path), {std::move(row)}, Durable());
}

void DbaseDataSource::CreateTable(const std::string& path, const DbaseTable& table) {
  if (TableExists(path)) throw DriverError("42S01", "Table already exists: \"" + path + "\"");
  fields_.erase(path);
  pending_rows_.erase(path);
  WriteDbaseTable(path, table, Durable());
}

std::unique_ptr<DataSource> OpenDataSource(const ConnectionAttributes& attributes) {
  return std::make_unique<DbaseDataSource>(attributes);
}

const char* DriverLibraryName() { return "libzp_dbase_odbc.so"; }
