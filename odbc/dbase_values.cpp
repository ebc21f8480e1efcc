#include "odbc/dbase_values.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "odbc/driver_error.h"

namespace {

std::string Describe(const DbaseField& field) {
  return field.name + " (" + std::string(1, field.type) + "," + std::to_string(field.width) + "," +
         std::to_string(field.decimals) + ")";
}

Value FitNumber(const Value& value, const DbaseField& field) {
  double number = 0;
  if (const auto* integer = std::get_if<int64_t>(&value)) {
    if (field.decimals == 0) {
      if (std::to_string(*integer).size() > static_cast<size_t>(field.width)) {
        throw DriverError("22003",
                          "Numeric value " + std::to_string(*integer) + " out of range for " + Describe(field));
      }
      return *integer;
    }
    number = static_cast<double>(*integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    number = *real;
  } else if (const auto* text = std::get_if<std::string>(&value)) {
    if (text->find_first_not_of(' ') == std::string::npos) return Value{};
    char* end = nullptr;
    number = std::strtod(text->c_str(), &end);
    while (end != nullptr && *end == ' ') ++end;
    if (end == text->c_str() || *end != '\0') {
      throw DriverError("22018", "Invalid character value \"" + *text + "\" for " + Describe(field));
    }
  } else {
    throw DriverError("22018", "A date cannot be stored in the number field " + Describe(field));
  }
  if (!std::isfinite(number)) throw DriverError("22003", "Numeric value out of range for " + Describe(field));
  char formatted[400];
  std::snprintf(formatted, sizeof formatted, "%.*f", field.decimals, number);
  if (std::strlen(formatted) > static_cast<size_t>(field.width)) {
    throw DriverError("22003", std::string("Numeric value ") + formatted + " out of range for " + Describe(field));
  }
  if (field.decimals == 0) return static_cast<int64_t>(std::llround(number));
  return number;
}

Value FitDate(const Value& value, const DbaseField& field) {
  if (const auto* date = std::get_if<Date>(&value)) return *date;
  if (const auto* stamp = std::get_if<Timestamp>(&value)) return stamp->date;
  if (const auto* text = std::get_if<std::string>(&value)) {
    if (text->empty()) return Value{};
    Date date;
    char tail = 0;
    if ((std::sscanf(text->c_str(), "%4d-%2d-%2d%c", &date.year, &date.month, &date.day, &tail) == 3 ||
         std::sscanf(text->c_str(), "%4d%2d%2d%c", &date.year, &date.month, &date.day, &tail) == 3) &&
        date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31) {
      return date;
    }
    throw DriverError("22007", "Invalid date \"" + *text + "\" for " + Describe(field));
  }
  throw DriverError("22018", "A number cannot be stored in the date field " + Describe(field));
}

std::string AsFieldText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  char formatted[64];
  if (const auto* integer = std::get_if<int64_t>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) {
    std::snprintf(formatted, sizeof formatted, "%.15g", *real);
    return formatted;
  }
  const Date date = std::holds_alternative<Date>(value) ? std::get<Date>(value) : std::get<Timestamp>(value).date;
  std::snprintf(formatted, sizeof formatted, "%04d-%02d-%02d", date.year, date.month, date.day);
  return formatted;
}

}  // namespace

Value FitToField(const Value& value, const DbaseField& field) {
  if (IsNull(value)) return value;
  switch (field.type) {
    case 'N':
    case 'F':
      return FitNumber(value, field);
    case 'D':
      return FitDate(value, field);
    case 'L': {
      const Value number = FitNumber(value, DbaseField{field.name, 'N', 20, 0});
      return IsNull(number) ? number : Value{int64_t{std::get<int64_t>(number) != 0}};
    }
    default: {
      std::string text = AsFieldText(value);
      while (text.size() > static_cast<size_t>(field.width) && text.back() == ' ') text.pop_back();
      if (text.size() > static_cast<size_t>(field.width)) {
        throw DriverError(
            "22001", "String data right truncation: " + std::to_string(text.size()) + " bytes for " + Describe(field));
      }
      return text;
    }
  }
}

DbaseField FieldFor(const ColumnDefinition& column) {
  if (column.name.size() > 10) {
    throw DriverError("42000", "The column name " + column.name + " is longer than the 10 characters of a dBase field");
  }
  DbaseField field{column.name, 'N', 11, 0};
  switch (column.type) {
    case ColumnType::Integer:
      break;
    case ColumnType::Float:
      field.width = 20;
      field.decimals = 6;
      break;
    case ColumnType::Numeric:
      field.width = column.width > 0 ? column.width : 10;
      field.decimals = column.decimals >= 0 ? column.decimals : 0;
      break;
    case ColumnType::Date:
      field = {column.name, 'D', 8, 0};
      break;
    case ColumnType::Logical:
      field = {column.name, 'L', 1, 0};
      break;
    case ColumnType::Char:
      field = {column.name, 'C', column.width, 0};
      break;
  }
  if (field.type == 'N' && (field.width > 20 || (field.decimals > 0 && field.decimals > field.width - 2))) {
    throw DriverError("42000", "Numeric(" + std::to_string(field.width) + "," + std::to_string(field.decimals) +
                                   ") of column " + column.name + " does not fit a dBase number field");
  }
  return field;
}
