#include "exchange/odbc_diagnostics.h"

#include <algorithm>

#include "exchange/odbc_api.h"

namespace {

constexpr SQLSMALLINT kMessageBufferSize = 999;
constexpr const char* kIgnoredConnectWarning = "01000";

bool IsAccepted(const std::vector<TDiagRecord>& records, const std::vector<std::string>& accepted) {
  return !records.empty() && std::find(accepted.begin(), accepted.end(), records.front().SqlState) != accepted.end();
}

}  // namespace

std::vector<TDiagRecord> ReadDiagRecords(SQLSMALLINT handle_type, SQLHANDLE handle) {
  std::vector<TDiagRecord> records;
  if (handle == SQL_NULL_HANDLE) return records;
  const TOdbcApi& api = OdbcApi();
  for (SQLSMALLINT number = 1;; ++number) {
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[kMessageBufferSize + 1] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN code =
        api.SQLGetDiagRec(handle_type, handle, number, state, &native, message, kMessageBufferSize, &length);
    if (code != SQL_SUCCESS && code != SQL_SUCCESS_WITH_INFO) break;
    const size_t shown = std::clamp<SQLSMALLINT>(length, 0, kMessageBufferSize - 1);
    records.push_back({reinterpret_cast<const char*>(state), static_cast<int>(native),
                       std::string(reinterpret_cast<const char*>(message), shown)});
  }
  return records;
}

std::string RecordText(const TDiagRecord& record) { return record.SqlState + ":" + record.Message; }

std::string ReturnCodeText(SQLRETURN code, TOdbcCallKind kind) {
  switch (kind) {
    case TOdbcCallKind::Connection:
      switch (code) {
        case SQL_SUCCESS:
          return "SQL_SUCCESS";
        case SQL_SUCCESS_WITH_INFO:
          return "SQL_SUCCESS_WITH_INFO";
        case SQL_STILL_EXECUTING:
          return "SQL_STILL_EXECUTING";
        case SQL_NEED_DATA:
          return "SQL_NEED_DATA";
        case SQL_NO_DATA:
          return "SQL_NO_DATA";
        case SQL_INVALID_HANDLE:
          return "SQL_INVALID_HANDLE";
        case SQL_ERROR:
          return "SQL_ERROR";
        default:
          return "unknown SQL result" + std::to_string(code);
      }
    case TOdbcCallKind::Statement:
      switch (code) {
        case SQL_STILL_EXECUTING:
          return "SQL_STILL_EXECUTING";
        case SQL_NEED_DATA:
          return "SQL_NEED_DATA";
        case SQL_NO_DATA:
          return "SQL_NO_DATA";
        case SQL_INVALID_HANDLE:
          return ": SQL_INVALID_HANDLE";
        default:
          return "unknown SQL result";
      }
    case TOdbcCallKind::DriverInfo:
      switch (code) {
        case SQL_STILL_EXECUTING:
          return "SQL_STILL_EXECUTING";
        case SQL_INVALID_HANDLE:
          return "SQL_INVALID_HANDLE";
        default:
          return "unknown SQL result";
      }
  }
  return "unknown SQL result";
}

ESQLerror MakeSqlError(SQLRETURN code, TOdbcCallKind kind, const std::vector<TDiagRecord>& records) {
  const bool diagnosable = code == SQL_ERROR || code == SQL_SUCCESS_WITH_INFO;
  if (!diagnosable) return ESQLerror(ReturnCodeText(code, kind), "", code, {});
  if (records.empty()) return ESQLerror(code == SQL_ERROR ? "SQL_ERROR" : "SQL_SUCCESS_WITH_INFO", "", code, {});
  std::vector<std::string> texts;
  for (const TDiagRecord& record : records) texts.push_back(RecordText(record));
  const std::string message = texts.front();
  return ESQLerror(message, records.front().SqlState, records.front().NativeError, std::move(texts));
}

std::string JoinRecords(const std::vector<TDiagRecord>& records) {
  std::string text;
  for (const TDiagRecord& record : records) {
    if (!text.empty()) text += "\r\n";
    text += RecordText(record);
  }
  return text;
}

void CheckConnection(SQLRETURN code, SQLHANDLE handle, SQLSMALLINT handle_type,
                     const std::function<void(const std::string&)>& on_info) {
  if (code == SQL_SUCCESS) return;
  if (code == SQL_SUCCESS_WITH_INFO) {
    if (on_info) on_info(JoinRecords(ReadDiagRecords(handle_type, handle)));
    return;
  }
  const std::vector<TDiagRecord> records =
      code == SQL_ERROR ? ReadDiagRecords(handle_type, handle) : std::vector<TDiagRecord>{};
  throw MakeSqlError(code, TOdbcCallKind::Connection, records);
}

void CheckDriverConnect(SQLRETURN code, const std::function<std::vector<TDiagRecord>()>& read_records,
                        const std::function<void(const std::string&)>& on_info) {
  if (code == SQL_SUCCESS) return;
  if (code == SQL_NO_DATA) throw ESQLerror("Database not opened", "", code, {});
  if (code == SQL_SUCCESS_WITH_INFO) {
    std::vector<TDiagRecord> records = read_records();
    std::erase_if(records, [](const TDiagRecord& record) { return record.SqlState == kIgnoredConnectWarning; });
    if (!records.empty() && on_info) on_info(JoinRecords(records));
    return;
  }
  throw MakeSqlError(code, TOdbcCallKind::Connection, code == SQL_ERROR ? read_records() : std::vector<TDiagRecord>{});
}

void CheckStatement(SQLRETURN code, SQLHSTMT statement, const std::vector<std::string>& accepted) {
  if (code == SQL_SUCCESS) return;
  if (code != SQL_ERROR && code != SQL_SUCCESS_WITH_INFO) throw MakeSqlError(code, TOdbcCallKind::Statement, {});
  const std::vector<TDiagRecord> records = ReadDiagRecords(SQL_HANDLE_STMT, statement);
  if (IsAccepted(records, accepted)) return;
  throw MakeSqlError(code, TOdbcCallKind::Statement, records);
}

void CheckDriverInfo(SQLRETURN code, SQLHDBC connection) {
  if (code == SQL_SUCCESS || code == SQL_SUCCESS_WITH_INFO) return;
  const std::vector<TDiagRecord> records =
      code == SQL_ERROR ? ReadDiagRecords(SQL_HANDLE_DBC, connection) : std::vector<TDiagRecord>{};
  throw MakeSqlError(code, TOdbcCallKind::DriverInfo, records);
}
