#include "exchange/text_arena.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Texts taken one after another, small and larger than a block, keep their bytes while more are taken.
TEST(TextArena, TextsNeverMoveOrOverlap) {
  TTextArena arena;
  std::vector<std::pair<char*, std::string>> taken;
  for (int i = 0; i < 30000; ++i) {
    const std::string text = i % 10000 == 0 ? std::string(3 << 20, static_cast<char>('a' + i % 26))
                                            : std::to_string(i) + ";" + std::string(i % 50, 'x');
    char* room = arena.Take(text.size());
    std::memcpy(room, text.data(), text.size());
    taken.emplace_back(room, text);
  }
  for (const auto& [room, text] : taken) ASSERT_EQ(std::string(room, text.size()), text);
  arena.Clear();
  char* room = arena.Take(4);
  std::memcpy(room, "next", 4);
  EXPECT_EQ(std::string(room, 4), "next");
}

}  // namespace
