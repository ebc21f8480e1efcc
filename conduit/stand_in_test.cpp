#include "conduit/stand_in_test.h"

#include "conduit/desktop_libraries.h"

void StandInTest::SetUp() {
  if (!StandInsBuilt()) GTEST_SKIP() << "the desktop stand-ins are not built in ZP_BIN_DIR yet";
  home_variable_ = std::make_unique<THomeVariable>(home_.Path());
  messages_ = std::make_unique<MessageRecorder>(BinDirectory());
  log_ = std::make_unique<LogRecorder>(BinDirectory(), home_.Path() + "HotSync.log");
  ASSERT_TRUE(BindDesktopLibraries(BinDirectory()));
}

void StandInTest::TearDown() {
  ReleaseDesktopLibraries();
  log_.reset();
  messages_.reset();
  home_variable_.reset();
}
