#include "api/sync_manager.h"

#include <gtest/gtest.h>

namespace {

TEST(SyncSession, RegisterYieldUnregister) {
  uint32_t handle = 0;
  ASSERT_EQ(SyncRegisterConduit(&handle), SYNCERR_NONE);
  EXPECT_NE(handle, 0u);
  EXPECT_EQ(SyncYieldCycles(1), SYNCERR_NONE);
  EXPECT_EQ(SyncUnRegisterConduit(handle + 1), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(SyncUnRegisterConduit(handle), SYNCERR_NONE);
  EXPECT_EQ(SyncUnRegisterConduit(handle), SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(SyncRegisterConduit(nullptr), SYNCERR_BAD_ARGUMENT);
}

}  // namespace
