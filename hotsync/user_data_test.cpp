#include "api/user_data.h"

#include <gtest/gtest.h>

#include "hotsync/users_store.h"
#include "test_support/scratch_directory.h"

namespace {

TEST(UserData, ListsTheUsersOfTheHome) {
  TScratchHome home;
  EXPECT_EQ(UmGetUserCount(), 0);
  AddUser(home.Path(), "Petrov", "pet");
  AddUser(home.Path(), "\xC8\xE2\xE0\xED\xEE\xE2", "Ivanov");
  ASSERT_EQ(UmGetUserCount(), 2);
  uint32_t id = 0;
  ASSERT_EQ(UmGetUserID(1, &id), 0);
  EXPECT_EQ(id, 2u);
  char buffer[256];
  int32_t size = 255;
  ASSERT_GE(UmGetUserDirectory(id, buffer, &size), 0);
  EXPECT_STREQ(buffer, "Ivanov");
  size = 255;
  ASSERT_EQ(UmGetRootDirectory(buffer, &size), 0);
  EXPECT_EQ(std::string(buffer), home.Path());
}

TEST(UserData, UnknownUsersAndShortBuffersFail) {
  TScratchHome home;
  AddUser(home.Path(), "Petrov", "pet");
  uint32_t id = 0;
  EXPECT_LT(UmGetUserID(1, &id), 0);
  EXPECT_LT(UmGetUserID(-1, &id), 0);
  char buffer[8];
  int32_t size = sizeof buffer;
  EXPECT_LT(UmGetUserDirectory(99, buffer, &size), 0);
  size = 3;
  EXPECT_LT(UmGetUserDirectory(1, buffer, &size), 0);
  EXPECT_EQ(size, 4);
}

}  // namespace
