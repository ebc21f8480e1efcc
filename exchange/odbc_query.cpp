#include "exchange/odbc_query.h"

#include <sqlext.h>

#include <algorithm>

#include "core/collation.h"
#include "core/exceptions.h"
#include "exchange/odbc_api.h"
#include "exchange/odbc_database.h"
#include "exchange/odbc_diagnostics.h"
#include "exchange/odbc_error.h"
#include "exchange/odbc_parameter_parser.h"
#include "exchange/odbc_result_columns.h"

namespace {

constexpr const char* kMessageCaption = "ZembraToPalm";
constexpr const char* kOldValuePrefix = "OLD_";
constexpr SQLSMALLINT kColumnNameSize = 256;

SQLULEN CursorAttribute(TCursorType type) {
  switch (type) {
    case TCursorType::ctFwdOnlyCursor:
      return SQL_CURSOR_FORWARD_ONLY;
    case TCursorType::ctStaticCursor:
      return SQL_CURSOR_STATIC;
    case TCursorType::ctKeySetCursor:
      return SQL_CURSOR_KEYSET_DRIVEN;
    case TCursorType::ctDynamicCursor:
      return SQL_CURSOR_DYNAMIC;
  }
  return SQL_CURSOR_FORWARD_ONLY;
}

TCursorType CursorTypeOf(SQLULEN attribute) {
  switch (attribute) {
    case SQL_CURSOR_STATIC:
      return TCursorType::ctStaticCursor;
    case SQL_CURSOR_KEYSET_DRIVEN:
      return TCursorType::ctKeySetCursor;
    case SQL_CURSOR_DYNAMIC:
      return TCursorType::ctDynamicCursor;
    default:
      return TCursorType::ctFwdOnlyCursor;
  }
}

SQLUINTEGER ScrollOption(TCursorType type) {
  switch (type) {
    case TCursorType::ctFwdOnlyCursor:
      return SQL_SO_FORWARD_ONLY;
    case TCursorType::ctStaticCursor:
      return SQL_SO_STATIC;
    case TCursorType::ctKeySetCursor:
      return SQL_SO_KEYSET_DRIVEN;
    case TCursorType::ctDynamicCursor:
      return SQL_SO_DYNAMIC;
  }
  return SQL_SO_FORWARD_ONLY;
}

TCursorType Lower(TCursorType type) {
  switch (type) {
    case TCursorType::ctDynamicCursor:
      return TCursorType::ctKeySetCursor;
    case TCursorType::ctKeySetCursor:
      return TCursorType::ctStaticCursor;
    default:
      return TCursorType::ctFwdOnlyCursor;
  }
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t index = 0; index < lines.size(); ++index) {
    if (index > 0) text += '\n';
    text += lines[index];
  }
  return text;
}

}  // namespace

TmQuery::TmQuery(TmDataBase* database) { SetDataBase(database); }

TmQuery::~TmQuery() {
  try {
    FreeStatement();
  } catch (...) {
  }
  if (database_ != nullptr) database_->Detach(this);
}

void TmQuery::SetDataBase(TmDataBase* database) {
  if (database == database_) return;
  FreeStatement();
  if (database_ != nullptr) database_->Detach(this);
  database_ = database;
  if (database_ != nullptr) database_->Attach(this);
  insert_query_.reset();
}

void TmQuery::SetSQL(std::vector<std::string> lines) {
  FreeStatement();
  sql_ = std::move(lines);
  params_.clear();
  const std::string text = JoinLines(sql_);
  if (!ParamCheck) {
    driver_text_ = text;
    return;
  }
  TParsedStatement parsed = ParseStatementParameters(text);
  driver_text_ = std::move(parsed.DriverText);
  for (std::string& name : parsed.Names) params_.emplace_back(std::move(name));
}

void TmQuery::AddSQL(const std::string& line) {
  std::vector<std::string> lines = sql_;
  lines.push_back(line);
  SetSQL(std::move(lines));
}

TmParam& TmQuery::ParamByName(const std::string& name) {
  for (TmParam& param : params_)
    if (SameText(param.Name, name)) return param;
  throw Exception("Parameter '" + name + "' not found");
}

