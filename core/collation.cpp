#include "core/collation.h"

#include <array>
#include <cstdint>

namespace {

// Upper case of each Windows-1251 byte (Latin and Cyrillic letters; everything else unchanged).
constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 32);
  for (int c = 0xE0; c <= 0xFF; ++c) table[c] = static_cast<unsigned char>(c - 32);
  constexpr unsigned char kPairs[][2] = {{0xB8, 0xA8}, {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C},
                                         {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xBC, 0xA3},
                                         {0xB4, 0xA5}, {0xBA, 0xAA}, {0xBF, 0xAF}, {0xB3, 0xB2}, {0xBE, 0xBD}};
  for (const auto& pair : kPairs) table[pair[0]] = pair[1];
  return table;
}

constexpr auto kUpper = MakeUpperTable();

// Sort weight of each byte after case folding: controls, blank, punctuation, digits, Latin,
// Cyrillic (Ё right after Е, the other Cyrillic letters beside their nearest Russian letter).
std::array<uint16_t, 256> MakeWeights() {
  std::array<uint16_t, 256> weights{};
  uint16_t next = 0;
  std::array<bool, 256> assigned{};
  auto assign = [&](unsigned char c) {
    if (!assigned[c]) weights[c] = next++, assigned[c] = true;
  };
  for (int c = 0; c <= 0x20; ++c) assign(static_cast<unsigned char>(c));
  // Cyrillic capitals in alphabet order, the Russian ones with their neighbours.
  constexpr unsigned char kCyrillic[] = {0xC0, 0xC1, 0xC2, 0xC3, 0xA5, 0x81, 0xC4, 0x80, 0xC5, 0xA8, 0xAA, 0xC6,
                                         0xC7, 0xBD, 0xC8, 0xB2, 0xAF, 0xC9, 0xA3, 0xCA, 0x8D, 0xCB, 0x8A, 0xCC,
                                         0xCD, 0x8C, 0xCE, 0xCF, 0xD0, 0xD1, 0xD2, 0x8E, 0xD3, 0xA1, 0xD4, 0xD5,
                                         0xD6, 0xD7, 0x8F, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF};
  std::array<bool, 256> letter{};
  for (int c = 'A'; c <= 'Z'; ++c) letter[c] = true;
  for (const unsigned char c : kCyrillic) letter[c] = true;
  for (int c = 0x21; c < 256; ++c) {
    const auto u = static_cast<unsigned char>(c);
    if (!letter[kUpper[u]] && !(u >= '0' && u <= '9')) assign(u);
  }
  for (int c = '0'; c <= '9'; ++c) assign(static_cast<unsigned char>(c));
  for (int c = 'A'; c <= 'Z'; ++c) assign(static_cast<unsigned char>(c));
  for (const unsigned char c : kCyrillic) assign(c);
  for (int c = 0; c < 256; ++c) weights[c] = weights[kUpper[c]];
  return weights;
}

const std::array<uint16_t, 256>& Weights() {
  static const auto weights = MakeWeights();
  return weights;
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
  const auto& weights = Weights();
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int wa = weights[static_cast<unsigned char>(a[i])];
    const int wb = weights[static_cast<unsigned char>(b[i])];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string CollationKey(std::string_view text) {
  const auto& weights = Weights();
  std::string key(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) key[i] = static_cast<char>(weights[static_cast<unsigned char>(text[i])]);
  return key;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (kUpper[static_cast<unsigned char>(a[i])] != kUpper[static_cast<unsigned char>(b[i])]) return false;
  }
  return true;
}

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
  return out;
}

std::string UpperCaseLatin(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}
