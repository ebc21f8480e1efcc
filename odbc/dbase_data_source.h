// The dBase driver's connection: a directory of .dbf tables, the family (FoxPro or dBase) named by
// the DRIVER= value, and the rows inserted by the open transaction, kept until it ends.
#pragma once

#include <map>
#include <string>

#include "odbc/data_source.h"
#include "odbc/dbase_table.h"

enum class DbaseFamily { FoxPro, Dbase };

class DbaseDataSource : public DataSource {
 public:
  // Throws DriverError 08001 when the connection names no existing directory.
  explicit DbaseDataSource(const ConnectionAttributes& attributes);

  std::unique_ptr<PreparedStatement> Prepare(const std::string& sql) override;
  bool SupportsTransactions() const override { return family_ == DbaseFamily::FoxPro; }
  void SetAutoCommit(bool on) override;
  void EndTransaction(bool commit) override;
  std::string DbmsName() const override { return family_ == DbaseFamily::FoxPro ? "FoxPro" : "dBase"; }
  int MaxColumnNameLength() const override { return 10; }

  DbaseFamily Family() const { return family_; }
  const std::string& Directory() const { return directory_; }

  // The path of a table named in a statement: directory-qualified or in the connection's directory,
  // ".dbf" added when missing, the file name matched without regard to case.
  std::string TablePath(const std::string& name) const;
  bool TableExists(const std::string& path) const;
  // The table as this connection sees it, uncommitted rows included. Throws 42S02 when missing.
  DbaseTable ReadTable(const std::string& path) const;
  // The table's fields, read from its header once per connection. Throws 42S02 when missing.
  const std::vector<DbaseField>& Fields(const std::string& path);
  // Appends a row that fits Fields(path): to the file at once (auto-commit) or when the
  // transaction commits. FoxPro rows reach the disk before the commit returns.
  void InsertRow(const std::string& path, std::vector<Value> row);
  void CreateTable(const std::string& path, const DbaseTable& table);

 private:
  bool Durable() const { return family_ == DbaseFamily::FoxPro; }

  DbaseFamily family_;
  std::string directory_;
  bool auto_commit_ = true;
  mutable std::map<std::string, std::string> resolved_paths_;  // table name as asked -> file found
  std::map<std::string, std::vector<DbaseField>> fields_;
  std::map<std::string, std::vector<std::vector<Value>>> pending_rows_;
};
