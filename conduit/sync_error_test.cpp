#include "conduit/sync_error.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SyncError, TableHoldsNinetyEightCodesInAscendingOrderEachWithOneSentence) {
  auto table = SyncErrorDescriptions();
  EXPECT_EQ(table.size(), 98u);
  std::set<int32_t> codes;
  for (size_t i = 0; i < table.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(table[i - 1].Code, table[i].Code);
    }
    std::string text = table[i].Text;
    EXPECT_FALSE(text.empty()) << table[i].Code;
    EXPECT_EQ(text.back(), '.') << table[i].Code;
    codes.insert(table[i].Code);
  }
  for (int32_t code :
       {-1017, -1015, -1013, -1000, -555, -551,  -516,  -509,  -507,  -500,      -1,        0,         4097,
        4114,  4176,  4192,  4209,  4219, 16385, 16391, 16393, 16408, 268452867, 268452869, 268452881, 268461072}) {
    EXPECT_EQ(codes.count(code), 1u) << code;
  }
  for (int32_t absent : {-1014, -999, -508, 4115, 4208, 16392, 16409}) EXPECT_EQ(codes.count(absent), 0u) << absent;
}

TEST(SyncError, MessageIsCodeAndDescription) {
  EXPECT_STREQ(EPalmSyncError(16387).what(),
               "Error 16387 :The requested database, record, resource, etc. could not be found.");
  EXPECT_STREQ(EPalmSyncError(-1003).what(), "Error -1003 :The specified conduit does not exist.");
  EXPECT_STREQ(EPalmSyncError(268452881).what(),
               "Error 268452881 :The HotSync Manager was cancelled by the desktop computer user.");
  EXPECT_EQ(EPalmSyncError(4219).ErrorCode(), 4219);
}

TEST(SyncError, CodeWithoutDescriptionGivesEmptyTextAfterTheColon) {
  EXPECT_STREQ(EPalmSyncError(4208).what(), "Error 4208 :");
  EXPECT_STREQ(EPalmSyncError(-1, "(Zembra_OrderDB)").what(), "Error -1 :A nonspecific error. (Zembra_OrderDB)");
  EXPECT_EQ(EPalmSyncError(-1, "(Zembra_OrderDB)").ErrorCode(), -1);
  EXPECT_EQ(SyncErrorDescription(16392), "");
}

TEST(SyncError, PublishedRowsStandAsGiven) {
  EXPECT_EQ(SyncErrorDescription(0), "The function call was successful.");
  EXPECT_EQ(SyncErrorDescription(-1), "A nonspecific error.");
  EXPECT_EQ(SyncErrorDescription(4213), "The input arguments structure is not valid.");
  EXPECT_EQ(SyncErrorDescription(16404),
            "There is insufficient memory in the data store on the handheld to complete the request. This generally "
            "occurs when attempting to write a record or resource to a handheld database.");
  EXPECT_EQ(SyncErrorDescription(268452867),
            "Request failed because there are too many open databases (for efficiency, the current Desktop Link "
            "implementation supports only one open database at a time).");
}

TEST(SyncError, CheckSyncResultRaisesOnlyForNonZero) {
  EXPECT_NO_THROW(CheckSyncResult(0));
  try {
    CheckSyncResult(16395);
    FAIL();
  } catch (const EPalmSyncError& error) {
    EXPECT_EQ(error.ErrorCode(), 16395);
  }
}

}  // namespace
