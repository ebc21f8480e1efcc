#include "tools/handheld_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/cp1251.h"
#include "test_support/built_programs.h"
#include "test_support/scratch_directory.h"
#include "tools/device_connection.h"

namespace {

class HandheldCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = MissingFromBin(kDesktopStandIns);
    if (!missing.empty()) GTEST_SKIP() << "the desktop stand-in libraries are not built in ZP_BIN_DIR: " << missing;
    scratch_ = std::make_unique<TScratchDirectory>("zp-handheld");
    root_ = scratch_->Root();
    SetCurrentFormats(TFormatSettings{});
    connection_ = std::make_unique<TDeviceConnection>(BinDirectory(), scratch_->MakeDirectory("device"));
  }

  void TearDown() override {
    catalogue_.reset();
    connection_.reset();
    scratch_.reset();
  }

  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = (root_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::string Dump(const std::string& database) {
    std::ostringstream out;
    DumpDatabase(*catalogue_, database, out, "\r\n");
    return out.str();
  }

  std::unique_ptr<TScratchDirectory> scratch_;
  std::filesystem::path root_;
  std::unique_ptr<TDeviceConnection> connection_;
  std::unique_ptr<TPalmCatalogue> catalogue_ = std::make_unique<TPalmCatalogue>();
};

TEST_F(HandheldCommandsTest, LoadCreatesTheDatabaseAndDumpGivesTheRowsBack) {
  const std::string rows = "IdOrder;IdProduct;Quantity;Price\r\n1;320;8;46.02;\r\n2;192;3;993.77;\r\n";
  EXPECT_EQ(LoadDatabase(*catalogue_, "Zembra_OrderItemDB", WriteFile("items.txt", rows)), 2u);
  EXPECT_EQ(Dump("Zembra_OrderItemDB"), rows);

  std::ostringstream listing;
  EXPECT_EQ(ListDatabases((root_ / "device").string(), listing), 0);
  EXPECT_NE(listing.str().find("Zembra_OrderItemDB"), std::string::npos);
  EXPECT_NE(listing.str().find("ORDI Wqtz       0        2"), std::string::npos) << listing.str();
}

TEST_F(HandheldCommandsTest, LoadReplacesRecordsAndMatchesColumnsWithoutCase) {
  LoadDatabase(*catalogue_, "Zembra_OrderItemDB", WriteFile("a.txt", "IdOrder;IdProduct;Quantity;Price\n1;2;3;4;\n"));
  LoadDatabase(*catalogue_, "Zembra_OrderItemDB", WriteFile("b.txt", "price;IDORDER\n1.5;7;\n"));
  EXPECT_EQ(Dump("Zembra_OrderItemDB"), "IdOrder;IdProduct;Quantity;Price\r\n7;0;0;1.5;\r\n");
}

TEST_F(HandheldCommandsTest, TextsDatesAndTimesTravelUnchanged) {
  const std::string note = Ansi("Визит");
  const std::string rows =
      "ACTIONDATE;ACTIONTIME;IdRoute;IdCustomer;IdDoc;Action\r\n01.01.2024;10:00;36;61;0;" + note + ";\r\n";
  LoadDatabase(*catalogue_, "Zembra_ProtocolDB", WriteFile("p.txt", rows));
  EXPECT_EQ(Dump("Zembra_ProtocolDB"), rows);
}

TEST_F(HandheldCommandsTest, BadValueIsReportedBeforeTheDatabaseIsTouched) {
  LoadDatabase(*catalogue_, "Zembra_CashDB", WriteFile("ok.txt", "Id;Note\n1;kept;\n"));
  try {
    LoadDatabase(*catalogue_, "Zembra_CashDB", WriteFile("bad.txt", "Id;CashDate\n2;01.01.2024;\n3;31.02.2024;\n"));
    FAIL() << "a bad date must fail";
  } catch (const Exception& error) {
    EXPECT_EQ(std::string(error.what()), (root_ / "bad.txt").string() + ":3: '31.02.2024' is not a valid date");
  }
  EXPECT_NE(Dump("Zembra_CashDB").find(";kept;"), std::string::npos);
  EXPECT_THROW(LoadDatabase(*catalogue_, "Zembra_CashDB", WriteFile("col.txt", "Id;Nope\n1;2;\n")), Exception);
  EXPECT_THROW(LoadDatabase(*catalogue_, "Zembra_Unknown", WriteFile("u.txt", "Id\n1;\n")), Exception);
}

// A NUL byte would end the value on the handheld and shift every field after it; a record over
// the handheld's size used to fail only after the old records were purged.
TEST_F(HandheldCommandsTest, ANulByteOrARecordTooLargeIsRefusedBeforeTheDatabaseIsTouched) {
  const std::string header = "IdOrder;IdProduct;Quantity;Price\n";
  LoadDatabase(*catalogue_, "Zembra_OrderItemDB", WriteFile("ok.txt", header + "1;1;1;1;\n2;2;2;2;\n3;3;3;3;\n"));
  const std::string kept = Dump("Zembra_OrderItemDB");
  const auto message = [&](const std::string& name, const std::string& rows, const char* database) {
    try {
      LoadDatabase(*catalogue_, database, WriteFile(name, rows));
    } catch (const Exception& error) {
      return std::string(error.what());
    }
    return std::string("loaded");
  };
  EXPECT_EQ(message("nul.txt", "Id;Note;Summa\n4;ab" + std::string(1, '\0') + "cd;7;\n", "Zembra_CashDB"),
            (root_ / "nul.txt").string() + ":2: the value of Note holds a NUL byte");
  EXPECT_FALSE(std::filesystem::exists(root_ / "device" / "Zembra_CashDB.pdb"));
  EXPECT_EQ(
      message("big.txt", "Id;Note\n4;x;\n5;" + std::string(70000, 'n') + ";\n", "Zembra_CashDB"),
      (root_ / "big.txt").string() + ":3: the record takes 70043 bytes, more than the 65535 a handheld record holds");
  EXPECT_EQ(
      message("big-items.txt", header + "9;9;9;9;\n" + "nul;" + std::string(1, '\0') + ";\n", "Zembra_OrderItemDB"),
      (root_ / "big-items.txt").string() + ":3: the value of IdProduct holds a NUL byte");
  EXPECT_EQ(Dump("Zembra_OrderItemDB"), kept);
}

TEST_F(HandheldCommandsTest, DumpOfAMissingDatabaseFails) { EXPECT_THROW(Dump("Zembra_DocDB"), EPalmSyncError); }

}  // namespace
