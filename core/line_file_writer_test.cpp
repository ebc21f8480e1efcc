#include "core/line_file_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "test_support/scratch_directory.h"

namespace fs = std::filesystem;

// Lines of every length, across the buffer's edge and longer than the buffer itself, written
// whole or into room asked for, make the file their concatenation with CR LF after each.
TEST(LineFileWriter, WritesEveryLineWithItsEndAcrossTheBuffersEdges) {
  const TScratchDirectory scratch("zp-lines");
  const std::string path = (scratch.Root() / "Out.txt").string();
  std::string expected;
  {
    TLineFileWriter file(path);
    for (int i = 0; i < 40000; ++i) {
      const std::string line(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26));
      if (i % 2 == 0) {
        file.WriteLine(line);
      } else {
        char* room = file.LineRoom(line.size());
        std::memcpy(room, line.data(), line.size());
        file.EndLine(room + line.size());
      }
      expected += line + "\r\n";
      if (i == 20000) {
        const std::string longest((3 << 20) + 5, 'L');
        file.WriteLine(longest);
        expected += longest + "\r\n";
      }
    }
    // Nothing reaches the target before the commit.
    EXPECT_FALSE(fs::exists(path));
    file.Commit();
  }
  EXPECT_EQ(ReadWholeFile(path), expected);
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Root()), fs::directory_iterator()), 1);
}
