#include "export/staged_records.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "core/collation.h"
#include "core/exceptions.h"
#include "core/regional_formats.h"
#include "export/bound_columns.h"
#include "export/key_order.h"

namespace {

void AssignValue(TpfgPalmField& field, const TStagedRecords& records, const TStagedValue& value) {
  if (const auto* integer = std::get_if<int32_t>(&value)) {
    field.SetAsInteger(*integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    field.SetAsFloat(*real);
  } else if (const auto* date = std::get_if<TDateTime>(&value)) {
    field.SetAsDateTime(*date);
  } else if (const auto* text = std::get_if<TStagedText>(&value)) {
    field.SetAsString(records.Text(*text));
  } else {
    field.SetAsString(std::string_view());
  }
}

std::vector<TpfgPalmField*> BindFields(TpfgPalmRemoteTable& table, const TStagedRecords& records) {
  std::vector<TpfgPalmField*> fields;
  fields.reserve(records.Fields.size());
  for (const std::string& name : records.Fields) fields.push_back(&table.FieldByName(name));
  return fields;
}

void AssignRow(const std::vector<TpfgPalmField*>& fields, const TStagedRecords& records, TStagedRow row) {
  for (size_t i = 0; i < fields.size(); ++i) AssignValue(*fields[i], records, row[i]);
}

// True when the value's text always packs into a field of that kind: only a date-time (a date
// with a time of day fails in a date field) or a value of an unrelated kind needs the check.
bool AlwaysPacks(const TStagedValue& value, TpfgPalmFieldType type) {
  if (std::holds_alternative<std::monostate>(value)) return true;
  if (std::holds_alternative<int32_t>(value)) {
    return type == ptByte || type == ptWord || type == ptLong || type == ptInt64 || type == ptSingle ||
           type == ptDouble || type == ptString;
  }
  if (std::holds_alternative<double>(value)) return type == ptSingle || type == ptDouble || type == ptString;
  if (std::holds_alternative<TStagedText>(value)) return type == ptString || type == ptCustom;
  return type == ptString || type == ptDateTime;
}

// Switches the table's saving of closed-table values on for one scope.
class TDbSavingScope {
 public:
  explicit TDbSavingScope(TpfgPalmRemoteTable& table) : table_(table) { table_.SetDbSaving(true); }
  ~TDbSavingScope() { table_.SetDbSaving(false); }
  TDbSavingScope(const TDbSavingScope&) = delete;
  TDbSavingScope& operator=(const TDbSavingScope&) = delete;

 private:
  TpfgPalmRemoteTable& table_;
};

}  // namespace

// The kinds ValueAt reads back are the alternatives' positions in TStagedValue.
static_assert(std::is_same_v<std::variant_alternative_t<1, TStagedValue>, int32_t> &&
              std::is_same_v<std::variant_alternative_t<2, TStagedValue>, double> &&
              std::is_same_v<std::variant_alternative_t<3, TStagedValue>, TDateTime> &&
              std::is_same_v<std::variant_alternative_t<4, TStagedValue>, TStagedText>);

TStagedValue TStagedRecords::ValueAt(size_t row, size_t field) const {
  const size_t at = row * Fields.size() + field;
  const uint64_t bits = payloads_[at];
  switch (kinds_[at]) {
    case 1:
      return static_cast<int32_t>(static_cast<uint32_t>(bits));
    case 2:
      return std::bit_cast<double>(bits);
    case 3:
      return TDateTime{std::bit_cast<double>(bits)};
    case 4:
      return TStagedText{static_cast<uint32_t>(bits >> 32), static_cast<uint32_t>(bits)};
    default:
      return std::monostate{};
  }
}

void TStagedRecords::Add(const TStagedValue& value) {
  uint64_t bits = 0;
  if (const auto* integer = std::get_if<int32_t>(&value)) {
    bits = static_cast<uint32_t>(*integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    bits = std::bit_cast<uint64_t>(*real);
  } else if (const auto* date = std::get_if<TDateTime>(&value)) {
    bits = std::bit_cast<uint64_t>(date->Value);
  } else if (const auto* text = std::get_if<TStagedText>(&value)) {
    bits = uint64_t{text->Offset} << 32 | text->Size;
  }
  kinds_.push_back(static_cast<uint8_t>(value.index()));
  payloads_.push_back(bits);
}

void TStagedRecords::Reserve(size_t values) {
  kinds_.reserve(values);
  payloads_.reserve(values);
}

void TStagedRecords::AddInput(const TStagedInput& value) {
  std::visit(
      [this](const auto& given) {
        if constexpr (std::is_same_v<std::decay_t<decltype(given)>, std::string_view>) {
          Add(AddText(given));
        } else {
          Add(given);
        }
      },
      value);
}

void TStagedRecords::AddRow(std::initializer_list<TStagedInput> values) {
  if (values.size() != Fields.size()) {
    throw Exception("A staged row of " + std::to_string(values.size()) + " values for " +
                    std::to_string(Fields.size()) + " fields");
  }
  for (const TStagedInput& value : values) AddInput(value);
}

TStagedText TStagedRecords::AddText(std::string_view text) {
  if (text.size() > UINT32_MAX - Texts.size()) throw Exception("The texts of a reference file pass 4 GB");
  const TStagedText kept{static_cast<uint32_t>(Texts.size()), static_cast<uint32_t>(text.size())};
  Texts.append(text);
  return kept;
}

TStagedInput TStagedRecords::View(const TStagedValue& value) const {
  return std::visit(
      [this](const auto& held) -> TStagedInput {
        if constexpr (std::is_same_v<std::decay_t<decltype(held)>, TStagedText>) {
          return Text(held);
        } else {
          return held;
        }
      },
      value);
}

std::vector<TStagedInput> TStagedRecords::RowView(size_t position) const {
  std::vector<TStagedInput> row;
  const TStagedRow values = Row(position);
  for (size_t field = 0; field < values.size(); ++field) row.push_back(View(values[field]));
  return row;
}

int TStagedRecords::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < Fields.size(); ++i) {
    if (SameText(Fields[i], name)) return static_cast<int>(i);
  }
  throw Exception("The export step has no field " + std::string(name));
}

