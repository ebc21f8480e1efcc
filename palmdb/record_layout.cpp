#include "palmdb/record_layout.h"

#include <cstring>

#include "core/exceptions.h"
#include "palmdb/handheld_encodings.h"
#include "palmdb/palm_errors.h"
#include "palmdb/record_errors.h"

namespace {

bool HasEvenWidth(TpfgPalmFieldType type) {
  const int width = PalmFieldTypeWidth(type);
  return width > 0 && width % 2 == 0;
}

size_t NumAligned(TRecordLayout layout, TpfgPalmFieldType type, size_t position) {
  return layout.NumAlign && position % 2 == 1 && HasEvenWidth(type) ? position + 1 : position;
}

// The Alignment rounding after field `index`. After a string it applies only with
// opStringsAlign and when the next field is not a string too; both directions use this rule.
size_t Aligned(const TpfgPalmFieldDefs& defs, TRecordLayout layout, int index, size_t position) {
  const size_t alignment = defs.Alignment();
  if (alignment == 0 || position % alignment == 0) return position;
  if (defs[index].DataType() == ptString) {
    const bool next_is_string = index + 1 < defs.Count() && defs[index + 1].DataType() == ptString;
    if (!layout.StringsAlign || next_is_string) return position;
  }
  return position + (alignment - position % alignment);
}

// Asks the write hook for a field's bytes; false when there is no hook or it aborted.
bool HookBytes(const TRecordHooks& hooks, int index, TPalmBytes& bytes) {
  if (hooks.OnWriteField == nullptr || !*hooks.OnWriteField) return false;
  bytes.clear();
  try {
    (*hooks.OnWriteField)(*hooks.Sender, index, bytes);
  } catch (const EAbort&) {
    return false;
  }
  return true;
}

bool HookText(const TRecordHooks& hooks, const uint8_t* data, size_t size, int index, size_t& position,
              TPalmCell& cell) {
  if (hooks.OnReadField == nullptr || !*hooks.OnReadField) return false;
  std::string text;
  try {
    (*hooks.OnReadField)(*hooks.Sender, data, size, index, position, text);
  } catch (const EAbort&) {
    return false;
  }
  cell.SetText(std::move(text));
  return true;
}

// The text a variable-width field packs: a string field's text (a cell holding a number gives
// its text, kept in `scratch`).
const std::string& PackedText(const TPalmCell& cell, std::string& scratch, const TFormatSettings& formats) {
  if (cell.Kind() == TPalmCell::TKind::Text) return cell.StoredText();
  scratch = cell.Text(formats);
  return scratch;
}

// Bytes a field occupies when it is not supplied by a hook.
size_t PackedWidth(const TpfgPalmFieldDef& def, const TPalmCell& cell, std::string& scratch,
                   const TFormatSettings& formats) {
  const int32_t width = def.Width();
  if (width >= 1) return static_cast<size_t>(width);
  // A string without a fixed size is its text and a zero byte; a custom field of size 0 holds nothing.
  return def.DataType() == ptString ? PackedText(cell, scratch, formats).size() + 1 : 0;
}

void ReadString(const uint8_t* data, size_t size, size_t& position, int32_t width, TPalmCell& cell) {
  const uint8_t* start = data + position;
  const size_t limit = width > 0 ? static_cast<size_t>(width) : size - position;
  const auto* zero = static_cast<const uint8_t*>(std::memchr(start, 0, limit));
  const size_t length = zero != nullptr ? static_cast<size_t>(zero - start) : limit;
  cell.SetText(std::string_view(reinterpret_cast<const char*>(start), length));
  position += width > 0 ? static_cast<size_t>(width) : length + 1;
}

void WriteString(const std::string& text, int32_t size, uint8_t* out) {
  if (size > 0) {
    const size_t copied = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size);
    std::memcpy(out, text.data(), copied);
    std::memset(out + copied, 0, static_cast<size_t>(size) - copied);
  } else {
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = 0;
  }
}

}  // namespace

