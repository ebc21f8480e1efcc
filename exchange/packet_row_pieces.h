// Where the rows of a data packet lie, found by a scan of its markup without parsing it: the
// content of the ROWDATA element, cut into pieces of whole top-level nodes of about a given size,
// so that a large packet's rows can be parsed a piece at a time.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

struct TPacketRowPieces {
  std::string_view Head;                 // from the start through the ROWDATA start tag
  std::vector<std::string_view> Pieces;  // the element's content, in order
  std::string_view Tail;                 // from the ROWDATA end tag to the end
  size_t RowTags = 0;                    // the element's children tagged ROW: its rows, current or not
};

// The pieces, when the packet has the plain shape the accounting system writes: a DATAPACKET
// root with a ROWDATA child that has an end tag, comments, processing instructions and CDATA
// sections anywhere, quoted attribute values. None for anything else (a DOCTYPE, a markup that
// does not end, an end tag that closes nothing); the caller then parses the packet whole.
std::optional<TPacketRowPieces> FindPacketRowPieces(std::string_view bytes, size_t piece_size);
