#include "conduit/entry_points.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conduit/conduit_test_component.h"
#include "conduit/export_guard.h"
#include "conduit/stand_in_test.h"
#include "conduit/sync_error.h"
#include "core/byte_order.h"

namespace {

TEST(ConduitIdentity, NameAndVersionWithoutAComponent) {
  char buffer[16] = "untouched";
  EXPECT_EQ(GetConduitName(buffer, sizeof buffer), -1);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(GetConduitVersion(), 0);
  uint32_t size = 4;
  EXPECT_EQ(GetConduitInfo(1, nullptr, buffer, &size), 1);
  TpfgSyncProperties properties{};
  EXPECT_EQ(OpenConduit(nullptr, &properties), -1);
}

TEST(ConduitIdentity, VersionAndClassObject) {
  TConduitTestComponent component;
  EXPECT_EQ(GetConduitVersion(), 518);
  EXPECT_EQ(DllGetClassObject(nullptr, nullptr, nullptr), static_cast<int32_t>(0x80040111u));
  EXPECT_EQ(DllCanUnloadNow(), 0);
}

TEST(ConduitIdentity, NameIsCutToTheBufferAndNeverWrittenPastIt) {
  TConduitTestComponent component;
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetConduitName(buffer, 8), 0);
  EXPECT_EQ(std::string(buffer, 9), std::string("ZembraT\0x", 9));
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetConduitName(buffer, 0), 0);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(GetConduitName(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "ZembraToPalm");
  EXPECT_EQ(GetConduitName(nullptr, 8), -1);
}

// A name request record: version at byte 0, size at byte 4.
std::vector<uint8_t> NameRequest(uint32_t version, uint32_t size) {
  std::vector<uint8_t> record(84, 0);
  WriteLittle32(record, 0, version);
  WriteLittle32(record, 4, size);
  return record;
}

TEST(ConduitInfo, NameRequestIsCheckedThenAnswered) {
  TConduitTestComponent component;
  char out[32];
  uint32_t size = sizeof out;
  auto request = NameRequest(1, 80);
  EXPECT_EQ(GetConduitInfo(0, request.data(), out, &size), 0);
  EXPECT_STREQ(out, "ZembraToPalm");
  std::memset(out, 'x', sizeof out);
  size = 5;
  EXPECT_EQ(GetConduitInfo(0, request.data(), out, &size), 0);
  EXPECT_EQ(std::string(out, 6), std::string("Zemb\0x", 6));
  size = 0;
  out[0] = 'x';
  EXPECT_EQ(GetConduitInfo(0, request.data(), out, &size), 0);
  EXPECT_EQ(out[0], 'x');
  size = sizeof out;
  EXPECT_EQ(GetConduitInfo(0, nullptr, out, &size), 4212);
  auto wrong_size = NameRequest(1, 84);
  EXPECT_EQ(GetConduitInfo(0, wrong_size.data(), out, &size), 4213);
  auto wrong_version = NameRequest(2, 80);
  EXPECT_EQ(GetConduitInfo(0, wrong_version.data(), out, &size), 4213);
}

TEST(ConduitInfo, PointersAreCheckedBeforeTheInfoType) {
  TConduitTestComponent component;
  uint32_t value = 0;
  uint32_t size = 4;
  EXPECT_EQ(GetConduitInfo(3, nullptr, nullptr, &size), 4209);
  EXPECT_EQ(GetConduitInfo(3, nullptr, &value, nullptr), 4215);
  EXPECT_EQ(GetConduitInfo(3, nullptr, &value, &size), 4208);
  EXPECT_EQ(GetConduitInfo(-1, nullptr, &value, &size), 4208);
}

TEST(ConduitInfo, InterfaceVersionAndDefaultActionAreFourByteWords) {
  TConduitTestComponent component;
  uint8_t out[8] = {};
  uint32_t size = 8;
  EXPECT_EQ(GetConduitInfo(1, nullptr, out, &size), 4211);
  EXPECT_EQ(GetConduitInfo(2, nullptr, out, &size), 4211);
  size = 4;
  EXPECT_EQ(GetConduitInfo(1, nullptr, out, &size), 0);
  EXPECT_EQ(ReadLittle32(out, 0), 0x10000000u);
  std::memset(out, 0xFF, sizeof out);
  EXPECT_EQ(GetConduitInfo(2, nullptr, out, &size), 0);
  EXPECT_EQ(ReadLittle32(out, 0), 0u);
  EXPECT_EQ(out[4], 0xFF);
}