bool RemoteToLocalRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const uint8_t* data, size_t size,
                         std::vector<TPalmCell>& cells, const TFormatSettings& formats, const TRecordHooks& hooks) {
  const int count = defs.Count();
  cells.resize(count);
  for (TPalmCell& cell : cells) cell.Clear();
  if (size == 0) return false;

  size_t position = 0;
  for (int i = 0; i < count; ++i) {
    const TpfgPalmFieldDef& def = defs[i];
    if (HookText(hooks, data, size, i, position, cells[i])) continue;
    position = NumAligned(layout, def.DataType(), position);
    const int32_t width = def.Width();
    if (position >= size) {
      if (!defs.StrictFields()) break;
      throw EPalmDBError(kFieldBeyondRecord);
    }
    if (width > 0 && static_cast<size_t>(width) > size - position) throw EPalmDBError(kFieldBeyondRecord);
    if (def.DataType() == ptString) {
      ReadString(data, size, position, width, cells[i]);
    } else if (width > 0) {
      DecodePalmCell(def.DataType(), data + position, static_cast<size_t>(width), cells[i], formats);
      position += static_cast<size_t>(width);
    }
    position = Aligned(defs, layout, i, position);
  }
  return true;
}

bool RemoteToLocalRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const uint8_t* data, size_t size,
                         std::vector<std::string>& texts, const TFormatSettings& formats, const TRecordHooks& hooks) {
  std::vector<TPalmCell> cells;
  // The texts of the fields read before a failing one stand, as the cells' do.
  const auto copy_texts = [&] {
    texts.resize(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) texts[i] = cells[i].Text(formats);
  };
  try {
    const bool has_data = RemoteToLocalRecord(defs, layout, data, size, cells, formats, hooks);
    copy_texts();
    return has_data;
  } catch (...) {
    copy_texts();
    throw;
  }
}

void LocalToRemoteRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const std::vector<TPalmCell>& cells,
                         std::vector<uint8_t>& record, const TFormatSettings& formats, const TRecordHooks& hooks) {
  const int count = defs.Count();
  if (cells.size() != static_cast<size_t>(count)) {
    throw EPalmDBError("The record holds " + std::to_string(cells.size()) + " values for " + std::to_string(count) +
                       " fields");
  }
  TPalmBytes hooked;
  std::string scratch;
  size_t total = 0;
  for (int i = 0; i < count; ++i) {
    const TpfgPalmFieldDef& def = defs[i];
    total = NumAligned(layout, def.DataType(), total);
    total += HookBytes(hooks, i, hooked) ? hooked.size() : PackedWidth(def, cells[i], scratch, formats);
    total = Aligned(defs, layout, i, total);
  }

  record.assign(total, 0);
  uint8_t* out = record.data();
  size_t position = 0;
  for (int i = 0; i < count; ++i) {
    const TpfgPalmFieldDef& def = defs[i];
    const TPalmCell& cell = cells[i];
    position = NumAligned(layout, def.DataType(), position);
    if (HookBytes(hooks, i, hooked)) {
      if (hooked.size() > total - position) throw Exception(kRecordBeyondLimits);
      if (!hooked.empty()) std::memcpy(out + position, hooked.data(), hooked.size());
      position += hooked.size();
    } else {
      const size_t width = PackedWidth(def, cell, scratch, formats);
      if (width > total - position) throw Exception(kRecordBeyondLimits);
      if (def.DataType() == ptString) {
        WriteString(PackedText(cell, scratch, formats), def.Size(), out + position);
      } else if (width > 0) {
        EncodePalmCell(def.DataType(), cell, out + position, width, formats);
      }
      position += width;
    }
    position = Aligned(defs, layout, i, position);
  }
}

void LocalToRemoteRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const std::vector<std::string>& texts,
                         std::vector<uint8_t>& record, const TFormatSettings& formats, const TRecordHooks& hooks) {
  std::vector<TPalmCell> cells(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) cells[i].SetText(std::string_view(texts[i]));
  LocalToRemoteRecord(defs, layout, cells, record, formats, hooks);
}
