#include "exchange/packet_row_pieces.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first quote or '>' from `from` on, or npos: where a tag's scan has to look again. Tags are
// most of a packet's bytes, so sixteen are looked at at once where the processor allows.
size_t FindTagStop(std::string_view bytes, size_t from) {
  size_t at = from;
#if defined(__SSE2__)
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i apostrophe = _mm_set1_epi8('\'');
  const __m128i close = _mm_set1_epi8('>');
  for (; at + 16 <= bytes.size(); at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, quote), _mm_cmpeq_epi8(chunk, apostrophe)),
                                      _mm_cmpeq_epi8(chunk, close));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0) return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  for (; at < bytes.size(); ++at) {
    const char c = bytes[at];
    if (c == '"' || c == '\'' || c == '>') return at;
  }
  return std::string_view::npos;
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
  while (true) {
    const size_t stop = FindTagStop(bytes, position);
    if (stop == std::string_view::npos) return std::nullopt;
    const char c = bytes[stop];
    if (c == '>') {
      // What stands before the '>' stands outside quotes, or closes them.
      const TMarkupKind kind =
          closing ? TMarkupKind::EndTag : bytes[stop - 1] == '/' ? TMarkupKind::EmptyTag : TMarkupKind::StartTag;
      return TMarkup{kind, name, stop + 1};
    }
    const size_t quote_end = bytes.find(c, stop + 1);
    if (quote_end == std::string_view::npos) return std::nullopt;
    position = quote_end + 1;
  }
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
    if (depth == 0 && markup->Name == "ROW" && markup->Kind != TMarkupKind::EndTag) ++found.RowTags;
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
