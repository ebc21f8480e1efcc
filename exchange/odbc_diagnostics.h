// Reading the diagnostic records of an ODBC handle and turning a call's return code into the
// layer's behaviour: pass, hand the information to the caller, or throw ESQLerror.
#pragma once

#include <sql.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/odbc_error.h"

struct TDiagRecord {
  std::string SqlState;
  int NativeError = 0;
  std::string Message;
};

// Records 1, 2, ... of the handle until none is left (messages up to 999 characters).
std::vector<TDiagRecord> ReadDiagRecords(SQLSMALLINT handle_type, SQLHANDLE handle);

// The "SQLSTATE:message" form of a record.
std::string RecordText(const TDiagRecord& record);

// The three kinds of call, which name unexpected return codes differently.
enum class TOdbcCallKind { Connection, Statement, DriverInfo };

// The fixed text of a return code that is neither success nor an error, for the call kind:
// a connection call names every code ("SQL_NO_DATA", "unknown SQL result7", ...), a statement
// call only some (": SQL_INVALID_HANDLE", "unknown SQL result"), a driver-information request fewer.
std::string ReturnCodeText(SQLRETURN code, TOdbcCallKind kind);

// The error of a failed call: the first record's "SQLSTATE:message", or the code's name.
ESQLerror MakeSqlError(SQLRETURN code, TOdbcCallKind kind, const std::vector<TDiagRecord>& records);

// Records joined by carriage return and line feed (the text given to OnSuccessWithInfo).
std::string JoinRecords(const std::vector<TDiagRecord>& records);

// Checks a connection call: success passes; success with information hands the joined records
// to on_info (when set); anything else throws.
void CheckConnection(SQLRETURN code, SQLHANDLE handle, SQLSMALLINT handle_type,
                     const std::function<void(const std::string&)>& on_info);
// Checks SQLDriverConnect: "no data" (the user cancelled the driver's prompt) throws ESQLerror
// "Database not opened"; success with information passes the records other than the warning
// 01000 to on_info; other failures throw as CheckConnection does. read_records reads the handle's.
void CheckDriverConnect(SQLRETURN code, const std::function<std::vector<TDiagRecord>()>& read_records,
                        const std::function<void(const std::string&)>& on_info);
// Checks a statement call: anything but success throws, except success with information or an
// error whose first record's SQLSTATE is one of the accepted ones.
void CheckStatement(SQLRETURN code, SQLHSTMT statement, const std::vector<std::string>& accepted = {});
// Checks a driver-information request (SQLGetInfo): success and success with information pass.
void CheckDriverInfo(SQLRETURN code, SQLHDBC connection);