void TmQuery::Prepare() {
  if (prepared_) return;
  if (database_ == nullptr) throw Exception("ODBC datasource not defined");
  database_->Connect();
  const TOdbcApi& api = OdbcApi();
  SQLHSTMT statement = SQL_NULL_HSTMT;
  CheckConnection(api.SQLAllocHandle(SQL_HANDLE_STMT, database_->Handle(), &statement), database_->Handle(),
                  SQL_HANDLE_DBC, database_->OnSuccessWithInfo);
  statement_ = statement;
  try {
    SettleCursorType();
    CheckStatement(api.SQLPrepare(statement_, reinterpret_cast<SQLCHAR*>(driver_text_.data()), SQL_NTS), statement_);
  } catch (...) {
    FreeStatement();
    throw;
  }
  prepared_ = true;
}

void TmQuery::SettleCursorType() {
  const TOdbcApi& api = OdbcApi();
  SQLUINTEGER offered = 0;
  CheckDriverInfo(api.SQLGetInfo(database_->Handle(), SQL_SCROLL_OPTIONS, &offered, sizeof offered, nullptr),
                  database_->Handle());
  TCursorType wanted = CursorType;
  while (wanted != TCursorType::ctFwdOnlyCursor && (offered & ScrollOption(wanted)) == 0) wanted = Lower(wanted);
  CheckStatement(
      api.SQLSetStmtAttr(statement_, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(CursorAttribute(wanted)), 0),
      statement_, {"01S02", "HYC00"});
  SQLULEN granted = SQL_CURSOR_FORWARD_ONLY;
  CheckStatement(api.SQLGetStmtAttr(statement_, SQL_ATTR_CURSOR_TYPE, &granted, sizeof granted, nullptr), statement_);
  granted_cursor_ = CursorTypeOf(granted);
}

void TmQuery::Execute() {
  Prepare();
  const TOdbcApi& api = OdbcApi();
  BindParameters(statement_, params_, buffers_);
  const SQLRETURN code = api.SQLExecute(statement_);
  // A searched statement that matched no row is no failure: it simply changed nothing.
  if (code == SQL_NO_DATA) return;
  CheckStatement(code, statement_, {"01S02"});
  if (code == SQL_SUCCESS_WITH_INFO) {
    SQLULEN granted = SQL_CURSOR_FORWARD_ONLY;
    CheckStatement(api.SQLGetStmtAttr(statement_, SQL_ATTR_CURSOR_TYPE, &granted, sizeof granted, nullptr), statement_);
    granted_cursor_ = CursorTypeOf(granted);
  }
}

void TmQuery::ExecSQL() {
  Close();
  Execute();
  const TOdbcApi& api = OdbcApi();
  SQLLEN count = -1;
  CheckStatement(api.SQLRowCount(statement_, &count), statement_);
  rows_affected_ = static_cast<long>(count);
  CheckStatement(api.SQLFreeStmt(statement_, SQL_CLOSE), statement_);
}

void TmQuery::Open() {
  Close();
  Execute();
  DescribeFields();
  active_ = true;
  fetched_all_ = false;
  current_ = 0;
  eof_ = !FetchRow();
  ShowRow();
}

void TmQuery::DescribeFields() {
  const TOdbcApi& api = OdbcApi();
  SQLSMALLINT count = 0;
  CheckStatement(api.SQLNumResultCols(statement_, &count), statement_);
  std::vector<std::string> taken;
  for (SQLUSMALLINT column = 1; column <= count; ++column) {
    SQLCHAR name[kColumnNameSize + 1] = {};
    SQLSMALLINT name_length = 0, sql_type = 0, decimals = 0, nullable = 0;
    SQLULEN size = 0;
    CheckStatement(api.SQLDescribeCol(statement_, column, name, kColumnNameSize, &name_length, &sql_type, &size,
                                      &decimals, &nullable),
                   statement_);
    const std::optional<TOdbcDataType> type = FieldTypeForColumn(sql_type, size);
    if (!type) continue;
    const std::string field_name = UniqueFieldName(
        std::string(reinterpret_cast<const char*>(name), std::clamp<SQLSMALLINT>(name_length, 0, kColumnNameSize)),
        taken);
    taken.push_back(field_name);
    const int field_size = *type == TOdbcDataType::ftString ? static_cast<int>(std::min<SQLULEN>(size, 1 << 30)) : 0;
    fields_.emplace_back(field_name, *type, field_size);
    field_columns_.push_back(column);
  }
}

