#include "hotsync/users_store.h"

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "hotsync/host_errors.h"
#include "hotsync/hotsync_home.h"
#include "test_support/scratch_directory.h"

namespace {

std::string LoadError(const std::string& home, const std::string& text) {
  WriteFileAtomic(UsersFilePath(home), text);
  try {
    LoadUsers(home);
  } catch (const EHotSyncFileError& error) {
    return error.what();
  }
  return "no error";
}

TEST(UsersStore, AddsUsersWithFreshIdsAndReadsThemBackByteForByte) {
  TScratchHome home;
  EXPECT_TRUE(LoadUsers(home.Path()).empty());
  const std::string ivanov = "\xC8\xE2\xE0\xED\xEE\xE2";  // Иванов in Windows-1251
  EXPECT_EQ(AddUser(home.Path(), ivanov, "Ivanov").Id, 1u);
  EXPECT_EQ(AddUser(home.Path(), "Petrov", "pet").Id, 2u);
  EXPECT_EQ(ReadWholeFile(UsersFilePath(home.Path())),
            "[1]\nName=" + ivanov + "\nDirectory=Ivanov\n[2]\nName=Petrov\nDirectory=pet\n");
  const auto users = LoadUsers(home.Path());
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(FindUserByName(users, ivanov)->Directory, "Ivanov");
  EXPECT_EQ(FindUserById(users, 2)->Name, "Petrov");
  EXPECT_EQ(FindUserByName(users, "petrov"), nullptr);
}

TEST(UsersStore, RefusesDuplicatesEmptyNamesAndUnsafeDirectories) {
  TScratchHome home;
  AddUser(home.Path(), "Petrov", "pet");
  EXPECT_THROW(AddUser(home.Path(), "Petrov", "other"), EHotSyncRequestError);
  EXPECT_THROW(AddUser(home.Path(), "Sidorov", "pet"), EHotSyncRequestError);
  EXPECT_THROW(AddUser(home.Path(), "", "empty"), EHotSyncRequestError);
  EXPECT_THROW(AddUser(home.Path(), std::string(256, 'x'), "long"), EHotSyncRequestError);
  for (const char* directory : {"", ".", "..", "../outside", "a/b", "users.ini", "conduits.ini", "ZembraToPalm.ini"}) {
    EXPECT_THROW(AddUser(home.Path(), "Sidorov", directory), EHotSyncRequestError) << directory;
  }
  EXPECT_EQ(LoadUsers(home.Path()).size(), 1u);
}

TEST(UsersStore, DamagedListNamesFileAndLine) {
  TScratchHome home;
  const std::string file = UsersFilePath(home.Path());
  EXPECT_EQ(LoadError(home.Path(), "[x]\nName=a\nDirectory=a\n"),
            file + ", line 1: user ID \"x\" is not a positive number");
  EXPECT_EQ(LoadError(home.Path(), "[1]\nName=a\n"), file + ", line 1: user 1 has no Directory");
  EXPECT_EQ(LoadError(home.Path(), "[1]\nName=a\nDirectory=a\n[1]\nName=b\nDirectory=b\n"),
            file + ", line 4: user ID 1 appears twice");
  EXPECT_EQ(LoadError(home.Path(), "[3]\nName=a\nDirectory=../..\n"),
            file + ", line 1: The user's directory \"../..\" is not a plain folder name");
}

TEST(UsersStore, DefaultDirectoryKeepsLettersDigitsAndSafePunctuation) {
  EXPECT_EQ(DefaultUserDirectory("Ivan Petrov/2"), "Ivan_Petrov_2");
  EXPECT_EQ(DefaultUserDirectory("a-b_c.d"), "a-b_c.d");
  // Russian letters are spelt in Latin ones, other bytes become '_': the folder name stays ASCII.
  EXPECT_EQ(DefaultUserDirectory("\xC8\xE2\xE0\xED\xEE\xE2 \xA8\xF9\x88?7"), "Ivanov_Yoshch__7");
}

}  // namespace
