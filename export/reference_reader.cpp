#include "export/reference_reader.h"

#include "core/cp1251.h"
#include "core/file_lookup.h"
#include "exchange/exchange_errors.h"

int32_t TInputColumn::AsInteger() const {
  return std::visit([](auto* field) { return field->AsInteger(); }, field_);
}

double TInputColumn::AsFloat() const {
  return std::visit([](auto* field) { return field->AsFloat(); }, field_);
}

double TInputColumn::AsCurrency() const {
  return std::visit([](auto* field) { return field->AsCurrency(); }, field_);
}

TDateTime TInputColumn::AsDateTime() const {
  return std::visit([](auto* field) { return field->AsDateTime(); }, field_);
}

std::string TInputColumn::AsString() const {
  return std::visit([](auto* field) { return std::string(field->AsString()); }, field_);
}

bool TReferenceReader::IsText() const { return session_.Format() != TExchangeFormat::XML; }

void TReferenceReader::Open(const std::string& file_name, const TReadOrder& order) {
  if (IsText()) {
    text_.Clear();
    text_.Directory = session_.Directory;
    text_.FileName = file_name;
    if (!text_.Load()) {
      throw ETXTTableError(Ansi("Файл \"") + text_.Path() + Ansi("\" не найден"));
    }
    if (!order.TextKey.empty()) text_.SortBy(order.TextKey);
    return;
  }
  packet_.Close();
  packet_.LoadFromFile(PathNoCase(session_.Directory, file_name));
  if (!order.XmlKey.empty()) packet_.SetIndexFieldNames(std::string(order.XmlKey));
}

int TReferenceReader::RecordCount() const { return IsText() ? text_.RecordCount() : packet_.RecordCount(); }

bool TReferenceReader::Eof() const { return IsText() ? text_.Eof() : packet_.Eof(); }

void TReferenceReader::Next() {
  if (IsText()) {
    text_.Next();
  } else {
    packet_.Next();
  }
}

void TReferenceReader::Close() {
  if (IsText() || !packet_.Active()) return;
  packet_.EmptyDataSet();
  packet_.Close();
}

std::optional<TInputColumn> TReferenceReader::Find(std::string_view name) {
  if (IsText()) {
    if (TcsTXTField* field = text_.FindField(name)) return TInputColumn(*field);
  } else if (TField* field = packet_.FindField(name)) {
    return TInputColumn(*field);
  }
  return std::nullopt;
}

TInputColumn TReferenceReader::Require(std::string_view name) {
  if (IsText()) return TInputColumn(text_.FieldByName(name));
  return TInputColumn(packet_.FieldByName(name));
}
