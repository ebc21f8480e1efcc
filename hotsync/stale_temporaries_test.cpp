#include "hotsync/stale_temporaries.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "test_support/scratch_directory.h"

namespace {

pid_t DeadProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

TEST(StaleTemporaries, RemovesOnlyTemporariesOfWritersThatAreGone) {
  const TScratchDirectory scratch("zp-stale");
  const std::string dead = std::to_string(DeadProcess());
  const std::string own = std::to_string(::getpid());
  for (const std::string& name : std::vector<std::string>{
           "Order.txt.tmp-" + dead, "Zembra_OrderItemDB.pdb.tmp-" + dead, "Cash.txt.tmp-" + own, "Order.txt.tmp-1",
           "Order.txt", "notes.tmp-x", "Order.txt.tmp-" + dead + ".bak", ".hotsync.lock"})
    scratch.Write(name, "x");
  scratch.MakeDirectory("Old.tmp-" + dead);
  std::filesystem::create_symlink(scratch.Path("Order.txt"), scratch.Path("Link.txt.tmp-" + dead));

  std::vector<std::string> removed = RemoveStaleTemporaries(scratch.Root().string());
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed,
            (std::vector<std::string>{scratch.Path("Cash.txt.tmp-" + own), scratch.Path("Order.txt.tmp-" + dead),
                                      scratch.Path("Zembra_OrderItemDB.pdb.tmp-" + dead)}));
  for (const std::string& kept :
       std::vector<std::string>{"Order.txt.tmp-1", "Order.txt", "notes.tmp-x", "Order.txt.tmp-" + dead + ".bak",
                                ".hotsync.lock", "Old.tmp-" + dead, "Link.txt.tmp-" + dead})
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(scratch.Path(kept)))) << kept;
  EXPECT_TRUE(RemoveStaleTemporaries(scratch.Path("missing")).empty());
}

}  // namespace
