#include "core/text_buffer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

TEST(TextBuffer, KeepsEveryPieceAcrossGrowth) {
  TTextBuffer buffer;
  EXPECT_TRUE(buffer.View().empty());
  std::string expected;
  std::mt19937 random(3);
  for (int i = 0; i < 2000; ++i) {
    const std::string piece(random() % 700, static_cast<char>('a' + i % 26));
    if (i % 2 == 0) {
      buffer.Append(piece);
    } else {
      // Room asked for beyond what is written: only the written part counts.
      char* at = buffer.Room(piece.size() + 50);
      piece.copy(at, piece.size());
      buffer.Commit(at + piece.size());
    }
    expected += piece;
  }
  buffer.Append("");
  EXPECT_EQ(buffer.View(), expected);
}

}  // namespace
