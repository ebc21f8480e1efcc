#include "exchange/field.h"

#include <cmath>

#include "core/text_conversions.h"
#include "exchange/client_dataset.h"
#include "exchange/currency.h"
#include "exchange/exchange_errors.h"
#include "exchange/table_data.h"

namespace {

bool FitsInt32(double value) { return value >= -2147483648.0 && value <= 2147483647.0; }

}  // namespace

const std::string& TField::FieldName() const { return dataset_.data_->Column(column_).Def.Name; }

TFieldType TField::DataType() const { return dataset_.data_->Column(column_).Def.DataType; }

int TField::Size() const { return dataset_.data_->Column(column_).Def.Size; }

bool TField::IsNull() const {
  const int row = dataset_.row_;
  return row < 0 || row >= dataset_.data_->RowCount() || dataset_.data_->IsNull(row, column_);
}

void TField::CannotAccess(const char* type_name) const {
  throw EDatabaseError("Cannot access field '" + FieldName() + "' as type " + type_name);
}

int TField::WritableRow() const {
  if (dataset_.state_ != TDataSetState::dsInsert && dataset_.state_ != TDataSetState::dsEdit) {
    throw EDatabaseError("Dataset not in edit or insert mode");
  }
  if (dataset_.row_ < 0 || dataset_.row_ >= dataset_.data_->RowCount()) {
    throw EDatabaseError("The dataset has no current record");
  }
  return dataset_.row_;
}

void TField::Clear() { dataset_.data_->SetNull(WritableRow(), column_); }

int32_t TField::AsInteger() const {
  if (IsNull()) return 0;
  const TTableData& data = *dataset_.data_;
  const int row = dataset_.row_;
  switch (DataType()) {
    case TFieldType::ftInteger:
      return data.Int(row, column_);
    case TFieldType::ftFloat: {
      const double value = std::nearbyint(data.Float(row, column_));
      if (!FitsInt32(value)) throw EConvertError("Field '" + FieldName() + "': value out of the integer range");
      return static_cast<int32_t>(value);
    }
    case TFieldType::ftDateTime:
      CannotAccess("Integer");
    case TFieldType::ftString:
      break;
  }
  return StrToInt(data.Text(row, column_));
}

void TField::SetAsInteger(int32_t value) {
  const int row = WritableRow();
  TTableData& data = *dataset_.data_;
  switch (DataType()) {
    case TFieldType::ftInteger:
      data.SetInt(row, column_, value);
      break;
    case TFieldType::ftFloat:
      data.SetFloat(row, column_, value);
      break;
    case TFieldType::ftDateTime:
      CannotAccess("Integer");
    case TFieldType::ftString:
      data.SetText(row, column_, IntToStr(value));
      break;
  }
}

double TField::AsFloat() const {
  if (IsNull()) return 0.0;
  const TTableData& data = *dataset_.data_;
  const int row = dataset_.row_;
  switch (DataType()) {
    case TFieldType::ftInteger:
      return data.Int(row, column_);
    case TFieldType::ftFloat:
    case TFieldType::ftDateTime:
      return data.Float(row, column_);
    case TFieldType::ftString:
      break;
  }
  return StrToFloat(data.Text(row, column_));
}

void TField::SetAsFloat(double value) {
  const int row = WritableRow();
  TTableData& data = *dataset_.data_;
  switch (DataType()) {
    case TFieldType::ftInteger: {
      const double rounded = std::nearbyint(value);
      if (!FitsInt32(rounded)) throw EConvertError("Field '" + FieldName() + "': value out of the integer range");
      data.SetInt(row, column_, static_cast<int32_t>(rounded));
      break;
    }
    case TFieldType::ftFloat:
    case TFieldType::ftDateTime:
      data.SetFloat(row, column_, value);
      break;
    case TFieldType::ftString:
      data.SetText(row, column_, FloatToStr(value));
      break;
  }
}

double TField::AsCurrency() const { return RoundToCurrency(AsFloat()); }

TDateTime TField::AsDateTime() const {
  if (IsNull()) return TDateTime{};
  const TTableData& data = *dataset_.data_;
  const int row = dataset_.row_;
  switch (DataType()) {
    case TFieldType::ftDateTime:
      return TDateTime{data.Float(row, column_)};
    case TFieldType::ftString:
      return StrToDateTime(data.Text(row, column_));
    case TFieldType::ftInteger:
    case TFieldType::ftFloat:
      break;
  }
  CannotAccess("TDateTime");
}

void TField::SetAsDateTime(TDateTime value) {
  const int row = WritableRow();
  TTableData& data = *dataset_.data_;
  switch (DataType()) {
    case TFieldType::ftDateTime:
      data.SetFloat(row, column_, value.Value);
      return;
    case TFieldType::ftString:
      data.SetText(row, column_, DateTimeToStr(value));
      return;
    case TFieldType::ftInteger:
    case TFieldType::ftFloat:
      break;
  }
  CannotAccess("TDateTime");
}

std::string TField::AsString() const {
  if (IsNull()) return std::string();
  const TTableData& data = *dataset_.data_;
  const int row = dataset_.row_;
  switch (DataType()) {
    case TFieldType::ftInteger:
      return IntToStr(data.Int(row, column_));
    case TFieldType::ftFloat:
      return FloatToStr(data.Float(row, column_));
    case TFieldType::ftDateTime:
      return DateTimeToStr(TDateTime{data.Float(row, column_)});
    case TFieldType::ftString:
      break;
  }
  return std::string(data.Text(row, column_));
}

void TField::SetAsString(std::string_view text) {
  const int row = WritableRow();
  TTableData& data = *dataset_.data_;
  if (DataType() == TFieldType::ftString) {
    data.SetText(row, column_, text);
    return;
  }
  if (text.empty()) {
    data.SetNull(row, column_);
    return;
  }
  switch (DataType()) {
    case TFieldType::ftInteger:
      data.SetInt(row, column_, StrToInt(text));
      break;
    case TFieldType::ftFloat:
      data.SetFloat(row, column_, StrToFloat(text));
      break;
    case TFieldType::ftDateTime:
      data.SetFloat(row, column_, StrToDateTime(text).Value);
      break;
    case TFieldType::ftString:
      break;
  }
}