std::vector<std::string> g_progress;
void RecordProgress(const char* text) { g_progress.push_back(text); }

TEST(OpenConduit, HandlerGetsThePropertiesAndTheCallbackOnlyForTheCall) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  std::strcpy(properties.UserName, "Agent 7");
  std::string seen_user;
  component.OnExecConduit = [&](const TpfgSyncProperties& props) {
    seen_user = props.UserName;
    EXPECT_EQ(component.ProgressCallback, &RecordProgress);
  };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 0);
  EXPECT_EQ(seen_user, "Agent 7");
  EXPECT_EQ(component.ProgressCallback, nullptr);
}

TEST(OpenConduit, WithoutAHandlerNothingHappens) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 0);
  EXPECT_EQ(OpenConduit(&RecordProgress, nullptr), -1);
}

TEST(OpenConduit, SyncErrorsGiveTheirCodeAndOtherErrorsMinusOne) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  component.OnExecConduit = [](const TpfgSyncProperties&) { throw EPalmSyncError(16388); };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 16388);
  EXPECT_EQ(component.ProgressCallback, nullptr);
  component.OnExecConduit = [](const TpfgSyncProperties&) { throw Exception("broken"); };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), -1);
  component.OnExecConduit = [](const TpfgSyncProperties&) { throw EAbort(); };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), -1);
  component.OnExecConduit = [](const TpfgSyncProperties&) { throw 42; };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), -1);
  EXPECT_EQ(component.ProgressCallback, nullptr);
}

TEST(OpenConduit, AnEscapedErrorReachesTheInstalledHandlerAndNothingElse) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  std::vector<std::string> heard;
  SetUnhandledExceptionHandler([&heard](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& escaped) {
      heard.push_back(escaped.what());
    }
    throw Exception("a handler that fails must not reach the host");
  });
  component.OnExecConduit = [](const TpfgSyncProperties&) { throw Exception("broken"); };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), -1);
  component.OnExecConduit = [](const TpfgSyncProperties&) { throw EPalmSyncError(16388); };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 16388);
  SetUnhandledExceptionHandler(nullptr);
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 16388);
  EXPECT_EQ(heard, std::vector<std::string>{"broken"});
}

using OpenConduitLog = StandInTest;

TEST_F(OpenConduitLog, FailureAfterTheOpeningLineClosesTheLogWithActivity21) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  component.OnExecConduit = [&](const TpfgSyncProperties&) {
    component.LogLine("opening", 19);
    throw EPalmSyncError(16404);
  };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 16404);
  EXPECT_FALSE(component.SyncOpen());
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{"opening", "ZembraToPalm"}));
}

TEST_F(OpenConduitLog, HandlerLeavingTheLogOpenGetsAClosingLine) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  component.OnExecConduit = [&](const TpfgSyncProperties&) { component.LogLine("step", 19); };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 0);
  EXPECT_FALSE(component.SyncOpen());
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{"step", "ZembraToPalm"}));
}

TEST_F(OpenConduitLog, ClosedLogsAndAbortsGetNoExtraLine) {
  TConduitTestComponent component;
  TpfgSyncProperties properties{};
  component.OnExecConduit = [&](const TpfgSyncProperties&) {
    component.LogLine("step", 19);
    component.LogLine("closed", 20);
  };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), 0);
  component.OnExecConduit = [&](const TpfgSyncProperties&) {
    component.LogLine("failed", 21);
    throw Exception("after its own closing line");
  };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), -1);
  component.OnExecConduit = [&](const TpfgSyncProperties&) {
    component.LogLine("aborting", 19);
    throw EAbort();
  };
  EXPECT_EQ(OpenConduit(&RecordProgress, &properties), -1);
  EXPECT_TRUE(component.SyncOpen());
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{"step", "closed", "failed", "aborting"}));
}

}  // namespace
