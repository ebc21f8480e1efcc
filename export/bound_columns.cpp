#include "export/bound_columns.h"

namespace {

// A text of at most width characters (bytes of the desktop code page); 0 keeps all.
std::string_view CutText(std::string_view text, int width) {
  return width > 0 && text.size() > static_cast<size_t>(width) ? text.substr(0, width) : text;
}

// The value written for a column that is not read.
TStagedInput AbsentValue(const TExportMapping& mapping, bool text_form) {
  switch (mapping.Kind) {
    case TInputKind::Integer:
      return text_form ? mapping.AbsentText : mapping.AbsentXml;
    case TInputKind::Float:
    case TInputKind::Currency:
      return 0.0;
    case TInputKind::Date:
    case TInputKind::Text:
      return std::monostate{};
  }
  return std::monostate{};
}

}  // namespace

std::vector<TBoundColumn> BindColumns(TReferenceReader& reader, std::span<const TExportMapping> mappings,
                                      TExchangeFormat format) {
  const bool text_form = format != TExchangeFormat::XML;
  std::vector<TBoundColumn> bound;
  bound.reserve(mappings.size());
  for (const TExportMapping& mapping : mappings) {
    const TColumnUse use = text_form ? mapping.Text : mapping.Xml;
    TBoundColumn column{&mapping, std::nullopt, AbsentValue(mapping, text_form)};
    if (use == TColumnUse::Required) {
      column.Column = reader.Require(mapping.Input);
    } else if (use == TColumnUse::Optional) {
      column.Column = reader.Find(mapping.Input);
    }
    bound.push_back(std::move(column));
  }
  return bound;
}

TStagedInput ReadBoundValue(const TBoundColumn& column, std::string& scratch) {
  if (!column.Column) return column.Absent;
  const TInputColumn& input = *column.Column;
  switch (column.Mapping->Kind) {
    case TInputKind::Integer:
      return input.AsInteger();
    case TInputKind::Float:
      return input.AsFloat();
    case TInputKind::Currency:
      return input.AsCurrency();
    case TInputKind::Date:
      return input.AsDateTime();
    case TInputKind::Text:
      return CutText(input.AsString(scratch), column.Mapping->Width);
  }
  return std::monostate{};
}
