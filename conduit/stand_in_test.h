// A test bound to the desktop stand-ins over a fresh HotSync home, with the log and the
// message boxes recorded. Skips when the stand-ins are not built.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "test_support/built_programs.h"
#include "test_support/desktop_recorders.h"
#include "test_support/scratch_directory.h"

class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TScratchDirectory home_{"zp-conduit"};
  std::unique_ptr<THomeVariable> home_variable_;
  std::unique_ptr<MessageRecorder> messages_;
  std::unique_ptr<LogRecorder> log_;
};
