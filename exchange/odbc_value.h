// The typed values that travel through the access layer: the data types of parameters and
// fields, and one value of such a type (or null). Texts are Windows-1251 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "core/date_time.h"

enum class TOdbcDataType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftWord,
  ftInteger,
  ftAutoInc,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftMemo,
  ftBlob,
};

// Null, an integer (small integers, words, integers, auto-increments), a float (floats,
// currency, BCD), a boolean, a date-time (dates and times too), or bytes (texts, memos, blobs).
using TOdbcValue = std::variant<std::monostate, int64_t, double, bool, TDateTime, std::string>;

inline bool IsNull(const TOdbcValue& value) { return std::holds_alternative<std::monostate>(value); }