TStagedRecords ReadStagedRecords(TReferenceReader& reader, std::span<const TExportMapping> mappings,
                                 TExchangeFormat format) {
  TStagedRecords records;
  for (const TExportMapping& mapping : mappings) records.Fields.emplace_back(mapping.Handheld);
  const std::vector<TBoundColumn> bound = BindColumns(reader, mappings, format);
  records.Reserve(static_cast<size_t>(std::max(reader.RecordCount(), 0)) * bound.size());
  std::string scratch;
  while (!reader.Eof()) {
    for (const TBoundColumn& column : bound) records.AddInput(ReadBoundValue(column, scratch));
    reader.Next();
  }
  return records;
}

void SortStagedRecords(TStagedRecords& records, std::span<const char* const> fields) {
  std::vector<int> columns;
  for (const char* name : fields) columns.push_back(records.FieldIndex(name));
  const size_t count = records.RowCount();
  // The keys of every row side by side, so the sort compares small numbers, not scattered rows.
  std::vector<int32_t> keys;
  keys.reserve(count * columns.size());
  for (size_t row = 0; row < count; ++row) {
    for (const int column : columns) keys.push_back(IntegerKey(records.Row(row)[column]));
  }
  std::vector<uint32_t> order = KeyOrder(keys, columns.size());
  if (order.empty()) return;
  // Only the walk changes: moving rows about costs far more than reading them out of order.
  for (uint32_t& position : order) {
    position = position < records.Order.size() ? records.Order[position] : position;
  }
  records.Order = std::move(order);
}

void CheckRecordsPack(TpfgPalmRemoteTable& table, const TStagedRecords& records) {
  TDbSavingScope saving(table);
  const std::vector<TpfgPalmField*> fields = BindFields(table, records);
  std::vector<TpfgPalmFieldType> types;
  // A string field packs every value, so only the other fields are looked at.
  std::vector<size_t> checked;
  for (size_t i = 0; i < fields.size(); ++i) {
    fields[i]->SetAsString(std::string());
    types.push_back(fields[i]->DataType());
    if (types[i] != ptString) checked.push_back(i);
  }
  for (size_t row_number = 0; row_number < records.RowCount(); ++row_number) {
    const TStagedRow row = records.Row(row_number);
    for (const size_t i : checked) {
      const TStagedValue value = row[i];
      if (AlwaysPacks(value, types[i])) continue;
      AssignValue(*fields[i], records, value);
      table.CheckFieldPacks(fields[i]->Index());
      fields[i]->SetAsString(std::string());
    }
  }
}

void AppendStagedRecords(TExchangeSession& session, TpfgPalmRemoteTable& table, const TStagedRecords& records) {
  const std::vector<TpfgPalmField*> fields = BindFields(table, records);
  for (size_t row = 0; row < records.RowCount(); ++row) {
    table.Insert();
    AssignRow(fields, records, records.Row(row));
    table.Post();
    session.Progress->ProgressBar.StepIt();
  }
}

std::optional<TPackedRecords> PackStagedRecords(TpfgPalmRemoteTable& table, const TStagedRecords& records) {
  if (!table.PacksRecordsAlone()) return std::nullopt;
  std::vector<int> columns;
  for (TpfgPalmField* field : BindFields(table, records)) columns.push_back(field->Index());
  // The cells of fields no row sets stay empty, as Insert leaves them.
  std::vector<TPalmCell> cells(static_cast<size_t>(table.FieldDefs().Count()));
  const TFormatSettings& formats = CurrentFormats();
  TPackedRecords packed;
  std::vector<uint8_t> record;
  try {
    for (size_t row_number = 0; row_number < records.RowCount(); ++row_number) {
      const TStagedRow row = records.Row(row_number);
      for (size_t i = 0; i < columns.size(); ++i) SetCellInput(cells[columns[i]], records.View(row[i]), formats);
      table.PackRecord(cells, record);
      packed.Add(record);
    }
  } catch (...) {
    // The check names the failing value as it always has; its failure goes first.
    CheckRecordsPack(table, records);
    throw;
  }
  return packed;
}

void AppendPackedRecords(TExchangeSession& session, TpfgPalmRemoteTable& table, TPackedRecords& records) {
  records.Drain([&](std::span<const uint8_t> record) {
    table.AppendPackedRecord(record);
    session.Progress->ProgressBar.StepIt();
  });
}
