// Writes the in-memory table as an XML data packet: one line, the declaration and two blanks,
// column definitions, a change log recording every appended row as an insertion, and the rows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class TTableData;

// The packet's bytes (texts byte for byte, escaped). Appended rows carry RowState 4 and a
// CHANGE_LOG triple; a null cell has no attribute, an empty text an empty one. Throws
// EDatabaseError for a column name that cannot be an attribute name, or a float or date-time
// that has no packet text (infinity, NaN, a date outside the years 1 to 9999).
// The bytes go to `write` in pieces of about a megabyte, one after another; a value that fails
// stops the writing there.
void WriteDataPacket(const TTableData& data, const std::function<void(std::string_view)>& write);
// The packet's bytes whole.
std::string DataPacketBytes(const TTableData& data);
