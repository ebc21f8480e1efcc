#include "palmdb/record_layout.h"

#include <algorithm>
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
size_t Aligned(const TpfgPalmFieldDefs& defs, TRecordLayout layout, size_t index, size_t position) {
  const size_t alignment = defs.Alignment();
  if (alignment == 0 || position % alignment == 0) return position;
  const std::vector<TPalmFieldShape>& shapes = defs.Shapes();
  if (shapes[index].Type == ptString) {
    const bool next_is_string = index + 1 < shapes.size() && shapes[index + 1].Type == ptString;
    if (!layout.StringsAlign || next_is_string) return position;
  }
  return position + (alignment - position % alignment);
}

// Asks the write hook (there is one) for a field's bytes; false when it aborted.
bool HookBytes(const TRecordHooks& hooks, int index, TPalmBytes& bytes) {
  bytes.clear();
  try {
    (*hooks.OnWriteField)(*hooks.Sender, index, bytes);
  } catch (const EAbort&) {
    return false;
  }
  return true;
}

// Asks the read hook (there is one) for a field's text; false when it aborted.
bool HookText(const TRecordHooks& hooks, const uint8_t* data, size_t size, int index, size_t& position,
              TPalmCell& cell) {
  std::string text;
  try {
    (*hooks.OnReadField)(*hooks.Sender, data, size, index, position, text);
  } catch (const EAbort&) {
    return false;
  }
  cell.SetText(std::move(text));
  return true;
}

// The text a string field packs: its text (a cell holding a number gives its text, kept in
// `scratch`).
const std::string& PackedText(const TPalmCell& cell, std::string& scratch, const TFormatSettings& formats) {
  if (cell.Kind() == TPalmCell::TKind::Text) return cell.StoredText();
  scratch = cell.Text(formats);
  return scratch;
}

// The bytes of a record as its fields are packed: zero-filled room, grown as fields need it,
// and cut to what was packed at the end. Padding is the room left untouched. The room starts
// at the size of the record packed before, so one large record does not make the next ones
// clear its whole size.
class TRecordWriter {
 public:
  explicit TRecordWriter(std::vector<uint8_t>& bytes) : bytes_(bytes) {
    bytes_.assign(std::max<size_t>(bytes_.size(), 64), 0);
  }
  size_t Position() const { return position_; }
  void PadTo(size_t position) { Take(position - position_); }
  uint8_t* Take(size_t width) {
    if (width > bytes_.size() - position_) bytes_.resize(std::max(2 * bytes_.size(), position_ + width), 0);
    uint8_t* out = bytes_.data() + position_;
    position_ += width;
    return out;
  }
  void Finish() { bytes_.resize(position_); }

 private:
  std::vector<uint8_t>& bytes_;
  size_t position_ = 0;
};

// A string field: exactly Size bytes (the text cut or padded with zero bytes), or, without a
// fixed size, the text and a zero byte.
void PackString(const std::string& text, int32_t size, TRecordWriter& writer) {
  const size_t width = size > 0 ? static_cast<size_t>(size) : text.size() + 1;
  std::memcpy(writer.Take(width), text.data(), std::min(text.size(), width));
}

// A field of any other kind, in its width; a custom field of size 0 holds nothing.
void PackNumber(const TPalmFieldShape& shape, const TPalmCell& cell, TRecordWriter& writer,
                const TFormatSettings& formats) {
  const int32_t width = shape.Width;
  if (width < 1) return;
  EncodePalmCell(shape.Type, cell, writer.Take(static_cast<size_t>(width)), static_cast<size_t>(width), formats);
}

void ReadString(const uint8_t* data, size_t size, size_t& position, int32_t width, TPalmCell& cell) {
  const uint8_t* start = data + position;
  const size_t limit = width > 0 ? static_cast<size_t>(width) : size - position;
  const auto* zero = static_cast<const uint8_t*>(std::memchr(start, 0, limit));
  const size_t length = zero != nullptr ? static_cast<size_t>(zero - start) : limit;
  cell.SetText(std::string_view(reinterpret_cast<const char*>(start), length));
  position += width > 0 ? static_cast<size_t>(width) : length + 1;
}

}  // namespace

bool RemoteToLocalRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const uint8_t* data, size_t size,
                         std::vector<TPalmCell>& cells, const TFormatSettings& formats, const TRecordHooks& hooks) {
  const int count = defs.Count();
  cells.resize(count);
  // Each field read sets its cell; the cells from `first` on are emptied when the reading stops.
  const auto clear_from = [&cells](int first) {
    for (auto cell = cells.begin() + first; cell != cells.end(); ++cell) cell->Clear();
  };
  if (size == 0) {
    clear_from(0);
    return false;
  }

  const bool read_hook = hooks.HasReadHook();
  const std::vector<TPalmFieldShape>& shapes = defs.Shapes();
  size_t position = 0;
  int i = 0;
  try {
    for (; i < count; ++i) {
      const TPalmFieldShape& shape = shapes[i];
      TPalmCell& cell = cells[i];
      if (read_hook && HookText(hooks, data, size, i, position, cell)) continue;
      position = NumAligned(layout, shape.Type, position);
      const int32_t width = shape.Width;
      if (position >= size) {
        if (!defs.StrictFields()) break;
        throw EPalmDBError(kFieldBeyondRecord);
      }
      if (width > 0 && static_cast<size_t>(width) > size - position) throw EPalmDBError(kFieldBeyondRecord);
      if (shape.Type == ptString) {
        ReadString(data, size, position, width, cell);
      } else if (width > 0) {
        DecodePalmCell(shape.Type, data + position, static_cast<size_t>(width), cell, formats);
        position += static_cast<size_t>(width);
      } else {
        cell.Clear();
      }
      if (defs.Alignment() != 0) position = Aligned(defs, layout, static_cast<size_t>(i), position);
    }
  } catch (...) {
    clear_from(i);
    throw;
  }
  clear_from(i);
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
  TRecordWriter writer(record);
  const bool write_hook = hooks.HasWriteHook();
  const std::vector<TPalmFieldShape>& shapes = defs.Shapes();
  for (int i = 0; i < count; ++i) {
    const TPalmFieldShape& shape = shapes[i];
    writer.PadTo(NumAligned(layout, shape.Type, writer.Position()));
    if (write_hook && HookBytes(hooks, i, hooked)) {
      if (!hooked.empty()) std::memcpy(writer.Take(hooked.size()), hooked.data(), hooked.size());
    } else if (shape.Type == ptString) {
      PackString(PackedText(cells[i], scratch, formats), shape.Size, writer);
    } else {
      PackNumber(shape, cells[i], writer, formats);
    }
    if (defs.Alignment() != 0) writer.PadTo(Aligned(defs, layout, static_cast<size_t>(i), writer.Position()));
  }
  writer.Finish();
}

void LocalToRemoteRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const std::vector<std::string>& texts,
                         std::vector<uint8_t>& record, const TFormatSettings& formats, const TRecordHooks& hooks) {
  std::vector<TPalmCell> cells(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) cells[i].SetText(std::string_view(texts[i]));
  LocalToRemoteRecord(defs, layout, cells, record, formats, hooks);
}
