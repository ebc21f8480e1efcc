#include "export/row_packing.h"

#include <string>
#include <vector>

#include "core/collation.h"
#include "core/exceptions.h"
#include "core/regional_formats.h"
#include "export/bound_columns.h"
#include "export/key_order.h"

namespace {

// The position of the mapping that writes the handheld field, or none.
std::optional<size_t> MappingOf(std::span<const TExportMapping> mappings, std::string_view field) {
  for (size_t i = 0; i < mappings.size(); ++i) {
    if (SameText(mappings[i].Handheld, field)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<TPackedRecords> ReadPackedRecords(TReferenceReader& reader, std::span<const TExportMapping> mappings,
                                                TExchangeFormat format, TpfgPalmRemoteTable& table,
                                                std::span<const char* const> sort_fields,
                                                const std::function<void(std::span<const TStagedInput>)>& each_row) {
  if (!table.PacksRecordsAlone()) return std::nullopt;
  std::vector<int> cell_of;  // the table's field each mapping fills
  for (const TExportMapping& mapping : mappings) {
    TpfgPalmField* field = table.FindField(mapping.Handheld);
    if (field == nullptr) return std::nullopt;
    cell_of.push_back(field->Index());
  }
  std::vector<size_t> key_of;  // the mapping each sort key is read from
  for (const char* name : sort_fields) {
    const std::optional<size_t> mapping = MappingOf(mappings, name);
    if (!mapping) return std::nullopt;
    key_of.push_back(*mapping);
  }
  const std::vector<TBoundColumn> bound = BindColumns(reader, mappings, format);

  // The cells of fields no mapping fills stay empty, as Insert leaves them.
  std::vector<TPalmCell> cells(static_cast<size_t>(table.FieldDefs().Count()));
  const TFormatSettings& formats = CurrentFormats();
  std::vector<TStagedInput> row(bound.size());
  std::vector<std::string> scratch(bound.size());
  std::vector<int32_t> keys;
  keys.reserve(static_cast<size_t>(std::max(reader.RecordCount(), 0)) * key_of.size());
  std::vector<uint8_t> record;
  TPackedRecords packed;
  while (!reader.Eof()) {
    for (size_t i = 0; i < bound.size(); ++i) row[i] = ReadBoundValue(bound[i], scratch[i]);
    if (each_row) each_row(row);
    for (const size_t mapping : key_of) keys.push_back(IntegerKey(row[mapping]));
    for (size_t i = 0; i < bound.size(); ++i) SetCellInput(cells[cell_of[i]], row[i], formats);
    try {
      table.PackRecord(cells, record);
    } catch (const Exception&) {
      return std::nullopt;
    }
    packed.Add(record);
    reader.Next();
  }
  packed.SetOrder(KeyOrder(keys, key_of.size()));
  return packed;
}
