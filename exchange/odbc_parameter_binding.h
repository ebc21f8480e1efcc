// Binding a statement's parameters as input parameters by their data type, with the buffers
// that must stay alive until the statement has run.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <vector>

#include "exchange/odbc_field.h"

// The column size of a TIMESTAMP parameter: 19 without milliseconds, otherwise 20 plus the digits
// of the milliseconds, widened to the digits the fraction needs (5 ms needs ".005").
SQLULEN TimestampColumnSize(int millisecond);

// How one parameter is handed to the driver.
struct TParameterBuffer {
  SQLSMALLINT CType = SQL_C_CHAR;
  SQLSMALLINT SqlType = SQL_CHAR;
  SQLULEN ColumnSize = 0;
  SQLSMALLINT DecimalDigits = 0;
  SQLLEN Indicator = 0;
  int16_t Small = 0;
  int32_t Integer = 0;
  unsigned char Bit = 0;
  double Real = 0;
  SQL_DATE_STRUCT Date{};
  SQL_TIME_STRUCT Time{};
  SQL_TIMESTAMP_STRUCT Stamp{};
  std::string Bytes;

  SQLPOINTER Data();
  SQLLEN DataLength() const;
};

// Fills the buffer for a parameter by the type table; a null value gets the null indicator (an
// unset parameter of no type is a null CHAR). Another type throws Exception
// "Field '<name>' is of an unsupported type".
void FillParameterBuffer(const TmParam& param, TParameterBuffer& buffer);

// Binds every parameter, numbered from 1 in list order; the buffers are replaced each time.
void BindParameters(SQLHSTMT statement, const std::vector<TmParam>& params, std::vector<TParameterBuffer>& buffers);
