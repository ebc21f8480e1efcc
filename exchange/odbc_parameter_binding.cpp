#include "exchange/odbc_parameter_binding.h"

#include <algorithm>

#include "core/exceptions.h"
#include "exchange/odbc_api.h"
#include "exchange/odbc_diagnostics.h"
#include "exchange/odbc_value_conversions.h"

namespace {

int DigitsOf(int value) { return value >= 100 ? 3 : value >= 10 ? 2 : 1; }

int FractionDigitsOf(int millisecond) {
  if (millisecond % 100 == 0) return 1;
  if (millisecond % 10 == 0) return 2;
  return 3;
}

void FillDateParts(TDateTime value, TParameterBuffer& buffer, TOdbcDataType type) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, millisecond);
  if (type == TOdbcDataType::ftDate) {
    buffer.Date = {static_cast<SQLSMALLINT>(year), static_cast<SQLUSMALLINT>(month), static_cast<SQLUSMALLINT>(day)};
    buffer.ColumnSize = 10;
  } else if (type == TOdbcDataType::ftTime) {
    buffer.Time = {static_cast<SQLUSMALLINT>(hour), static_cast<SQLUSMALLINT>(minute),
                   static_cast<SQLUSMALLINT>(second)};
    buffer.ColumnSize = 8;
  } else {
    buffer.Stamp = {static_cast<SQLSMALLINT>(year),
                    static_cast<SQLUSMALLINT>(month),
                    static_cast<SQLUSMALLINT>(day),
                    static_cast<SQLUSMALLINT>(hour),
                    static_cast<SQLUSMALLINT>(minute),
                    static_cast<SQLUSMALLINT>(second),
                    static_cast<SQLUINTEGER>(millisecond) * 1000000u};
    buffer.ColumnSize = TimestampColumnSize(millisecond);
    buffer.DecimalDigits = static_cast<SQLSMALLINT>(buffer.ColumnSize > 19 ? buffer.ColumnSize - 20 : 0);
  }
}

void SetTypes(TParameterBuffer& buffer, SQLSMALLINT c_type, SQLSMALLINT sql_type) {
  buffer.CType = c_type;
  buffer.SqlType = sql_type;
}

}  // namespace

SQLULEN TimestampColumnSize(int millisecond) {
  if (millisecond == 0) return 19;
  return 20 + std::max(DigitsOf(millisecond), FractionDigitsOf(millisecond));
}

SQLPOINTER TParameterBuffer::Data() {
  switch (CType) {
    case SQL_C_SSHORT:
      return &Small;
    case SQL_C_SLONG:
      return &Integer;
    case SQL_C_BIT:
      return &Bit;
    case SQL_C_DOUBLE:
      return &Real;
    case SQL_C_TYPE_DATE:
      return &Date;
    case SQL_C_TYPE_TIME:
      return &Time;
    case SQL_C_TYPE_TIMESTAMP:
      return &Stamp;
    default:
      return Bytes.data();
  }
}

SQLLEN TParameterBuffer::DataLength() const {
  return CType == SQL_C_CHAR || CType == SQL_C_BINARY ? static_cast<SQLLEN>(Bytes.size()) : 0;
}

void FillParameterBuffer(const TmParam& param, TParameterBuffer& buffer) {
  buffer = TParameterBuffer{};
  const TOdbcValue value = ConvertForType(param.Value, param.DataType);
  switch (param.DataType) {
    case TOdbcDataType::ftUnknown:
      if (!IsNull(value)) throw Exception("Field '" + param.Name + "' is of an unsupported type");
      SetTypes(buffer, SQL_C_CHAR, SQL_CHAR);
      buffer.ColumnSize = 1;
      break;
    case TOdbcDataType::ftString:
    case TOdbcDataType::ftMemo:
      SetTypes(buffer, SQL_C_CHAR, param.DataType == TOdbcDataType::ftString ? SQL_CHAR : SQL_LONGVARCHAR);
      if (!IsNull(value)) buffer.Bytes = std::get<std::string>(value);
      buffer.ColumnSize = std::max<SQLULEN>(buffer.Bytes.size(), 1);
      buffer.Indicator = static_cast<SQLLEN>(buffer.Bytes.size());
      buffer.Bytes.push_back('\0');
      break;
    case TOdbcDataType::ftBlob:
      SetTypes(buffer, SQL_C_BINARY, SQL_LONGVARBINARY);
      if (!IsNull(value)) buffer.Bytes = std::get<std::string>(value);
      buffer.ColumnSize = std::max<SQLULEN>(buffer.Bytes.size(), 1);
      buffer.Indicator = static_cast<SQLLEN>(buffer.Bytes.size());
      break;
    case TOdbcDataType::ftSmallint:
    case TOdbcDataType::ftWord:
      SetTypes(buffer, SQL_C_SSHORT, SQL_SMALLINT);
      if (!IsNull(value)) buffer.Small = static_cast<int16_t>(std::get<int64_t>(value));
      buffer.ColumnSize = 5;
      break;
    case TOdbcDataType::ftInteger:
    case TOdbcDataType::ftAutoInc:
      SetTypes(buffer, SQL_C_SLONG, SQL_INTEGER);
      if (!IsNull(value)) buffer.Integer = static_cast<int32_t>(std::get<int64_t>(value));
      buffer.ColumnSize = 10;
      break;
    case TOdbcDataType::ftBoolean:
      SetTypes(buffer, SQL_C_BIT, SQL_BIT);
      if (!IsNull(value)) buffer.Bit = std::get<bool>(value) ? 1 : 0;
      buffer.ColumnSize = 1;
      break;
    case TOdbcDataType::ftFloat:
    case TOdbcDataType::ftCurrency:
    case TOdbcDataType::ftBCD:
      SetTypes(buffer, SQL_C_DOUBLE, SQL_DOUBLE);
      if (!IsNull(value)) buffer.Real = std::get<double>(value);
      buffer.ColumnSize = 15;
      break;
    case TOdbcDataType::ftDate:
      SetTypes(buffer, SQL_C_TYPE_DATE, SQL_TYPE_DATE);
      FillDateParts(IsNull(value) ? TDateTime{} : std::get<TDateTime>(value), buffer, param.DataType);
      break;
    case TOdbcDataType::ftTime:
      SetTypes(buffer, SQL_C_TYPE_TIME, SQL_TYPE_TIME);
      FillDateParts(IsNull(value) ? TDateTime{} : std::get<TDateTime>(value), buffer, param.DataType);
      break;
    case TOdbcDataType::ftDateTime:
      SetTypes(buffer, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP);
      FillDateParts(IsNull(value) ? TDateTime{} : std::get<TDateTime>(value), buffer, param.DataType);
      break;
  }
  if (IsNull(value)) buffer.Indicator = SQL_NULL_DATA;
}

void BindParameters(SQLHSTMT statement, const std::vector<TmParam>& params, std::vector<TParameterBuffer>& buffers) {
  buffers.assign(params.size(), TParameterBuffer{});
  const TOdbcApi& api = OdbcApi();
  for (size_t index = 0; index < params.size(); ++index) {
    TParameterBuffer& buffer = buffers[index];
    FillParameterBuffer(params[index], buffer);
    CheckStatement(api.SQLBindParameter(statement, static_cast<SQLUSMALLINT>(index + 1), SQL_PARAM_INPUT, buffer.CType,
                                        buffer.SqlType, buffer.ColumnSize, buffer.DecimalDigits, buffer.Data(),
                                        buffer.DataLength(), &buffer.Indicator),
                   statement);
  }
}
