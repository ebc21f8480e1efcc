// Whole texts as integers of a chosen type: the one way the system reads a number that must
// be nothing but digits (an optional '-' for signed types).
#pragma once

#include <charconv>
#include <concepts>
#include <optional>
#include <string_view>
#include <system_error>

// The text as a number in `base`; none when it is empty, holds anything else (blanks, '+'),
// or lies outside the range of T.
template <std::integral T>
std::optional<T> ParseInteger(std::string_view text, int base = 10) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}
