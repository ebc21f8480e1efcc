#include "exchange/packet_row_pieces.h"

namespace {

enum class TMarkupKind { StartTag, EmptyTag, EndTag, Other };

struct TMarkup {
  TMarkupKind Kind;
  std::string_view Name;  // of a tag
  size_t End;             // just after the markup's '>'
};

bool IsNameEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>'; }

std::optional<size_t> EndOf(std::string_view bytes, size_t from, std::string_view terminator) {
  const size_t found = bytes.find(terminator, from);
  if (found == std::string_view::npos) return std::nullopt;
  return found + terminator.size();
}

// The markup starting at bytes[at] == '<'. None when it does not end or is a declaration this
// scan does not follow (DOCTYPE and its kin).
std::optional<TMarkup> ReadMarkup(std::string_view bytes, size_t at) {
  const std::string_view rest = bytes.substr(at);
  std::optional<size_t> end;
  if (rest.starts_with("<!--")) {
    end = EndOf(bytes, at + 4, "-->");
  } else if (rest.starts_with("<![CDATA[")) {
    end = EndOf(bytes, at + 9, "]]>");
  } else if (rest.starts_with("<?")) {
    end = EndOf(bytes, at + 2, "?>");
  } else if (rest.starts_with("<!")) {
    return std::nullopt;
  }
  if (end) return TMarkup{TMarkupKind::Other, {}, *end};
  if (rest.size() < 2 || rest.starts_with("<!") || rest.starts_with("<?")) return std::nullopt;

  const bool closing = rest[1] == '/';
  size_t position = at + (closing ? 2 : 1);
  const size_t name_start = position;
  while (position < bytes.size() && !IsNameEnd(bytes[position])) ++position;
  const std::string_view name = bytes.substr(name_start, position - name_start);
  if (name.empty()) return std::nullopt;
  char last = '\0';  // the last character outside quotes
  while (position < bytes.size()) {
    const char c = bytes[position];
    if (c == '>') {
      const TMarkupKind kind = closing ? TMarkupKind::EndTag : last == '/' ? TMarkupKind::EmptyTag : TMarkupKind::StartTag;
      return TMarkup{kind, name, position + 1};
    }
    if (c == '"' || c == '\'') {
      const size_t quote_end = bytes.find(c, position + 1);
      if (quote_end == std::string_view::npos) return std::nullopt;
      position = quote_end;
    }
    last = c;
    ++position;
  }
  return std::nullopt;
}

// Where the ROWDATA child of the DATAPACKET root begins its content.
std::optional<size_t> FindRowDataContent(std::string_view bytes, std::string_view& head) {
  int depth = 0;
  size_t at = bytes.find('<');
  while (at != std::string_view::npos) {
    const std::optional<TMarkup> markup = ReadMarkup(bytes, at);
    if (!markup) return std::nullopt;
    switch (markup->Kind) {
      case TMarkupKind::StartTag:
        if (depth == 0 && markup->Name != "DATAPACKET") return std::nullopt;
        if (depth == 1 && markup->Name == "ROWDATA") {
          head = bytes.substr(0, markup->End);
          return markup->End;
        }
        ++depth;
        break;
      case TMarkupKind::EmptyTag:
        // A root without children, or an empty ROWDATA: nothing to cut.
        if (depth <= 1) return std::nullopt;
        break;
      case TMarkupKind::EndTag:
        if (--depth <= 0) return std::nullopt;
        break;
      case TMarkupKind::Other:
        break;
    }
    at = bytes.find('<', markup->End);
  }
  return std::nullopt;
}

}  // namespace

std::optional<TPacketRowPieces> FindPacketRowPieces(std::string_view bytes, size_t piece_size) {
  TPacketRowPieces found;
  const std::optional<size_t> content = FindRowDataContent(bytes, found.Head);
  if (!content) return std::nullopt;
  int depth = 0;
  size_t piece_start = *content;
  size_t at = bytes.find('<', *content);
  while (at != std::string_view::npos) {
    if (depth == 0 && at - piece_start >= piece_size) {
      found.Pieces.push_back(bytes.substr(piece_start, at - piece_start));
      piece_start = at;
    }
    const std::optional<TMarkup> markup = ReadMarkup(bytes, at);
    if (!markup) return std::nullopt;
    switch (markup->Kind) {
      case TMarkupKind::StartTag:
        ++depth;
        break;
      case TMarkupKind::EndTag:
        if (depth == 0) {
          if (markup->Name != "ROWDATA") return std::nullopt;
          if (at > piece_start) found.Pieces.push_back(bytes.substr(piece_start, at - piece_start));
          found.Tail = bytes.substr(at);
          return found;
        }
        --depth;
        break;
      case TMarkupKind::EmptyTag:
      case TMarkupKind::Other:
        break;
    }
    at = bytes.find('<', markup->End);
  }
  return std::nullopt;
}
