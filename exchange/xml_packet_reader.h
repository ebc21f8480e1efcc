// Reads an XML data packet into rows of the in-memory table: the columns from METADATA/FIELDS,
// one row per ROW of ROWDATA, texts kept as the Windows-1251 bytes they are.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

class TTableData;

// The rows of a packet are parsed this many bytes at a time, so a large packet's nodes are never
// held all at once.
constexpr size_t kPacketPieceSize = 256 << 10;

// Accepts packets with or without RowState and CHANGE_LOG, attributes in any order, line breaks
// and indentation, standard entity and character references. Rows marked deleted or holding a
// row's original values (RowState bit 1 or 2) are not part of the table and are skipped.
// Throws EDataPacketError naming file when the bytes are not XML, not a data packet, or hold a
// value that does not fit its column. piece_size 0 parses the packet whole; every piece size
// reads the same rows and fails the same way.
std::shared_ptr<TTableData> ReadDataPacket(std::string_view bytes, const std::string& file,
                                           size_t piece_size = kPacketPieceSize);
// The same over bytes the reader may change while it parses, which saves it a copy of them.
std::shared_ptr<TTableData> ReadDataPacket(std::span<char> bytes, const std::string& file);
