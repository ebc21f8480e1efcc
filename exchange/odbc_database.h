// TmDataBase: one ODBC connection, opened from key=value lines joined into a connection string,
// with the completion mode, cursor library, isolation and transactions the conduit asks for.
#pragma once

#include <sql.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/odbc_session.h"

class TmQuery;

enum class TDriverCompletion { sdPrompt, sdComplete, sdCompleteReq, sdNoPrompt };
enum class TOdbcCursors { ocUSE_IF_NEEDED, ocUSE_ODBC, ocUSE_DRIVER };
enum class TTransIsolation { TxnDefault, TxnDirtyRead, TxnReadCommitted, TxnRepeatableRead, TxnSerializable };

class TmDataBase {
 public:
  explicit TmDataBase(TmSession& session = DefaultSession()) : session_(session) {}
  // Disconnects; errors while doing so are dropped.
  ~TmDataBase();
  TmDataBase(const TmDataBase&) = delete;
  TmDataBase& operator=(const TmDataBase&) = delete;

  // Lines "key=value", joined with ";" in list order into the connection string.
  std::vector<std::string> Params;
  TDriverCompletion DriverCompletion = TDriverCompletion::sdCompleteReq;
  TOdbcCursors OdbcCursors = TOdbcCursors::ocUSE_DRIVER;
  TTransIsolation TransIsolation = TTransIsolation::TxnDefault;
  bool ReadOnly = false;
  // Receives the diagnostics of a connection call that succeeded with information.
  std::function<void(const std::string&)> OnSuccessWithInfo;

  // The value of the "DSN" line of Params (empty when there is none); setting replaces or adds it.
  std::string DataBaseName() const;
  void SetDataBaseName(const std::string& name);

  std::string ConnectionString() const;
  // What the driver returned as the completed connection string.
  const std::string& CompletedConnectionString() const { return completed_; }

  // Opens the connection (nothing when open). A cancelled driver prompt throws ESQLerror
  // "Database not opened"; a warning 01000 is ignored; other failures throw ESQLerror and leave
  // the connection closed.
  void Connect();
  // Closes every attached query, disconnects and frees the handle.
  void Disconnect();
  bool Connected() const { return connection_ != SQL_NULL_HDBC; }
  SQLHDBC Handle() const { return connection_; }

  // "Driver not support transactions" when the driver has none; otherwise auto-commit off.
  void StartTransaction();
  // Commits; auto-commit stays off, so later statements run in a new transaction.
  void Commit();

  void Attach(TmQuery* query);
  void Detach(TmQuery* query);

 private:
  void ConfigureBeforeConnect();
  void DriverConnect();
  void ConfigureAfterConnect();

  TmSession& session_;
  SQLHDBC connection_ = SQL_NULL_HDBC;
  std::string completed_;
  std::vector<TmQuery*> queries_;
};
