// The record layout: how a handheld record's bytes map to a table's fields, in both directions.
// The current record is one cell per field definition (an empty text = no value), or the
// cells' regional texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/regional_formats.h"
#include "palmdb/palm_cell.h"
#include "palmdb/palm_field_defs.h"
#include "palmdb/palm_value.h"

class TpfgPalmTable;

// Read hook: supplies field FieldIndex's text from the record bytes and advances DataPos itself.
using TpfgPalmReadFieldEvent = std::function<void(TpfgPalmTable& Sender, const uint8_t* pData, size_t DataSize,
                                                  int FieldIndex, size_t& DataPos, std::string& Data)>;
// Write hook: supplies field FieldIndex's bytes.
using TpfgPalmWriteFieldEvent = std::function<void(TpfgPalmTable& Sender, int FieldIndex, TPalmBytes& Data)>;

// The layout options of a table: opNumAlign puts fields of even width at even offsets,
// opStringsAlign lets the Alignment rounding follow a string field.
struct TRecordLayout {
  bool NumAlign = false;
  bool StringsAlign = false;
};

// The field hooks of a table; a hook that throws EAbort leaves the field to the layout.
struct TRecordHooks {
  TpfgPalmTable* Sender = nullptr;
  const TpfgPalmReadFieldEvent* OnReadField = nullptr;
  const TpfgPalmWriteFieldEvent* OnWriteField = nullptr;

  bool HasReadHook() const { return OnReadField != nullptr && *OnReadField; }
  bool HasWriteHook() const { return OnWriteField != nullptr && *OnWriteField; }
};

// Unpacks `size` record bytes into `texts` (resized to one text per definition, all emptied
// first). Returns false for a record of 0 bytes (no data; every field empty). Throws
// EPalmDBError "A mapped field went beyond the end of the physical record structure" for a
// field that does not fit (with StrictFields false, a record that simply ends leaves the
// remaining fields empty); the fields before the failing one keep their texts.
bool RemoteToLocalRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const uint8_t* data, size_t size,
                         std::vector<std::string>& texts, const TFormatSettings& formats,
                         const TRecordHooks& hooks = {});
// The same into cells, which keep the numbers as numbers until their text is asked for.
bool RemoteToLocalRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const uint8_t* data, size_t size,
                         std::vector<TPalmCell>& cells, const TFormatSettings& formats, const TRecordHooks& hooks = {});

// Packs `texts` (one per definition) into `record`, which is resized to exactly the record's
// size. Throws the conversion error of a text that is not a value of its field's kind.
void LocalToRemoteRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const std::vector<std::string>& texts,
                         std::vector<uint8_t>& record, const TFormatSettings& formats, const TRecordHooks& hooks = {});
// The same from cells: the bytes their texts would give.
void LocalToRemoteRecord(const TpfgPalmFieldDefs& defs, TRecordLayout layout, const std::vector<TPalmCell>& cells,
                         std::vector<uint8_t>& record, const TFormatSettings& formats, const TRecordHooks& hooks = {});
