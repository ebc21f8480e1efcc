// The line structure of delimited text files: the header into field names, and a record line
// into its values (the file's lines are core's SplitLines).
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <string>
#include <string_view>
#include <vector>

// The field names of a header line: every '"' removed, one delimiter at the end dropped, then
// split at each delimiter (an empty piece is an empty name; an empty header gives no names).
std::vector<std::string> ParseHeaderNames(std::string_view header, char delimiter);

// Calls store(i, value) for i = 0..count-1: the text up to the next delimiter, or the rest of the
// line when there is none (empty once the line is used up). Surplus values are ignored.
template <typename Store>
void SplitRecordLine(std::string_view line, char delimiter, int count, Store&& store) {
  const char* at = line.data();
  const char* const end = at + line.size();
  const char* start = at;  // where the next value starts
  int i = 0;
#if defined(__SSE2__)
  // Values are mostly a few bytes long: the delimiters of sixteen bytes are found at once, where
  // the processor allows, and taken in turn.
  const __m128i wanted = _mm_set1_epi8(delimiter);
  for (; i < count && end - at >= 16; at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted))); mask != 0 && i < count;
         mask &= mask - 1) {
      const char* const stop = at + __builtin_ctz(mask);
      store(i++, std::string_view(start, static_cast<size_t>(stop - start)));
      start = stop + 1;
    }
  }
#endif
  // The rest one byte at a time: no delimiter lies between `start` and `at`.
  at = start;
  for (; i < count; ++i) {
    const char* const value = at;
    while (at != end && *at != delimiter) ++at;
    store(i, std::string_view(value, static_cast<size_t>(at - value)));
    if (at != end) ++at;
  }
}
