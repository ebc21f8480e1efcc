#include "export/reference_reader.h"

#include <type_traits>

#include "api/hotsync_api.h"
#include "core/cp1251.h"
#include "core/file_lookup.h"
#include "exchange/exchange_errors.h"

template <typename Read>
auto TInputColumn::Visit(Read read) const {
  return std::visit(
      [&](const auto& field) {
        if constexpr (std::is_pointer_v<std::decay_t<decltype(field)>>) {
          return read(*field);
        } else {
          return read(field);
        }
      },
      field_);
}

int32_t TInputColumn::AsInteger() const {
  return Visit([](auto& field) { return field.AsInteger(); });
}

double TInputColumn::AsFloat() const {
  return Visit([](auto& field) { return field.AsFloat(); });
}

double TInputColumn::AsCurrency() const {
  return Visit([](auto& field) { return field.AsCurrency(); });
}

TDateTime TInputColumn::AsDateTime() const {
  return Visit([](auto& field) { return field.AsDateTime(); });
}

std::string_view TInputColumn::AsString(std::string& scratch) const {
  return Visit([&scratch](auto& field) -> std::string_view {
    if constexpr (std::is_same_v<decltype(field.AsString()), std::string_view>) {
      return field.AsString();
    } else {
      scratch = field.AsString();
      return scratch;
    }
  });
}

TReferenceReader::TForm TReferenceReader::Form() const {
  switch (session_.Format()) {
    case TExchangeFormat::XML:
      return TForm::Packet;
    case TExchangeFormat::DBF:
      return TForm::Dbase;
    case TExchangeFormat::TXT:
    case TExchangeFormat::TXTINDBFOUT:
      break;
  }
  return TForm::Text;
}

void TReferenceReader::Open(const std::string& file_name, const TReadOrder& order) {
  switch (Form()) {
    case TForm::Text:
      text_.Clear();
      text_.Directory = session_.Directory;
      text_.FileName = file_name;
      if (!text_.Load()) {
        throw ETXTTableError(Ansi("Файл \"") + text_.Path() + Ansi("\" не найден"));
      }
      if (!order.TextKey.empty()) text_.SortBy(order.TextKey);
      return;
    case TForm::Packet:
      packet_.Close();
      packet_.LoadFromFile(PathNoCase(session_.Directory, file_name));
      if (!order.XmlKey.empty()) packet_.SetIndexFieldNames(std::string(order.XmlKey));
      return;
    case TForm::Dbase:
      OpenDbase(file_name, order);
      return;
  }
}

void TReferenceReader::OpenDbase(const std::string& file_name, const TReadOrder& order) {
  dbase_.Close();
  dbase_name_ = file_name;
  const std::optional<std::string> found = FindFileNoCase(session_.Directory, file_name);
  if (!found) {
    const std::string text = Ansi("Файл \"") + WithTrailingSlash(session_.Directory) + file_name + Ansi("\" не найден");
    ShowError(text);
    throw EDbaseFileError(text);
  }
  dbase_.Open(*found);
  if (!order.TextKey.empty()) dbase_.SortBy(RequireDbaseColumn(order.TextKey));
}

void TReferenceReader::ShowError(const std::string& text) const {
  if (session_.MessageBox) session_.MessageBox(text, Ansi("Ошибка"), MB_OK | MB_ICONERROR);
}

int TReferenceReader::RequireDbaseColumn(std::string_view name) const {
  const int column = dbase_.File().FindField(name);
  if (column >= 0) return column;
  const std::string text = Ansi("Поля \"") + std::string(name) + Ansi("\" нет в таблице ") + dbase_name_;
  ShowError(text);
  throw EDbaseFieldNotFound(text);
}

int TReferenceReader::RecordCount() const {
  switch (Form()) {
    case TForm::Text:
      return text_.RecordCount();
    case TForm::Packet:
      return packet_.RecordCount();
    case TForm::Dbase:
      return dbase_.RecordCount();
  }
  return 0;
}

bool TReferenceReader::Eof() const {
  switch (Form()) {
    case TForm::Text:
      return text_.Eof();
    case TForm::Packet:
      return packet_.Eof();
    case TForm::Dbase:
      return dbase_.Eof();
  }
  return true;
}

void TReferenceReader::Next() {
  switch (Form()) {
    case TForm::Text:
      text_.Next();
      return;
    case TForm::Packet:
      packet_.Next();
      return;
    case TForm::Dbase:
      dbase_.Next();
      return;
  }
}

void TReferenceReader::Close() {
  if (Form() == TForm::Dbase) {
    dbase_.Close();
    return;
  }
  if (Form() == TForm::Text) {
    text_.Clear();
    return;
  }
  if (!packet_.Active()) return;
  packet_.EmptyDataSet();
  packet_.Close();
}

std::optional<TInputColumn> TReferenceReader::Find(std::string_view name) {
  switch (Form()) {
    case TForm::Text:
      if (TcsTXTField* field = text_.FindField(name)) return TInputColumn(*field);
      break;
    case TForm::Packet:
      if (TField* field = packet_.FindField(name)) return TInputColumn(*field);
      break;
    case TForm::Dbase:
      if (const int column = dbase_.File().FindField(name); column >= 0) {
        return TInputColumn(TDbaseColumn(dbase_, column));
      }
      break;
  }
  return std::nullopt;
}

TInputColumn TReferenceReader::Require(std::string_view name) {
  switch (Form()) {
    case TForm::Text:
      return TInputColumn(text_.FieldByName(name));
    case TForm::Packet:
      return TInputColumn(packet_.FieldByName(name));
    case TForm::Dbase:
      break;
  }
  return TInputColumn(TDbaseColumn(dbase_, RequireDbaseColumn(name)));
}