bool TmQuery::FetchRow() {
  const SQLRETURN code = OdbcApi().SQLFetch(statement_);
  if (code == SQL_NO_DATA) {
    fetched_all_ = true;
    return false;
  }
  CheckStatement(code, statement_);
  std::vector<TOdbcValue> row;
  row.reserve(fields_.size());
  for (size_t index = 0; index < fields_.size(); ++index)
    row.push_back(ReadColumnValue(statement_, field_columns_[index], fields_[index].DataType));
  rows_.push_back(std::move(row));
  return true;
}

void TmQuery::ShowRow() {
  const bool has_row = current_ < rows_.size();
  for (size_t index = 0; index < fields_.size(); ++index) {
    fields_[index].Value = has_row ? rows_[current_][index] : TOdbcValue{};
    fields_[index].OldValue = fields_[index].Value;
  }
}

void TmQuery::Close() {
  if (active_ && statement_ != SQL_NULL_HSTMT) OdbcApi().SQLFreeStmt(statement_, SQL_CLOSE);
  active_ = false;
  eof_ = true;
  appending_ = false;
  fields_.clear();
  field_columns_.clear();
  rows_.clear();
  current_ = 0;
}

void TmQuery::RequireActive() const {
  if (!active_) throw Exception("Cannot perform this operation on a closed dataset");
}

void TmQuery::First() {
  RequireActive();
  appending_ = false;
  current_ = 0;
  eof_ = rows_.empty();
  ShowRow();
}

void TmQuery::Next() {
  RequireActive();
  appending_ = false;
  if (eof_) return;
  if (current_ + 1 < rows_.size() || (!fetched_all_ && FetchRow())) {
    ++current_;
    ShowRow();
  } else {
    eof_ = true;
  }
}

int TmQuery::RecordCount() {
  RequireActive();
  while (!fetched_all_ && FetchRow()) {
  }
  return static_cast<int>(rows_.size());
}

TmField* TmQuery::FindField(const std::string& name) {
  for (TmField& field : fields_)
    if (SameText(field.FieldName, name)) return &field;
  return nullptr;
}

TmField& TmQuery::FieldByName(const std::string& name) {
  if (TmField* field = FindField(name)) return *field;
  throw Exception("Field '" + name + "' not found");
}

void TmQuery::Append() {
  RequireActive();
  if (!RequestLive) throw Exception("Cannot modify a read-only dataset");
  appending_ = true;
  for (TmField& field : fields_) {
    field.Value = std::monostate{};
    field.OldValue = std::monostate{};
  }
}

long TmQuery::Post() {
  if (!appending_) return 0;
  if (InsertSQL.empty()) throw Exception("Internal insert is not supported by the driver");
  TmQuery& insert = InsertQuery();
  if (insert.SQL() != InsertSQL) insert.SetSQL(InsertSQL);
  FillInsertParams(insert);
  insert.ExecSQL();
  if (insert.RowsAffected() == 0) MessageSink("No rows affected", kMessageCaption);
  if (insert.RowsAffected() > 1) MessageSink("More then one rows affected", kMessageCaption);
  appending_ = false;
  return insert.RowsAffected();
}

TmQuery& TmQuery::InsertQuery() {
  if (!insert_query_) {
    insert_query_ = std::make_unique<TmQuery>(database_);
    insert_query_->CursorType = CursorType;
  }
  return *insert_query_;
}

void TmQuery::FillInsertParams(TmQuery& insert) {
  const size_t prefix_length = std::char_traits<char>::length(kOldValuePrefix);
  for (TmParam& param : insert.Params()) {
    const bool wants_old = param.Name.size() > prefix_length &&
                           SameText(std::string_view(param.Name).substr(0, prefix_length), kOldValuePrefix);
    const TmField* field = FindField(wants_old ? param.Name.substr(prefix_length) : param.Name);
    if (field == nullptr)
      param.AssignTyped(TOdbcDataType::ftUnknown, std::monostate{});
    else
      param.AssignTyped(field->DataType, wants_old ? field->OldValue : field->Value);
  }
}

void TmQuery::FreeStatement() {
  Close();
  if (statement_ != SQL_NULL_HSTMT) OdbcApi().SQLFreeHandle(SQL_HANDLE_STMT, statement_);
  statement_ = SQL_NULL_HSTMT;
  prepared_ = false;
  buffers_.clear();
}

void TmQuery::DataBaseDestroyed() {
  statement_ = SQL_NULL_HSTMT;
  prepared_ = false;
  database_ = nullptr;
}
