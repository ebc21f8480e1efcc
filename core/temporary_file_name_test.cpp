#include "core/temporary_file_name.h"

#include <gtest/gtest.h>
#include <unistd.h>

TEST(TemporaryFileName, RecognisesExactlyTheNamesWritersMake) {
  const std::string made = TemporaryPathFor("/x/Order.txt");
  EXPECT_EQ(made, "/x/Order.txt.tmp-" + std::to_string(::getpid()));
  EXPECT_EQ(TemporaryFileWriter(made.substr(3)), ::getpid());
  EXPECT_EQ(TemporaryFileWriter("Zembra_OrderItemDB.pdb.tmp-4242"), 4242);
  EXPECT_EQ(TemporaryFileWriter("a.tmp-1.tmp-77"), 77);

  for (const char* foreign :
       {"Order.txt", ".tmp-12", "Order.txt.tmp-", "Order.txt.tmp-12a", "Order.txt.tmp--3", "Order.txt.tmp-0",
        "Order.txt.tmp-012", "Order.txt.tmp-99999999999", "Order.tmp", "Order.txt.TMP-12", "notes.tmp-12.txt"}) {
    EXPECT_EQ(TemporaryFileWriter(foreign), std::nullopt) << foreign;
  }
}
