// What tells a file's present contents apart from earlier ones: its inode, size and change times.
// A file rewritten, replaced or touched since has another identity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct TFileIdentity {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  int64_t Size = 0;
  int64_t ModifiedSeconds = 0;
  int64_t ModifiedNanoseconds = 0;
  int64_t ChangedSeconds = 0;
  int64_t ChangedNanoseconds = 0;

  bool operator==(const TFileIdentity&) const = default;
};

// The identity of the file at path (symbolic links followed); none when it cannot be examined.
std::optional<TFileIdentity> IdentityOf(const std::string& path);
