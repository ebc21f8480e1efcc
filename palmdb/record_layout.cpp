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
              std::string& text) {
  if (hooks.OnReadField == nullptr || !*hooks.OnReadField) return false;
  try {
    (*hooks.OnReadField)(*hooks.Sender, data, size, index, position, text);
  } catch (const EAbort&) {
    return false;
  }
  return true;
}

// Bytes a field occupies when it is not supplied by a hook.
size_t PackedWidth(const TpfgPalmFieldDef& def, const std::string& text) {
  const int32_t width = def.Width();
  if (width >= 1) return static_cast<size_t>(width);
  // A string without a fixed size is its text and a zero byte; a custom field of size 0 holds nothing.
  return def.DataType() == ptString ? text.size() + 1 : 0;
}

void ReadString(const uint8_t* data, size_t size, size_t& position, int32_t width, std::string& text) {
  const uint8_t* start = data + position;
  const size_t limit = width > 0 ? static_cast<size_t>(width) : size - position;
  const auto* zero = static_cast<const uint8_t*>(std::memchr(start, 0, limit));
  const size_t length = zero != nullptr ? static_cast<size_t>(zero - start) : limit;
  text.assign(reinterpret_cast<const char*>(start), length);
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
                         std::vector<std::string>& texts, const TFormatSettings& formats, const TRecordHooks& hooks) {
  const int count = defs.Count();
  texts.resize(count);
  for (std::string& text : texts) text.clear();
  if (size == 0) return false;

  size_t position = 0;
  for (int i = 0; i < count; ++i) {
    const TpfgPalmFieldDef& def = defs[i];
    if (HookText(hooks, data, size, i, position, texts[i])) continue;
    position = NumAligned(layout, def.DataType(), position);
    const int32_t width = def.Width();
    if (position >= size) {
      if (!defs.StrictFields()) break;
      throw EPalmDBError(kFieldBeyondRecord);
    }
    if (width > 0 && static_cast<size_t>(width) > size - position) throw EPalmDBError(kFieldBeyondRecord);
    if (def.DataType() == ptString) {
      ReadString(data, size, position, width, texts[i]);
    } else if (width > 0) {
      texts[i] = DecodePalmField(def.DataType(), data + position, static_cast<size_t>(width), formats);
      position += static_cast<size_t>(width);
    }
    position = Aligned(defs, layout, i, position);
  }
  return true;
}

void LocalToRemoteRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const std::vector<std::string>& texts,
                         std::vector<uint8_t>& record, const TFormatSettings& formats, const TRecordHooks& hooks) {
  const int count = defs.Count();
  if (texts.size() != static_cast<size_t>(count)) {
    throw EPalmDBError("The record holds " + std::to_string(texts.size()) + " values for " + std::to_string(count) +
                       " fields");
  }
  TPalmBytes hooked;
  size_t total = 0;
  for (int i = 0; i < count; ++i) {
    const TpfgPalmFieldDef& def = defs[i];
    total = NumAligned(layout, def.DataType(), total);
    total += HookBytes(hooks, i, hooked) ? hooked.size() : PackedWidth(def, texts[i]);
    total = Aligned(defs, layout, i, total);
  }

  record.assign(total, 0);
  uint8_t* out = record.data();
  size_t position = 0;
  for (int i = 0; i < count; ++i) {
    const TpfgPalmFieldDef& def = defs[i];
    const std::string& text = texts[i];
    position = NumAligned(layout, def.DataType(), position);
    if (HookBytes(hooks, i, hooked)) {
      if (hooked.size() > total - position) throw Exception(kRecordBeyondLimits);
      if (!hooked.empty()) std::memcpy(out + position, hooked.data(), hooked.size());
      position += hooked.size();
    } else {
      const size_t width = PackedWidth(def, text);
      if (width > total - position) throw Exception(kRecordBeyondLimits);
      if (def.DataType() == ptString) {
        WriteString(text, def.Size(), out + position);
      } else if (width > 0) {
        EncodePalmField(def.DataType(), text, out + position, width, formats);
      }
      position += width;
    }
    position = Aligned(defs, layout, i, position);
  }
}
